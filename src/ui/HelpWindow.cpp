#include "ui/HelpWindow.h"

#include "process/StandardError.h"
#include "config/Translation.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

// Both languages at once: the opener does not know which one the window speaks.
QString notShownText(const QUrl &url)
{
    const auto inBoth = [shown = url.toDisplayString(QUrl::PreferLocalFile)](const char *source) {
        const QString both = Translation::text(Language::english(), "HelpWindow", source) + QLatin1Char('\n')
            + Translation::text(Language::french(), "HelpWindow", source);
        return both.arg(shown);
    };
    if (url.isLocalFile())
        return inBoth(QT_TRANSLATE_NOOP("HelpWindow", "The help page %1 is missing: reinstall Orvantis, or copy "
                                                      "orvantis_en.htm and orvantis_fr.htm beside the program."));
    return inBoth(QT_TRANSLATE_NOOP("HelpWindow", "No program on this computer opens %1: copy the address into a web "
                                                  "browser, or install xdg-utils and a browser."));
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
