#pragma once
// The text smileys people type (":-)", ";-)", "8-)", ...) and the emoji a
// transcript shows for them. A smiley counts only where it stands apart:
// after the start of the text, a space or an opening bracket, and before
// the end, a space or closing punctuation. So "a:)b", "x:)" and the ":/"
// of an address stay text. Only what is shown changes: the message keeps
// what was typed.

#include <QList>
#include <QStringView>

namespace render {

struct SmileyAt {
    qsizetype start;
    qsizetype length;
    QStringView emoji;
};

// The smileys in text, in order. before is the character shown just
// before text (a space when text starts a line).
QList<SmileyAt> findSmileys(QStringView text, QChar before = u' ');

} // namespace render
