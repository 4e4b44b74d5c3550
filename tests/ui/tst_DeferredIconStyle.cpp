// Standard icons through the program's style: no image file is read (and no
// image-format plugin loaded) until an icon is drawn, and then it shows the
// base style's pixels at every scale.
#include "ui/DeferredIconStyle.h"

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>
#include <QtTest>

Q_DECLARE_METATYPE(QStyle::StandardPixmap)

class TestDeferredIconStyle : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void menuBarLoadsNoImagePlugin();
    void iconsShowTheBaseStylePixels_data();
    void iconsShowTheBaseStylePixels();

private:
    QString m_baseName;
};

namespace {

bool imagePluginLoaded()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

} // namespace

void TestDeferredIconStyle::initTestCase()
{
    m_baseName = QApplication::style()->name();
    QApplication::setStyle(new DeferredIconStyle(m_baseName));
    QVERIFY(!imagePluginLoaded());
}

// The menu bar asks for its overflow arrow when it is built.
void TestDeferredIconStyle::menuBarLoadsNoImagePlugin()
{
    QWidget window;
    auto *bar = new QMenuBar(&window);
    bar->addAction(QStringLiteral("Quit"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!imagePluginLoaded());
}

void TestDeferredIconStyle::iconsShowTheBaseStylePixels_data()
{
    QTest::addColumn<QStyle::StandardPixmap>("which");
    QTest::addColumn<qreal>("scale");
    for (const qreal scale : {1.0, 2.0}) {
        QTest::addRow("overflow arrow at %g", scale) << QStyle::SP_ToolBarHorizontalExtensionButton << scale;
        QTest::addRow("warning at %g", scale) << QStyle::SP_MessageBoxWarning << scale;
        QTest::addRow("OK button at %g", scale) << QStyle::SP_DialogOkButton << scale;
    }
}

void TestDeferredIconStyle::iconsShowTheBaseStylePixels()
{
    QFETCH(QStyle::StandardPixmap, which);
    QFETCH(qreal, scale);
    const std::unique_ptr<QStyle> base(QStyleFactory::create(m_baseName));
    QVERIFY(base);
    const QIcon deferred = QApplication::style()->standardIcon(which);
    const QIcon direct = base->standardIcon(which);
    QVERIFY(!deferred.isNull());
    QCOMPARE(deferred.availableSizes(), direct.availableSizes());
    QCOMPARE(deferred.actualSize(QSize(32, 32)), direct.actualSize(QSize(32, 32)));

    const QPixmap shown = deferred.pixmap(QSize(32, 32), scale);
    const QPixmap expected = direct.pixmap(QSize(32, 32), scale);
    QCOMPARE(shown.devicePixelRatio(), expected.devicePixelRatio());
    QCOMPARE(shown.toImage(), expected.toImage());

    // Painted into a rectangle, as buttons and message boxes draw it.
    QImage painted(48, 48, QImage::Format_ARGB32_Premultiplied);
    QImage reference = painted;
    painted.fill(Qt::transparent);
    reference.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        deferred.paint(&painter, QRect(8, 8, 32, 32));
        QPainter referencePainter(&reference);
        direct.paint(&referencePainter, QRect(8, 8, 32, 32));
    }
    QCOMPARE(painted, reference);
}

QTEST_MAIN(TestDeferredIconStyle)
#include "tst_DeferredIconStyle.moc"
