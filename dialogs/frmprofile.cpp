#include "frmprofile.h"

#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "views/safehtml.h"
#include "views/transcriptedit.h"
#include "views/transcriptlinks.h"

#include <QShortcut>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

frmProfile::frmProfile(QWidget *owner, std::function<void(const QString &)> say)
    : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("frmProfile"));
    setWindowTitle(QStringLiteral("Profile"));
    if (owner)
        setWindowIcon(owner->windowIcon());
    resize(twips::toPixelsX(5400), twips::toPixelsY(4200));
    // Esc closes it, as it closes any window that only shows something.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    m_page = new TranscriptEdit(this);
    m_page->setObjectName(QStringLiteral("txtProfilePage"));
    m_page->setReadOnly(true);
    m_page->setUndoRedoEnabled(false);
    m_page->setAcceptRichText(false);
    new TranscriptLinks(m_page, std::move(say));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_page);
}

void frmProfile::showPage(const QUrl &, const QString &html) {
    // One edit: the page is laid out once, not again after every run that
    // goes in (a page open on screen would be laid out a thousand times).
    QTextCursor cursor(m_page->document());
    cursor.beginEditBlock();
    m_page->clear();
    render::appendHtml(cursor, html, QTextCharFormat(), {render::HtmlOptions::Kind::Page, true});
    cursor.endEditBlock();
    m_page->moveCursor(QTextCursor::Start);
    present();
}

void frmProfile::showFailure(const QUrl &url, const QString &reason) {
    m_page->setPlainText(QStringLiteral("The profile could not be read from %1: %2")
                             .arg(shown::line(url.toDisplayString()), shown::line(reason)));
    present();
}

void frmProfile::present() {
    show();
    raise();
}
