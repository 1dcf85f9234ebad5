#pragma once
// Builders for the lines the server sends. Pure text assembly.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace devserver {

// Two or three characters: "A" (service account) or " ", then "O", then
// "U" when away.
QString userClass(bool service, bool away);

QString updateBuddyLine(const QString &name, bool online, int warning, qint64 signOnTime,
                        qint64 idleMinutes, const QString &cls);

QString imInLine(const QString &sender, bool autoResponse, const QString &cls,
                 const QString &message);

QString chatInLine(qint32 id, const QString &sender, const QString &message);

// "CONFIG2:" lines carrying the records and a final "done:" record. The
// records are spread over as many lines as needed to keep each line's
// UTF-8 form within maxBytes; only the last line holds "done:".
QStringList config2Lines(const QStringList &records, int maxBytes = 8000);

} // namespace devserver
