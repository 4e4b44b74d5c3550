#include "ui/HelpWindow.h"

#include "config/StandardError.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Both languages at once: the opener does not know which one the window speaks.
QString notShownText(const QUrl &url)
{
    const QString shown = url.toDisplayString(QUrl::PreferLocalFile);
    if (url.isLocalFile())
        return QStringLiteral("The help page %1 is missing: reinstall Orvantis, or copy orvantis_en.htm and "
                              "orvantis_fr.htm beside the program.\nLa page d'aide %1 est absente : réinstallez "
                              "Orvantis, ou copiez orvantis_en.htm et orvantis_fr.htm à côté du programme.")
            .arg(shown);
    return QStringLiteral("No program on this computer opens %1: copy the address into a web browser, or install "
                          "xdg-utils and a browser.\nAucun programme de cet ordinateur n'ouvre %1 : copiez "
                          "l'adresse dans un navigateur web, ou installez xdg-utils et un navigateur.")
        .arg(shown);
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("HelpWindow"));
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Web links still go to the desktop; the pages' own anchors stay here.
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->addWidget(m_browser);
    resize(720, 640);
}

void HelpWindow::showPage(const QUrl &url)
{
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) {
        m_browser->setSource(url);
        setWindowTitle(m_browser->documentTitle());
    } else {
        const QString text = notShownText(url);
        writeStandardErrorLine(text);
        m_browser->setPlainText(text);
        setWindowTitle(QStringLiteral("ORVANTIS"));
    }
    show();
    raise();
    activateWindow();
}
