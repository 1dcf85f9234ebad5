#pragma once
// What a dialog may show of a remote text. A question is read at a glance
// and must fit on the screen with its buttons: a name or a message is cut
// (with an ellipsis), and a whole dialog text is bounded in characters and
// lines, with a break opportunity in every long word so that it wraps.

#include <QString>

namespace dialogtext {

// How much of a room name, a person's name and a message a question shows.
constexpr qsizetype kMaxRoom = 200;
constexpr qsizetype kMaxName = 200;
constexpr qsizetype kMaxMessage = 1000;

// The first max characters and "…", or the text when it is not longer.
QString cut(const QString &text, qsizetype max);

// A dialog's whole text: at most kMaxText characters and kMaxLines lines.
constexpr qsizetype kMaxText = 2000;
constexpr int kMaxLines = 24;
QString fitted(const QString &text);

} // namespace dialogtext
