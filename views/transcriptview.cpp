#include "transcriptview.h"

#include "transcript.h"

#include <QAbstractTextDocumentLayout>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {
// Marks the first block of each message (a message may hold line breaks).
constexpr int kMessageStart = 1;

// A null page size stops the document's layout: text still goes in, but no
// line is broken or shaped until the view is shown again.
void stopLayout(QTextDocument *document) {
    document->setPageSize(QSizeF(0, 0));
}
} // namespace

TranscriptView::TranscriptView(QWidget *parent) : QTextEdit(parent) {
    stopLayout(document());
}

int TranscriptView::blockMark() const {
    return document()->blockCount() - 1;
}

void TranscriptView::messageAppended(int firstBlock) {
    QTextDocument *doc = document();
    doc->findBlockByNumber(firstBlock).setUserState(kMessageStart);
    if (doc->blockCount() > m_checkBlocks || doc->characterCount() > kKeptCharacters)
        dropOldest();
}

void TranscriptView::dropOldest() {
    QTextDocument *doc = document();
    // From the newest back: the first block of the oldest message that stays.
    int messages = 0;
    QTextBlock keepFrom;
    for (QTextBlock b = doc->lastBlock(); b.isValid(); b = b.previous()) {
        if (doc->characterCount() - b.position() > kLowCharacters)
            break;
        if (b.userState() == kMessageStart) {
            keepFrom = b;
            if (++messages == kLowMessages)
                break;
        }
    }
    if (keepFrom.isValid() && keepFrom.position() > 0) {
        QTextCursor cut(doc);
        cut.setPosition(keepFrom.position(), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        render::scrollToEnd(this);
    }
    m_checkBlocks = std::max(kKeptMessages, doc->blockCount() + kKeptMessages - kLowMessages);
}

void TranscriptView::showEvent(QShowEvent *event) {
    QTextEdit::showEvent(event);
    // Lays the document out again for the viewport's width (QTextEdit does
    // that on a change of width), all of it at once rather than in steps
    // from the top, so that the first paint shows the newest text.
    QResizeEvent resize(viewport()->size(), QSize(-1, -1));
    QTextEdit::resizeEvent(&resize);
    document()->documentLayout()->documentSize();
    render::scrollToEnd(this);
}

void TranscriptView::hideEvent(QHideEvent *event) {
    QTextEdit::hideEvent(event);
    stopLayout(document());
}

void TranscriptView::scrollContentsBy(int, int) {
    viewport()->update();
}
