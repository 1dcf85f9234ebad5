#include "wire.h"

#include <limits>

namespace toc {

QString normalizeScreenName(const QString &name) {
    QString out = name.toLower();
    out.remove(QLatin1Char(' '));
    return out;
}

QString escapeArgument(const QString &text) {
    // The backslash is doubled first, so the ones added after are not.
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
        case '$':
        case '"':
        case '(':
        case ')':
        case '[':
        case ']':
        case '{':
        case '}':
            out += QLatin1Char('\\');
            break;
        default:
            break;
        }
        out += c;
    }
    return out;
}

QByteArray wordToBytes(qint32 n) {
    if (n < 0 || n > 0xFFFF)
        return QByteArray();
    QByteArray out(2, '\0');
    out[0] = char((n >> 8) & 0xFF);
    out[1] = char(n & 0xFF);
    return out;
}

qint32 bytesToWord(QByteArrayView bytes) {
    const qint32 hi = bytes.size() > 0 ? quint8(bytes[0]) : 0;
    const qint32 lo = bytes.size() > 1 ? quint8(bytes[1]) : 0;
    return hi * 256 + lo;
}

QString roastPassword(const QByteArray &password) {
    static const char digits[] = "0123456789abcdef";
    const int keyLength = int(sizeof(kRoastString)) - 1;
    QString out = QStringLiteral("0x");
    out.reserve(2 + 2 * password.size());
    for (qsizetype i = 0; i < password.size(); ++i) {
        const quint8 v = quint8(password[i]) ^ quint8(kRoastString[i % keyLength]);
        out += QLatin1Char(digits[v >> 4]);
        out += QLatin1Char(digits[v & 0xF]);
    }
    return out;
}

QByteArray unroastPassword(const QString &roasted, bool *ok) {
    const int keyLength = int(sizeof(kRoastString)) - 1;
    if (ok)
        *ok = false;
    if (!roasted.startsWith(QLatin1String("0x")) || roasted.size() % 2 != 0)
        return QByteArray();
    const QByteArray hex = roasted.mid(2).toLatin1();
    QByteArray clear = QByteArray::fromHex(hex);
    if (clear.size() * 2 != hex.size() || clear.toHex() != hex.toLower())
        return QByteArray();
    for (qsizetype i = 0; i < clear.size(); ++i)
        clear[i] = char(quint8(clear[i]) ^ quint8(kRoastString[i % keyLength]));
    if (ok)
        *ok = true;
    return clear;
}

QByteArray buildFrame(quint8 type, quint16 sequence, const QByteArray &data) {
    if (data.size() > kMaxFrameData)
        return QByteArray();
    QByteArray frame;
    frame.reserve(kFlapHeaderSize + data.size());
    frame += '*';
    frame += char(type);
    frame += wordToBytes(sequence);
    frame += wordToBytes(qint32(data.size()));
    frame += data;
    return frame;
}

QByteArray signOnData(const QByteArray &screenName) {
    return QByteArray("\0\0\0\1\0\1", 6) + wordToBytes(qint32(screenName.size())) + screenName;
}

QString signOnLine(const QString &authHost, qint32 port, const QString &screenName,
                   const QString &roastedPassword) {
    return QStringLiteral("toc2_login ") + authHost + QLatin1Char(' ') + QString::number(port) +
           QLatin1Char(' ') + screenName + QLatin1Char(' ') + roastedPassword +
           QStringLiteral(" English  \"QelTOCSock 2.0\" 160 US \"\" \"\" 3 0 30303 "
                          "-kentucky -utf8 58203917");
}

QStringList splitFields(const QString &line, int limit) {
    QStringList out;
    qsizetype start = 0;
    while (limit <= 0 || out.size() < limit - 1) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'), start);
        if (colon < 0)
            break;
        out.append(line.mid(start, colon - start));
        start = colon + 1;
    }
    out.append(line.mid(start));
    return out;
}

template <typename Int> static Int toInt(QStringView text, bool *ok) {
    *ok = false;
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == QLatin1Char('-');
    if (negative)
        i = 1;
    if (i >= text.size())
        return 0;
    // Accumulate as a negative number so that the minimum fits.
    qint64 value = 0;
    const qint64 limit = negative ? -qint64(std::numeric_limits<Int>::min())
                                  : qint64(std::numeric_limits<Int>::max());
    for (; i < text.size(); ++i) {
        const ushort c = text[i].unicode();
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > limit)
            return 0;
    }
    *ok = true;
    return Int(negative ? -value : value);
}

qint16 toInt16(QStringView text, bool *ok) {
    return toInt<qint16>(text, ok);
}
qint32 toInt32(QStringView text, bool *ok) {
    return toInt<qint32>(text, ok);
}

QString decodeLine(QByteArrayView bytes) {
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    // Decode the valid sequences; any other byte stands for itself.
    QString out;
    out.reserve(bytes.size());
    const auto *p = reinterpret_cast<const quint8 *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const quint8 b = p[i];
        int len = 0;
        if (b < 0x80)
            len = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            len = 2;
        else if (b >= 0xE0 && b <= 0xEF)
            len = 3;
        else if (b >= 0xF0 && b <= 0xF4)
            len = 4;
        if (len > 1 && i + len <= n && QByteArrayView(bytes.data() + i, len).isValidUtf8()) {
            out += QString::fromUtf8(bytes.data() + i, len);
            i += len;
        } else {
            out += QChar(ushort(b));
            ++i;
        }
    }
    return out;
}

QString removeHtml(const QString &message) {
    // One pass that behaves like repeatedly cutting the first "<" and the
    // first ">" after it: a "<" without a later ">" ends the work.
    QString out;
    out.reserve(message.size());
    qsizetype i = 0;
    const qsizetype n = message.size();
    while (i < n) {
        const qsizetype open = message.indexOf(QLatin1Char('<'), i);
        if (open < 0)
            break;
        const qsizetype close = message.indexOf(QLatin1Char('>'), open + 1);
        if (close < 0)
            break;
        out += QStringView(message).mid(i, open - i);
        i = close + 1;
    }
    out += QStringView(message).mid(i);
    return out;
}

} // namespace toc
