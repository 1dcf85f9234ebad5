#include "transcriptview.h"

#include "transcript.h"

#include <QAbstractTextDocumentLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
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

TranscriptView::TranscriptView(QWidget *parent) : TranscriptEdit(parent) {
    stopLayout(document());
}

int TranscriptView::blockMark() const {
    return document()->blockCount() - 1;
}

void TranscriptView::messageAppended(int firstBlock) {
    document()->findBlockByNumber(firstBlock).setUserState(kMessageStart);
    m_resumeAt = kAtEnd; // a message brings the newest text into view
    if (!overLimits())
        return;
    const QTextBlock keepFrom = oldestKept();
    // Within a batch, a cut among its own new messages goes at once: they
    // are dropped before anything lays them out. A cut among older ones
    // waits for the batch's layout, which then covers only the new text,
    // unless the batch grows on past the limits.
    if (!m_batching || keepFrom.blockNumber() >= m_batchFirstBlock) {
        removeBefore(keepFrom);
    } else {
        m_trimDue = true;
        checkAgainAfterBatch();
    }
}

void TranscriptView::checkAgainAfterBatch() {
    m_checkBlocks = document()->blockCount() + kKeptMessages - kLowMessages;
    m_checkCharacters = document()->characterCount() + kKeptCharacters - kLowCharacters;
}

void TranscriptView::batchThisPass() {
    // Hidden, nothing is laid out: there is nothing to put together.
    if (m_batching || !isVisible())
        return;
    m_batching = true;
    m_batchFirstBlock = blockMark();
    m_batch = QTextCursor(document());
    m_batch.beginEditBlock();
    QTimer::singleShot(0, this, &TranscriptView::endBatch);
}

void TranscriptView::endBatch() {
    m_batching = false;
    m_removedInBatch = 0;
    m_batch.endEditBlock();
    m_batch = QTextCursor();
    if (m_trimDue)
        removeBefore(oldestKept());
    render::scrollToEnd(this);
}

bool TranscriptView::overLimits() const {
    return document()->blockCount() > m_checkBlocks ||
           document()->characterCount() > m_checkCharacters;
}

// From the newest back: the first block of the oldest message that stays.
QTextBlock TranscriptView::oldestKept() const {
    const QTextDocument *doc = document();
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
    return keepFrom;
}

void TranscriptView::removeBefore(const QTextBlock &keepFrom) {
    if (keepFrom.isValid() && keepFrom.position() > 0) {
        const int removed = keepFrom.position();
        QTextCursor cut(document());
        cut.setPosition(removed, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        render::scrollToEnd(this);
        // The document frees removed text only once no edit block is open:
        // a long batch is closed and opened again now and then.
        m_removedInBatch += m_batching ? removed : 0;
        if (m_removedInBatch > kKeptCharacters) {
            m_removedInBatch = 0;
            m_batch.endEditBlock();
            m_batch.beginEditBlock();
        }
    }
    // Whatever stays of a batch now is its own new text.
    m_batchFirstBlock = 0;
    m_trimDue = false;
    checkAgainAfterBatch();
    m_checkBlocks = std::max(kKeptMessages, m_checkBlocks);
    m_checkCharacters = kKeptCharacters;
}

void TranscriptView::showEvent(QShowEvent *event) {
    QTextEdit::showEvent(event);
    // Lays the document out again for the viewport's width (QTextEdit does
    // that on a change of width), all of it at once rather than in steps
    // from the top, so that the first paint shows the newest text.
    QResizeEvent resize(viewport()->size(), QSize(-1, -1));
    QTextEdit::resizeEvent(&resize);
    document()->documentLayout()->documentSize();
    if (m_resumeAt == kAtEnd)
        render::scrollToEnd(this);
    else
        verticalScrollBar()->setValue(m_resumeAt);
}

void TranscriptView::hideEvent(QHideEvent *event) {
    QTextEdit::hideEvent(event);
    // Where the reader was, unless at the end (where new text keeps it).
    const QScrollBar *bar = verticalScrollBar();
    m_resumeAt = bar->value() == bar->maximum() ? kAtEnd : bar->value();
    stopLayout(document());
}

void TranscriptView::scrollContentsBy(int, int) {
    viewport()->update();
}
