#pragma once
// The grey "sending..." line under a line of ours that waits for the
// server's pace. When the line leaves, the mark goes (for a room line, the
// line's own text goes with it: the server's echo shows it as sent); when
// it is not sent, the mark becomes the "Not sent" line. The marks are
// found again by a tag on their blocks, so a transcript that was cleared
// or trimmed meanwhile is never cut in the wrong place.

#include <QString>
#include <QTextCursor>

class QTextEdit;

namespace render {

struct PendingMark {
    QTextCursor from; // where the waiting line's own text starts
    QTextCursor mark; // the "sending..." line
    int tag = 0;
};

// A cursor at the end of the transcript that stays before what is
// appended next: pass it to showSending as `from`.
QTextCursor appendPoint(QTextEdit *TEXT);
// Appends the mark. With a null `from`, only the mark goes when the line
// leaves.
PendingMark showSending(QTextEdit *TEXT, QTextCursor from, int limit);
// The line left.
void clearPending(const PendingMark &pending);
// The line was not sent: the mark becomes the text, or the text is
// appended when the mark is gone. Returns the text.
QString pendingNotSent(QTextEdit *TEXT, const PendingMark &pending, const QString &text, int limit);

} // namespace render
