#include "color2html.h"

namespace Color2html {

QString ColorToHtml(qint32 v) {
    const quint32 u = quint32(v);
    const auto hex2 = [](quint32 byte) {
        return QStringLiteral("%1").arg(byte & 0xFFu, 2, 16, QLatin1Char('0')).toUpper();
    };
    return QLatin1Char('#') + hex2(u) + hex2(u >> 8) + hex2(u >> 16);
}

} // namespace Color2html
