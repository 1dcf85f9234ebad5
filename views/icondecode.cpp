#include "icondecode.h"

#include <QBuffer>
#include <QImageReader>

namespace icon {
namespace {

// A GIF is drawn on its "logical screen", which is what gets allocated; its
// reader may report only the first frame's size.
QSize gifScreen(const QByteArray &bytes) {
    if (bytes.size() < 10)
        return {};
    const auto word = [&](int at) {
        return int(uchar(bytes[at])) | int(uchar(bytes[at + 1])) << 8;
    };
    return QSize(word(6), word(8));
}

} // namespace

QImage decode(const QByteArray &bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return {};
    // Each format's reader checks its own signature; no other image plugin
    // ever sees the bytes.
    for (const char *format : {"png", "jpeg", "gif", "bmp"}) {
        buffer.seek(0);
        QImageReader reader(&buffer, format);
        reader.setAutoDetectImageFormat(false);
        if (!reader.canRead())
            continue;
        QSize declared = reader.size();
        if (qstrcmp(format, "gif") == 0)
            declared = declared.expandedTo(gifScreen(bytes));
        if (declared.isEmpty() || declared.width() > kMaxDeclaredSide ||
            declared.height() > kMaxDeclaredSide)
            return {};
        // At least a pixel each way: a long thin line must not scale to nothing.
        if (declared.width() > kKeptSide || declared.height() > kKeptSide)
            reader.setScaledSize(
                declared.scaled(kKeptSide, kKeptSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
        return reader.read();
    }
    return {};
}

QImage fromReply(const QByteArray &reply) {
    const qsizetype header = reply.indexOf("\r\n\r\n");
    if (header < 0)
        return {};
    return decode(reply.mid(header + 4));
}

} // namespace icon
