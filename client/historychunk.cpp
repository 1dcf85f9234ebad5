#include "historychunk.h"

#include <QStringEncoder>
#include <QtEndian>
#include <algorithm>

namespace history {
namespace {

constexpr int kKinds = 3;

void appendText(QByteArray &chunk, QStringView text) {
    // Room for the worst case, then cut to what UTF-8 took.
    const qsizetype start = chunk.size();
    chunk.resize(start + 4 + text.size() * 3);
    QStringEncoder utf8(QStringEncoder::Utf8);
    char *const body = chunk.data() + start + 4;
    char *const end = utf8.appendToBuffer(body, text);
    qToLittleEndian<quint32>(quint32(end - body), chunk.data() + start);
    chunk.truncate(end - chunk.constData());
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
    appendText(chunk, line.sender);
    appendText(chunk, line.text);
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
