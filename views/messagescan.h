#pragma once
// Entity decoding of the transcript's own runs, remote HTML as one plain
// text, and the HTML prefix of outgoing text.

#include <QString>

struct FormatSettings;

namespace render {

// "&lt;", "&gt;" and "&quot;" decoded, in that order; nothing else.
QString decodeEntities(QString text);

// A message as one plain text (a notification, a question, the history):
// tags cut, a line break ("\n") where a br tag stood, and every character
// reference decoded once. Nothing is rendered, so nothing is fetched.
QString plainText(const QString &html);

// The prefix put before the user's typed text: "<b>" "<i>" "<s>" "<u>" as
// ticked, then the FONT and BODY tags from the settings.
QString outgoingPrefix(const FormatSettings &settings);

} // namespace render
