#pragma once
// Splits one client command line the way the TOC2 servers people run do.
// Pure: no state, no I/O, safe on any input.
//
// The command word is everything up to the first space. The rest is read
// like a CSV record with a space as the separator and lenient quotes:
// spaces before an argument are skipped; an argument that starts with a
// double quote ends at a quote followed by a space or by the end of the line,
// even when a backslash stands before it ("say \"hi\" now" gives `say \"hi\`
// and `now"`); inside it "" is one quote and any other quote is kept; a CR LF
// pair becomes LF. Braces are ordinary characters. Nothing is unescaped here:
// which arguments are is up to each command (see unescapeArgument).

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace devserver {

struct Command {
    QString name;
    QString rest; // everything after the first space, as received
    QStringList args;
};

// False (and *out left empty) when the command word is empty: an empty line
// or one that starts with a space.
bool parseCommand(const QString &line, Command *out);

// The same on raw bytes: UTF-8, other bytes standing for themselves.
bool parseCommand(QByteArrayView line, Command *out);

// The arguments of `rest`, read as described above.
QStringList readArguments(QStringView rest);

// Removes each backslash and keeps the character after it; a backslash at
// the very end is dropped.
QString unescapeArgument(QStringView text);

// toc2_new_buddies takes the whole rest of the line as one text: one pair of
// surrounding quotes or braces removed, then unescaped. A quote inside does
// not cut it.
QString wholeText(QStringView rest);

} // namespace devserver
