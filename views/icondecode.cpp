#include "icondecode.h"

#include <QBuffer>
#include <QImageReader>

namespace icon {

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
        const QSize declared = reader.size();
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
