#pragma once
// Spell checking in an input box: the underlines, and at the top of the
// box's own right-click menu the suggestions for a misspelt word and "Add
// to dictionary". The menu opens with a right click, the context-menu key
// or Shift+F10, for the word under the mouse or at the cursor.

#include <QTextCursor>

class QMenu;
class QPlainTextEdit;
class SpellChecker;

namespace spelling {

// Does nothing without a checker.
void attach(QPlainTextEdit *box, SpellChecker *checker);

// The box's standard menu, with the spelling entries for the word at
// `where` first when it is misspelt. The caller owns the menu.
QMenu *menuFor(QPlainTextEdit *box, SpellChecker *checker, const QTextCursor &where);

} // namespace spelling
