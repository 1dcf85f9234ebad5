#include "serverconfig.h"

namespace toc {

qsizetype findConfigEnd(const QString &text, qsizetype from) {
    static const QString kDone = QStringLiteral("done:\n");
    for (qsizetype at = text.indexOf(kDone, from); at >= 0; at = text.indexOf(kDone, at + 1)) {
        if (at == 0 || text[at - 1] == QLatin1Char('\n'))
            return at;
    }
    return -1;
}

ServerConfig parseServerConfig(const QString &text) {
    ServerConfig config;
    qsizetype pos = 0;
    while (pos < text.size()) {
        // QString's search for one character, not QStringView's substring search.
        qsizetype end = text.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = text.size();
        const QStringView record = QStringView(text).mid(pos, end - pos);
        pos = end + 1;
        if (record.startsWith(u"g:")) {
            config.buddies.append(QStringLiteral("[group]") + record.mid(2).toString());
        } else if (record.startsWith(u"b:")) {
            // Buddy records separate an alias with five colons.
            config.buddies.append(
                record.mid(2).toString().replace(QStringLiteral(":::::"), QStringLiteral(":")));
        } else if (record.startsWith(u"d:")) {
            config.blocked.append(record.mid(2).toString());
        } else if (record.startsWith(u"pref:")) {
            config.preferences = record.mid(5).toString();
        } else if (record.startsWith(u"p:")) {
            config.permitted.append(record.mid(2).toString());
        } else if (record.startsWith(u"m:")) {
            const QStringView digit = record.mid(2, 1);
            if (digit.size() == 1 && digit[0].isDigit() && digit[0].unicode() < 128)
                config.privacyMode = qint16(digit[0].unicode() - '0');
        } else if (record.startsWith(u"done:")) {
            break;
        } else {
            config.misc.append(record.toString());
        }
    }
    return config;
}

} // namespace toc
