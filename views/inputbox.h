#pragma once
// The conversation input box: the user's formatting applied to it, and the
// line break that sends.

#include <QString>

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

// Whether the box's text holds a line break (Enter or a pasted one).
bool hasLineBreak(const QString &text);
// Every line break written as CR LF / removed.
QString withCrLf(const QString &text);
QString withoutLineBreaks(const QString &text);
// A message that could not be sent stays in its box, without the line
// break that sent it, so the next key does not send it again.
void keepDraft(QPlainTextEdit *box);

} // namespace render
