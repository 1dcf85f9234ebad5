#include "transcriptedit.h"

#include "uikit/contextmenus.h"
#include "weblinks.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QTextDocumentFragment>

TranscriptEdit::TranscriptEdit(QWidget *parent) : QTextEdit(parent) {}

QMimeData *TranscriptEdit::createMimeDataFromSelection() const {
    QString text = textCursor().selection().toPlainText();
    text.remove(QChar(0x200B));
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}

void TranscriptEdit::buildMenu() {
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnuTranscript"));
    m_copy = m_menu->addAction(QStringLiteral("Copy"), this, &QTextEdit::copy);
    m_copy->setObjectName(QStringLiteral("mnuCopy"));
    QAction *all = m_menu->addAction(QStringLiteral("Select All"), this, &QTextEdit::selectAll);
    all->setObjectName(QStringLiteral("mnuSelectAll"));
    m_copyLink = m_menu->addAction(QStringLiteral("Copy Link"), this,
                                   [this] { QGuiApplication::clipboard()->setText(m_link); });
    m_copyLink->setObjectName(QStringLiteral("mnuCopyLink"));
}

void TranscriptEdit::contextMenuEvent(QContextMenuEvent *event) {
    if (!m_menu)
        buildMenu();
    const bool mouse = event->reason() == QContextMenuEvent::Mouse;
    // A key asks about the text cursor, kept at the end of a transcript
    // unless the user selected something.
    const QPoint cursorPlace = cursorRect().center();
    const QPoint at = mouse ? viewport()->mapFromGlobal(event->globalPos()) : cursorPlace;
    // Only an address the reader accepts is offered, as a click would open it.
    const QUrl target = render::linkTarget(anchorAt(at));
    m_link = target.isValid() ? target.toString() : QString();
    m_copyLink->setVisible(!m_link.isEmpty());
    m_copy->setEnabled(textCursor().hasSelection());
    m_menu->popup(contextmenus::placeOf(event, viewport(), cursorPlace));
}
