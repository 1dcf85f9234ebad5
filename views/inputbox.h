#pragma once
// The conversation input box: the user's formatting applied to it, the
// keys that send, and the typed text as it is sent.

#include <QString>
#include <functional>

class QPlainTextEdit;
struct FormatSettings;

namespace render {

// Bold, italic, strikethrough and underline from the settings.
void applyStyleFlags(QPlainTextEdit *box, const FormatSettings &settings);
// Each returns false (and changes nothing) when the setting cannot be
// applied: a colour text that is not a number, an empty font name.
bool applyTextColor(QPlainTextEdit *box, const QString &colorText);
bool applyBackColor(QPlainTextEdit *box, const QString &colorText);
bool applyFontName(QPlainTextEdit *box, const QString &fontName);

// Enter (alone) calls send; Shift+Enter puts a line break in the box. A
// paste never sends: its line breaks stay in the box as typed ones.
void sendOnEnter(QPlainTextEdit *box, std::function<void()> send);

// The typed text as HTML that shows it as typed: "&", "<" and ">" as
// entities, each line break as "<br>". (Quotes are the wire's business.)
QString typedAsHtml(const QString &typed);

// A typed text that was not sent goes back into the box; a draft typed
// since stays after it, on its own line.
void putBack(QPlainTextEdit *box, const QString &typed);

} // namespace render
