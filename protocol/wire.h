#pragma once
// Pure helpers for the TOC2 wire: nothing here touches a socket, so the
// client, the development server, the tests and the benchmarks share them.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace toc {

// FLAP frame types.
enum FrameType : quint8 { SignOn = 1, Data = 2, FrameError = 3, SignOff = 4, KeepAlive = 5 };

constexpr int kFlapHeaderSize = 6;
constexpr int kMaxFrameData = 65535;
constexpr char kRoastString[] = "Tic/Toc";

// Lower case, every space (U+0020) removed; nothing else changes.
QString normalizeScreenName(const QString &name);

// Backslash-escapes \ $ " ( ) [ ] { } for a quoted command argument.
QString escapeArgument(const QString &text);

// Two bytes, high byte first; empty when n is outside 0..65535.
QByteArray wordToBytes(qint32 n);

// First byte * 256 + second byte; a missing byte counts as 0.
qint32 bytesToWord(QByteArrayView bytes);

// "0x" + two lower-case hex digits per byte of XOR with the roasting string.
QString roastPassword(const QByteArray &password);
// The inverse: the clear bytes, or an empty array with *ok false when the
// text is not "0x" followed by pairs of hex digits.
QByteArray unroastPassword(const QString &roasted, bool *ok = nullptr);

// A whole FLAP frame. Refuses (returns an empty array) data over 65535 bytes.
QByteArray buildFrame(quint8 type, quint16 sequence, const QByteArray &data);

// The client's sign-on frame data (FLAP version 1, tag 1, the name's length
// and the name) and its toc2_login line, shared by the client and the
// test and benchmark clients.
QByteArray signOnData(const QByteArray &screenName);
QString signOnLine(const QString &authHost, qint32 port, const QString &screenName,
                   const QString &roastedPassword);

// Splits at ':' into at most `limit` pieces (limit <= 0: no limit); the last
// piece keeps the rest of the line, colons included.
QStringList splitFields(const QString &line, int limit);

// Decimal conversion: optional '-', then digits only (leading zeros allowed),
// within the width. Anything else sets *ok to false.
qint16 toInt16(QStringView text, bool *ok);
qint32 toInt32(QStringView text, bool *ok);

// Server lines are UTF-8; a byte that does not start a valid sequence
// becomes the character with the same code, so nothing is lost.
QString decodeLine(QByteArrayView bytes);

// Cuts every <...> pair out of the text, left to right; no entity is decoded.
QString removeHtml(const QString &message);

} // namespace toc
