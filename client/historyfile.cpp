#include "historyfile.h"

#include "protocol/wire.h"

#include <QCryptographicHash>
#include <QStandardPaths>

namespace history {
namespace {
// Well under the 255 bytes file systems allow.
constexpr qsizetype kMaxStem = 120;
} // namespace

const char *const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS chunks("
    " id INTEGER PRIMARY KEY,"
    " room INTEGER NOT NULL," // 0 an IM conversation, 1 a room
    " conv TEXT NOT NULL,"    // the normalised partner or room name
    " lines BLOB NOT NULL)",  // historychunk.h
    "CREATE INDEX IF NOT EXISTS chunks_by_conv ON chunks(room, conv, id)", nullptr};

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1String("/vorkle/history");
}

QString fileNameFor(const QString &screenName) {
    const QByteArray utf8 = toc::normalizeScreenName(screenName).toUtf8();
    QString stem;
    for (const char c : utf8) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_')
            stem += QLatin1Char(c);
        else
            stem += QLatin1Char('%') + QString::number(quint8(c), 16).rightJustified(2, u'0');
    }
    if (stem.isEmpty())
        stem = QStringLiteral("%");
    if (stem.size() > kMaxStem)
        stem =
            stem.left(kMaxStem - 41) + QLatin1Char('-') +
            QString::fromLatin1(QCryptographicHash::hash(utf8, QCryptographicHash::Sha1).toHex());
    return stem + QLatin1String(".sqlite");
}

QString pathFor(const QString &screenName) {
    return folder() + QLatin1Char('/') + fileNameFor(screenName);
}

} // namespace history
