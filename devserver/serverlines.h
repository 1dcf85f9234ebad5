#pragma once
// Builders for the lines the server sends. Pure text assembly.

#include "protocol/wire.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace devserver {

// How a connection signed on, which decides its sign-on lines and its IM
// line: toc2_login gets IM_IN_ENC2, toc2_signon IM_IN2 and toc_signon IM_IN.
enum class LineStyle { Toc2Login, Toc2Signon, Toc1 };

// The answer to almost every refused command: unknown, missing or bad
// arguments, unknown rooms and groups.
inline const QString kInternalError = QStringLiteral("ERROR:913:internal server error");

// The capability every user has, the chat rooms'; always listed last.
inline const QString kChatCapability = QStringLiteral("748f2420-6287-11d1-8222-444553540000");

// Always three characters: "A" (service account) or " ", then "O", then
// "U" when away or " ".
QString userClass(bool service, bool away);

QString updateBuddyLine(const QString &name, bool online, int warning, qint64 signOnTime,
                        qint64 idleMinutes, const QString &cls);
// "UPDATE_BUDDY2:<normalised name>:F:0:0:0:   :"
QString departureLine(const QString &normalizedName);

QString imInLine(LineStyle style, const QString &sender, bool autoResponse, const QString &cls,
                 const QString &message);

QString chatInLine(qint32 id, const QString &sender, const QString &message);

// "CONFIG2:" lines carrying the records and a final "done:" record: one line
// unless its UTF-8 form would pass maxBytes (a FLAP frame's data at most);
// only then are the records spread over several, only the last holding
// "done:".
QStringList config2Lines(const QStringList &records, int maxBytes = toc::kMaxFrameData);

} // namespace devserver
