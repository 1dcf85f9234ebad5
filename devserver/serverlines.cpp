#include "devserver/serverlines.h"

namespace devserver {

QString userClass(bool service, bool away) {
    QString cls = service ? QStringLiteral("AO") : QStringLiteral(" O");
    cls += away ? QLatin1Char('U') : QLatin1Char(' ');
    return cls;
}

QString updateBuddyLine(const QString &name, bool online, int warning, qint64 signOnTime,
                        qint64 idleMinutes, const QString &cls) {
    // Joined piece by piece: the name may hold "%1" and must stay as it is.
    const QLatin1Char colon(':');
    return QStringLiteral("UPDATE_BUDDY2:") + name + colon +
           (online ? QLatin1Char('T') : QLatin1Char('F')) + colon + QString::number(warning) +
           colon + QString::number(signOnTime) + colon + QString::number(idleMinutes) + colon +
           cls + colon;
}

QString departureLine(const QString &normalizedName) {
    return updateBuddyLine(normalizedName, false, 0, 0, 0, QStringLiteral("   "));
}

QString imInLine(LineStyle style, const QString &sender, bool autoResponse, const QString &cls,
                 const QString &message) {
    const QString flag = autoResponse ? QStringLiteral(":T") : QStringLiteral(":F");
    switch (style) {
    case LineStyle::Toc1:
        return QStringLiteral("IM_IN:") + sender + flag + QLatin1Char(':') + message;
    case LineStyle::Toc2Signon:
        return QStringLiteral("IM_IN2:") + sender + flag + QStringLiteral(":F:") + message;
    case LineStyle::Toc2Login:
    default:
        return QStringLiteral("IM_IN_ENC2:") + sender + flag + QStringLiteral(":F:T:") + cls +
               QStringLiteral(":F:L:en:") + message;
    }
}

QString chatInLine(qint32 id, const QString &sender, const QString &message) {
    return QStringLiteral("CHAT_IN_ENC:") + QString::number(id) + QLatin1Char(':') + sender +
           QStringLiteral(":F:A:en:") + message;
}

QStringList config2Lines(const QStringList &records, int maxBytes) {
    const QString prefix = QStringLiteral("CONFIG2:");
    QStringList lines;
    QString current = prefix;
    qsizetype currentBytes = prefix.size();
    for (const QString &record : records) {
        const qsizetype bytes = record.toUtf8().size();
        if (currentBytes + bytes > maxBytes && current.size() > prefix.size()) {
            lines.append(current);
            current = prefix;
            currentBytes = prefix.size();
        }
        current += record;
        currentBytes += bytes;
    }
    const QString done = QStringLiteral("done:\n");
    if (currentBytes + done.size() > maxBytes && current.size() > prefix.size()) {
        lines.append(current);
        current = prefix;
    }
    lines.append(current + done);
    return lines;
}

} // namespace devserver
