#pragma once
// The transcript line shown when a typed message could not be sent.

class QTextEdit;
class QelTOCSock;

namespace render {

// "Not sent: you are offline." when the connection is down, "Not sent."
// when it is up but the command was refused (for example too long).
void showNotSent(QTextEdit *TEXT, const QelTOCSock *toc, int limit);

} // namespace render
