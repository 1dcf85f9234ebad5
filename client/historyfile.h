#pragma once
// Where the conversation history of a screen name is kept: one SQLite file
// per screen name under the standard per-user data location (XDG_DATA_HOME
// is honoured), named after the normalised screen name.

#include <QString>

namespace history {

// The folder holding the history files.
QString folder();

// A file name safe on every file system for the screen name: the
// normalised name with anything but a-z, 0-9, '-' and '_' written as
// "%XX" bytes of its UTF-8 form; a long one is cut and given a hash.
QString fileNameFor(const QString &screenName);

// folder() + "/" + fileNameFor(screenName)
QString pathFor(const QString &screenName);

// The table and its index, for the writer and for tests.
extern const char *const kSchema[];

} // namespace history
