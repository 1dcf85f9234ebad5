#pragma once
// The transcript line shown when a typed message could not be sent.

#include <QString>

class QTextEdit;
class QelTOCSock;

namespace render {

// "Not sent: you are offline." when the connection is down, "Not sent."
// when it is up but the command was refused (for example too long).
// Both return the text shown, for the history.
QString showNotSent(QTextEdit *TEXT, const QelTOCSock *toc, int limit);
// The same line with a reason of the caller's.
QString showNotSentText(QTextEdit *TEXT, const QString &text, int limit);

} // namespace render
