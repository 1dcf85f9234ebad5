#pragma once
// The message scan (one style for a whole incoming message), entity
// decoding of transcript runs, and the HTML prefix of outgoing text.

#include <QString>

struct FormatSettings;

// The style found in one incoming message. Colours are colour texts (decimal
// or "&H" form); strikethrough is never set on the incoming side.
struct MessageStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QString colorText = QStringLiteral("0");
    QString backColorText = QStringLiteral("16777215");
};

namespace render {

// Where the background colour is cut out once " bgcolor=" was found: the IM
// view splits at " bgcolor=" (with the space), the chat view at "bgcolor=".
enum class BackMarker { Spaced, Bare };

// Scans the raw HTML for bold/italic/underline tags and the first text and
// background colour; a marker that ends the text keeps the default colour.
MessageStyle scanMessage(const QString &message, BackMarker marker);

// "&lt;", "&gt;" and "&quot;" decoded, in that order; nothing else.
QString decodeEntities(QString text);

// A message as plain text, the way the transcript reads it: tags cut, the
// entities above decoded. Nothing is rendered, so nothing is fetched.
QString plainText(const QString &html);

// The prefix put before the user's typed text: "<b>" "<i>" "<s>" "<u>" as
// ticked, then the FONT and BODY tags from the settings.
QString outgoingPrefix(const FormatSettings &settings);

} // namespace render
