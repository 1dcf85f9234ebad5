// The partner's buddy icon: one HTTP request per view to the icon server,
// the body of the reply kept in the user's cache and shown in imgIcon.
// Every failure is silent and leaves the picture as it was.
#include "ctlim.h"

#include "protocol/wire.h"
#include "viewhost.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QUrl>

namespace {

// A reply larger than this is no buddy icon: the fetch is dropped.
constexpr qsizetype kMaxReply = 4 * 1024 * 1024;

} // namespace

QString ctlIM::iconRequestTemplate(const QString &host) {
    return QStringLiteral("GET /BartSNQuery?custom=yes&default=0x000100050201e06e3f&type=1"
                          "&screenname=%sn HTTP/1.1\r\nHost: ") +
           host + QLatin1String("\r\n");
}

QString ctlIM::iconFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QLatin1String("/tmp.jpg");
}

QPixmap ctlIM::defaultIcon() {
    // A plain grey head and shoulders.
    QPixmap pixmap(48, 48);
    pixmap.fill(QColor(0xE8, 0xEE, 0xF4));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8C, 0x9B, 0xAB));
    p.drawEllipse(QRectF(15, 7, 18, 18));
    p.drawEllipse(QRectF(6, 28, 36, 30));
    return pixmap;
}

void ctlIM::startIconFetch() {
    const QString host = m_host ? m_host->iconHost() : QString();
    if (host.isEmpty())
        return;
    txtHead->setText(iconRequestTemplate(host));
    sckIcon->connectToHost(host, m_iconPort);
}

void ctlIM::sckIcon_Connect() {
    // The name goes into a URL: anything but letters, digits and "-._~" is
    // percent-encoded, so a name cannot add lines to the request.
    const QString sn =
        QString::fromLatin1(QUrl::toPercentEncoding(toc::normalizeScreenName(txtuser->text())));
    QString request = txtHead->text();
    request.replace(QLatin1String("%sn"), sn);
    request += QLatin1String("\r\n\r\n");
    sckIcon->write(request.toUtf8());
}

void ctlIM::sckIcon_DataArrival() {
    if (m_iconDone)
        return;
    m_reply += sckIcon->readAll();
    if (m_reply.size() > kMaxReply)
        stopIconFetch();
}

void ctlIM::stopIconFetch() {
    m_iconDone = true;
    m_reply.clear();
    m_reply.squeeze();
    sckIcon->abort();
}

void ctlIM::sckIcon_Close() {
    if (m_iconDone)
        return;
    m_reply += sckIcon->readAll();
    m_iconDone = true;
    if (m_reply.size() > kMaxReply)
        return;

    const qsizetype header = m_reply.indexOf("\r\n\r\n");
    if (header < 0)
        return;
    const QByteArray body = m_reply.mid(header + 4);

    const QString path = iconFilePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body) != body.size() || !file.commit())
        return;

    QPixmap picture;
    if (!picture.loadFromData(body))
        return;
    imgIcon->setPixmap(picture);
}
