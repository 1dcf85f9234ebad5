#pragma once
// What the user reads when a command could not be sent.

#include <QString>

class QelTOCSock;

// "Not sent: you are offline." when the connection is down (or there is
// none), "Not sent." when it is up but the command was refused (for
// example too long).
QString notSentText(const QelTOCSock *toc);
// The reason when the line would be longer than servers take.
inline QString tooLongText(const QString &what) {
    return QStringLiteral("Not sent: the %1 is too long.").arg(what);
}
// The server refused the line: it was sent faster than it takes.
inline QString speedLimitText() {
    return QStringLiteral("Not sent: the server's speed limit.");
}
