#pragma once
// What the server accepts as screen names, group names, aliases and room
// names. Everything that ends up inside a colon-separated server line or a
// line-feed-separated configuration record is checked here.

#include <QString>

namespace devserver {

constexpr int kMaxScreenName = 24;
constexpr int kMaxLabel = 64;
constexpr int kMaxNote = 255;

// A normalised screen name: 1..24 letters, digits, '.', '_', '-' or '@'.
bool isValidScreenName(const QString &normalized);

// Group names: 1..64 characters, no control characters; colons allowed
// (the group is the last field wherever it is sent).
bool isValidGroupName(const QString &group);

// Aliases, formatted names and room names: no control characters and no
// colon (they stand in the middle of server lines); at most 64 characters.
// Aliases may be empty; room names and formatted names may not.
bool isValidAlias(const QString &alias);
bool isValidRoomName(const QString &room);
bool isValidFormattedName(const QString &formatted);

// Buddy notes: the last field of their record, so colons are allowed; no
// control characters; at most kMaxNote characters; may be empty.
bool isValidNote(const QString &note);

} // namespace devserver
