#pragma once
// How the history packs lines: the lines of one conversation written in one
// go (one line, or what a flood queued meanwhile) share one row, as one
// blob. A row per line would cost a flood more than the window's own work.
//
// Each line in a blob: the time (8 bytes, little-endian milliseconds since
// 1970 UTC), one byte of flags (bit 0 outgoing, bits 1-2 the kind), then
// the sender and the text, each a 4-byte little-endian length and that many
// bytes of UTF-8.

#include "historyline.h"

#include <QByteArray>
#include <QList>

namespace history {

// A line keeps at most this many bytes of text (UTF-8); a longer one is cut
// at a character and ends in kCutMark, which the limit includes.
inline constexpr qsizetype kMaxTextBytes = 64 * 1024;
inline constexpr char kCutMark[] = " [cut]";

void appendLine(QByteArray &chunk, const HistoryLine &line);

// The lines of a blob, oldest first, conversation left empty. A damaged
// blob gives the lines before the damage.
QList<HistoryLine> chunkLines(QByteArrayView chunk);

} // namespace history
