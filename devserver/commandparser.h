#pragma once
// Splits one client command line into its command word and arguments.
// Pure: no state, no I/O, safe on any input.
//
// Arguments are separated by spaces. An argument that starts with a double
// quote runs to the next unescaped double quote; inside it a backslash makes
// the next character literal. An argument that starts with "{" runs to the
// matching "}" and is taken literally (nested braces are counted). Anything
// else is a bare word up to the next space.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace devserver {

struct Command {
    QString name;
    QStringList args;
};

// False (and *out left empty) for an empty line, an unterminated quote or
// brace, or a line that does not start with a bare command word.
bool parseCommand(const QString &line, Command *out);

// The same on raw bytes: UTF-8, other bytes standing for themselves.
bool parseCommand(QByteArrayView line, Command *out);

} // namespace devserver
