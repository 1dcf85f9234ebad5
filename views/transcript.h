#pragma once
// Appending formatted runs to a conversation transcript (a read-only
// QTextEdit). Text only ever goes in through QTextCursor::insertText: nothing
// that arrives is interpreted as markup.

#include <QString>
#include <QTime>

class QTextEdit;

namespace render {

// No transcript limit (IM view) / the chat view's limit in characters.
constexpr int kNoLimit = -1;
constexpr int kChatLimit = 2000;

// Read-only, no undo stack (it would keep every insertion).
void setupTranscript(QTextEdit *TEXT);

// The number of characters the transcript holds (a line break counts one).
int transcriptLength(const QTextEdit *TEXT);

// Scrolls to the end, so the newest text is in view.
void scrollToEnd(QTextEdit *TEXT);

// How a message is shown: with the styles it was sent with or as plain
// text, and after the time it came (or was sent) when there is one.
struct MessageLook {
    bool styles = true;
    QTime time;
    // An automatic answer (an away message): the name says so.
    bool autoResponse = false;
    // Text smileys shown as emoji.
    bool smileys = true;
};

// "[hh:mm] " when the look has a time, the sender's name in bold blue (with
// " (auto-response)" after it for an automatic answer), then the body as the
// safe HTML reader shows it.
void showMessage(QTextEdit *TEXT, const QString &name, const QString &message,
                 const MessageLook &look, int limit);

} // namespace render

// Appends one run at the end of the transcript. With a limit >= 0 the
// transcript is first cleared when it holds more than limit characters. A
// colour text that does not convert becomes black in a run holding CR LF
// and otherwise keeps the colour in force at the end; an unconvertible
// background leaves the run without one.
void add_text2(QTextEdit *TEXT, const QString &text, const QString &colorText,
               const QString &backColorText, bool bold, bool italic, bool underline,
               bool strikethrough, const QString &fontName, int limit = render::kNoLimit);
