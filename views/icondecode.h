#pragma once
// Decoding a buddy icon whatever the server sends: only the formats an icon
// comes in (PNG, JPEG, GIF, BMP; never SVG, whose cost has no bound), the
// size the header declares read first and anything over 1,024 pixels on a
// side refused, and the picture scaled down while it is decoded to the
// size it is shown at. Safe to run on any thread.

#include <QByteArray>
#include <QImage>

namespace icon {

constexpr int kMaxDeclaredSide = 1024;
// The largest picture kept: the icon is shown 32 pixels square, twice that
// on a high-density screen.
constexpr int kKeptSide = 64;

// A null image when the bytes are not such a picture or declare too much.
QImage decode(const QByteArray &bytes);

// The body of an HTTP reply (after its first empty line), decoded; a null
// image when the reply has no empty line.
QImage fromReply(const QByteArray &reply);

} // namespace icon
