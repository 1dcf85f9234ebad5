#include "historychunk.h"

#include <QStringEncoder>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace history {
namespace {

constexpr int kKinds = 3;

void appendText(QByteArray &chunk, QStringView text, qsizetype maxBytes) {
    // Every UTF-16 unit but a high surrogate takes at least a byte, so
    // maxBytes + 2 units are enough to tell a text that needs cutting; each
    // takes at most 3.
    text = text.first(std::min(text.size(), maxBytes + 2));
    const qsizetype start = chunk.size();
    chunk.resize(start + 4 + text.size() * 3);
    QStringEncoder utf8(QStringEncoder::Utf8);
    char *const body = chunk.data() + start + 4;
    qsizetype size = utf8.appendToBuffer(body, text) - body;
    if (size > maxBytes) {
        constexpr qsizetype mark = sizeof kCutMark - 1;
        size = maxBytes - mark;
        while (size > 0 && (quint8(body[size]) & 0xC0) == 0x80)
            --size; // not inside a character
        std::memcpy(body + size, kCutMark, mark);
        size += mark;
    }
    qToLittleEndian<quint32>(quint32(size), chunk.data() + start);
    chunk.truncate(start + 4 + size);
}

bool readText(QByteArrayView chunk, qsizetype &at, QString &out) {
    if (chunk.size() - at < 4)
        return false;
    const quint32 size = qFromLittleEndian<quint32>(chunk.data() + at);
    at += 4;
    if (quint64(chunk.size() - at) < size)
        return false;
    out = QString::fromUtf8(chunk.data() + at, qsizetype(size));
    at += size;
    return true;
}

} // namespace

void appendLine(QByteArray &chunk, const HistoryLine &line) {
    char head[9];
    qToLittleEndian<qint64>(line.at, head);
    head[8] = char((line.outgoing ? 1 : 0) | (int(line.kind) << 1));
    chunk.append(head, sizeof head);
    appendText(chunk, line.sender, kMaxTextBytes);
    appendText(chunk, line.text, kMaxTextBytes);
}

QList<HistoryLine> chunkLines(QByteArrayView chunk) {
    QList<HistoryLine> lines;
    qsizetype at = 0;
    while (chunk.size() - at >= 9) {
        HistoryLine line;
        line.at = qFromLittleEndian<qint64>(chunk.data() + at);
        const int flags = quint8(chunk[at + 8]);
        at += 9;
        line.outgoing = flags & 1;
        line.kind = HistoryLine::Kind(std::min((flags >> 1) & 3, kKinds - 1));
        if (!readText(chunk, at, line.sender) || !readText(chunk, at, line.text))
            break;
        lines.append(std::move(line));
    }
    return lines;
}

} // namespace history
