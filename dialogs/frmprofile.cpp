#include "frmprofile.h"

#include "uikit/twips.h"

#include <QDesktopServices>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
// A browser that loads nothing by itself: a profile's pictures and style
// sheets would tell a remote server who reads it, and when.
class OfflineBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl &) override { return QVariant(); }
};
} // namespace

frmProfile::frmProfile(QWidget *owner) : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("frmProfile"));
    setWindowTitle(QStringLiteral("Profile"));
    if (owner)
        setWindowIcon(owner->windowIcon());
    resize(twips::toPixelsX(5400), twips::toPixelsY(4200));
    // Esc closes it, as it closes any window that only shows something.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    m_browser = new OfflineBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtProfilePage"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [](const QUrl &link) {
        if (link.scheme() == QLatin1String("http") || link.scheme() == QLatin1String("https"))
            QDesktopServices::openUrl(link);
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

void frmProfile::showPage(const QUrl &, const QString &html) {
    m_browser->setHtml(html);
    present();
}

void frmProfile::showFailure(const QUrl &url, const QString &reason) {
    m_browser->setPlainText(QStringLiteral("The profile could not be read from %1: %2")
                                .arg(url.toDisplayString(), reason));
    present();
}

void frmProfile::present() {
    show();
    raise();
}
