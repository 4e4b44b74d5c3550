#include "ui/AboutBox.h"

#include "config/ProgramIdentity.h"
#include "ui/ApplicationIcon.h"
#include "ui/DonationPicture.h"
#include "ui/LinkLabel.h"
#include "ui/ReadableText.h"
#include "ui/UrlOpener.h"

#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString MakerShortName = QStringLiteral("Orvantis");
const QString MakerFullName = QStringLiteral("The Orvantis developers");
const QString MakerWebPage = QStringLiteral("https://orvantis.example.org/");
const QString DonationPage = QStringLiteral("https://orvantis.example.org/donate");

constexpr QSize DesignSize(289, 396);
constexpr int BannerPixelSize = 53;

QFont arialBold15()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(15);
    font.setBold(true);
    return font;
}

QLabel *centredLabel(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setFont(arialBold15());
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Fonts standing in for Arial Black are often wider; the banner shrinks rather
// than stretch the box past its designed width.
QFont bannerFont(const QString &text, int availableWidth)
{
    QFont font(QStringLiteral("Arial Black"));
    font.setBold(true);
    font.setItalic(true);
    for (int size = BannerPixelSize; size > 12; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).horizontalAdvance(text) <= availableWidth)
            break;
    }
    return font;
}

} // namespace

AboutBox::AboutBox(UrlOpener &opener, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("FormInfo"));
    setWindowTitle(QStringLiteral("FormInfo"));
    setWindowIcon(applicationIcon());

    auto *labelUrl3 = new TLabelUrl(m_opener, this);
    labelUrl3->setObjectName(QStringLiteral("LabelUrl3"));
    QFont linkFont = arialBold15();
    linkFont.setUnderline(true);
    labelUrl3->setFont(linkFont);
    labelUrl3->setAlignment(Qt::AlignCenter);
    labelUrl3->setUrl(MakerWebPage);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createPanel1());
    layout->addWidget(createTitleRow());
    layout->addWidget(centredLabel(QStringLiteral("Label2"), MakerFullName, this));
    layout->addWidget(labelUrl3);
    layout->addWidget(createSpeedButton1(), 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addWidget(createBitBtn1(), 0, Qt::AlignHCenter);
    resize(DesignSize);
}

void AboutBox::showAbout()
{
    m_label1->setText(ProductWord + VersionText);
    show();
    raise();
    activateWindow();
}

void AboutBox::BitBtn1Click()
{
    hide();
}

void AboutBox::SpeedButton1Click()
{
    m_opener.open(QUrl(DonationPage));
}

QWidget *AboutBox::createPanel1()
{
    auto *panel1 = new QFrame(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1->setLineWidth(2);
    auto *banner = new QLabel(MakerShortName, panel1);
    banner->setAlignment(Qt::AlignCenter);
    new ReadableText(banner, Qt::gray);
    auto *inside = new QVBoxLayout(panel1);
    constexpr int insideMargin = 4;
    inside->setContentsMargins(insideMargin, insideMargin, insideMargin, insideMargin);
    const int windowMargin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    banner->setFont(bannerFont(MakerShortName,
                               DesignSize.width() - 2 * (windowMargin + panel1->frameWidth() + insideMargin)));
    inside->addWidget(banner);
    return panel1;
}

QWidget *AboutBox::createTitleRow()
{
    auto *row = new QWidget(this);
    auto *image1 = new QLabel(row);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(applicationIcon().pixmap(QSize(32, 32)));
    image1->setFixedSize(32, 32);
    m_label1 = centredLabel(QStringLiteral("Label1"), ProductWord, row);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(QMargins());
    layout->addWidget(image1);
    layout->addWidget(m_label1, 1);
    // Keeps Label1 centred on the box, not on what the icon leaves of the row.
    layout->addSpacing(32);
    return row;
}

QWidget *AboutBox::createSpeedButton1()
{
    auto *speedButton1 = new QToolButton(this);
    speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1->setFixedSize(100, 113);
    QIcon face;
    for (const qreal ratio : {1.0, 2.0})
        face.addPixmap(donationPicture(ratio));
    speedButton1->setIcon(face);
    speedButton1->setIconSize(DonationPictureSize);
    speedButton1->setAutoRaise(true);
    speedButton1->setCursor(Qt::PointingHandCursor);
    connect(speedButton1, &QToolButton::clicked, this, &AboutBox::SpeedButton1Click);
    return speedButton1;
}

QWidget *AboutBox::createBitBtn1()
{
    auto *bitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
    bitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    bitBtn1->setDefault(true);
    connect(bitBtn1, &QPushButton::clicked, this, &AboutBox::BitBtn1Click);
    return bitBtn1;
}
