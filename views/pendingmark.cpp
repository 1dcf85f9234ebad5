#include "pendingmark.h"

#include "notsent.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace render {
namespace {

constexpr int kTagProperty = QTextFormat::UserProperty + 1;
int g_lastTag = 0;

bool tagged(const QTextBlock &block, int tag) {
    return block.isValid() && block.blockFormat().intProperty(kTagProperty) == tag;
}

void setTag(const QTextBlock &block, int tag) {
    QTextBlockFormat format = block.blockFormat();
    if (tag)
        format.setProperty(kTagProperty, tag);
    else
        format.clearProperty(kTagProperty);
    QTextCursor(block).setBlockFormat(format);
}

} // namespace

QTextCursor appendPoint(QTextEdit *TEXT) {
    QTextCursor at(TEXT->document());
    at.movePosition(QTextCursor::End);
    at.setKeepPositionOnInsert(true);
    return at;
}

PendingMark showSending(QTextEdit *TEXT, QTextCursor from, int limit) {
    showNotSentText(TEXT, QStringLiteral("sending..."), limit);
    // The note ends with a line break: its block is the one before the last.
    const QTextBlock mark = TEXT->document()->lastBlock().previous();
    PendingMark pending{from, QTextCursor(mark), ++g_lastTag};
    setTag(mark, pending.tag);
    if (!from.isNull() && from.block() != mark)
        setTag(from.block(), pending.tag);
    return pending;
}

void clearPending(const PendingMark &pending) {
    const QTextBlock mark = pending.mark.block();
    if (!tagged(mark, pending.tag))
        return;
    const QTextBlock first =
        tagged(pending.from.block(), pending.tag) ? pending.from.block() : mark;
    // Untagged first, so that no tag outlives its lines in a merged block.
    setTag(first, 0);
    setTag(mark, 0);
    // With the line break before the lines (or after them, at the top).
    const int end = mark.position() + mark.length() - 1;
    QTextCursor cut(pending.mark.document());
    if (first.position() > 0) {
        cut.setPosition(first.position() - 1);
        cut.setPosition(end, QTextCursor::KeepAnchor);
    } else {
        cut.setPosition(first.position());
        cut.setPosition(qMin(end + 1, mark.document()->characterCount() - 1),
                        QTextCursor::KeepAnchor);
    }
    cut.removeSelectedText();
}

QString pendingNotSent(QTextEdit *TEXT, const PendingMark &pending, const QString &text,
                       int limit) {
    const QTextBlock mark = pending.mark.block();
    if (!tagged(mark, pending.tag))
        return showNotSentText(TEXT, text, limit);
    if (tagged(pending.from.block(), pending.tag))
        setTag(pending.from.block(), 0);
    setTag(mark, 0);
    QTextCursor line(mark);
    const QTextCharFormat format = QTextCursor(mark).charFormat();
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    line.insertText(text, format);
    return text;
}

} // namespace render
