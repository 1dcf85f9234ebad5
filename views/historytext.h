#pragma once
// How the history window shows its lines, as one plain text: each line with
// its time and sender, the lines its text holds set in under it (so no text
// can pass for a line of its own), remote text shown as it is everywhere.
// A long line is cut into paragraphs of at most kParagraph characters: the
// window lays out only the paragraphs on screen, and a paragraph costs the
// same whatever its characters.

#include "client/historyline.h"

#include <QList>
#include <QString>

namespace render {

// The most characters a paragraph of the history holds.
inline constexpr qsizetype kParagraph = 1000;
// What starts every paragraph of a line but its first.
inline constexpr char kSetIn[] = "    ";

// One line: "yyyy-MM-dd hh:mm:ss  sender: text", its text's line breaks
// ("\n", CR LF, CR) kept as "\n".
QString historyEntry(const HistoryLine &line);

// The lines of a page, oldest first, as the window shows them.
QString historyPageText(const QList<HistoryLine> &lines);

} // namespace render
