// The partner's buddy icon: one HTTP request per view to the icon server,
// the body of the reply decoded off the window's thread and shown in
// imgIcon. The fetch has a deadline; its socket and buffer are released
// however it ends. Every failure is silent and leaves the picture as it was.
// The fetches of all views share FetchLimiter::buddyIcons(): a few run at
// once, each holding its slot until its picture is decoded, and the bytes
// they hold together are bounded.
#include "ctlim.h"

#include "client/fetchlimiter.h"
#include "icondecode.h"
#include "protocol/wire.h"
#include "viewhost.h"

#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPromise>
#include <QTcpSocket>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace {

// A reply larger than this is no buddy icon: the fetch is dropped.
constexpr qsizetype kMaxReply = 4 * 1024 * 1024;

} // namespace

QString ctlIM::iconRequestTemplate(const QString &host) {
    return QStringLiteral("GET /BartSNQuery?custom=yes&default=0x000100050201e06e3f&type=1"
                          "&screenname=%sn HTTP/1.1\r\nHost: ") +
           host + QLatin1String("\r\n");
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
    // The deadline runs from the turn of this view, not from the wait.
    FetchLimiter::buddyIcons().request(this, [this, host] {
        // A refused or failed connection gives its slot back at once.
        connect(sckIcon, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
            if (!m_iconDone && e != QAbstractSocket::RemoteHostClosedError)
                stopIconFetch();
        });
        txtHead->setText(iconRequestTemplate(host));
        m_iconTimeout->start(m_iconDeadline);
        sckIcon->connectToHost(host, m_iconPort);
    });
}

void ctlIM::sckIcon_Connect() {
    // The name goes into a URL: anything but letters, digits and "-._~" is
    // percent-encoded, so a name cannot add lines to the request.
    const QString sn =
        QString::fromLatin1(QUrl::toPercentEncoding(toc::normalizeScreenName(IMUser)));
    QString request = txtHead->text();
    request.replace(QLatin1String("%sn"), sn);
    request += QLatin1String("\r\n\r\n");
    sckIcon->write(request.toUtf8());
}

// False, and the fetch stopped, when the reply would grow too large, alone
// or together with the other fetches.
bool ctlIM::keepIconBytes() {
    const QByteArray more = sckIcon->readAll();
    if (m_reply.size() + more.size() > kMaxReply ||
        !FetchLimiter::buddyIcons().take(this, more.size())) {
        stopIconFetch();
        return false;
    }
    m_reply += more;
    return true;
}

void ctlIM::sckIcon_DataArrival() {
    if (!m_iconDone)
        keepIconBytes();
}

void ctlIM::sckIcon_Close() {
    if (m_iconDone || !keepIconBytes())
        return;
    QByteArray reply = std::exchange(m_reply, QByteArray());
    endIconFetch();
    decodeIcon(std::move(reply));
}

void ctlIM::endIconFetch() {
    m_iconDone = true;
    m_iconTimeout->stop();
    m_reply = QByteArray();
    sckIcon->abort();
}

void ctlIM::stopIconFetch() {
    endIconFetch();
    // A decode still running finishes unseen.
    delete std::exchange(m_iconDecode, nullptr);
    FetchLimiter::buddyIcons().release(this);
}

void ctlIM::decodeIcon(QByteArray reply) {
    // The watcher is the view's: if the view goes first, so does the result.
    auto promise = std::make_shared<QPromise<QImage>>();
    promise->start();
    m_iconDecode = new QFutureWatcher<QImage>(this);
    connect(m_iconDecode, &QFutureWatcherBase::finished, this, &ctlIM::showDecodedIcon);
    m_iconDecode->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, reply = std::move(reply)] {
        promise->addResult(icon::fromReply(reply));
        promise->finish();
    });
}

void ctlIM::showDecodedIcon() {
    QFutureWatcher<QImage> *done = std::exchange(m_iconDecode, nullptr);
    if (!done)
        return;
    FetchLimiter::buddyIcons().release(this);
    // Still inside its signal: freed once it has returned.
    done->deleteLater();
    const QImage picture = done->future().resultCount() > 0 ? done->result() : QImage();
    if (!picture.isNull())
        imgIcon->setPixmap(QPixmap::fromImage(picture));
}
