#include "profilefetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

ProfileFetch::ProfileFetch(QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)) {}

ProfileFetch::~ProfileFetch() {
    if (m_reply)
        m_reply->abort();
}

QUrl ProfileFetch::resolve(const QString &url, const QString &host, qint32 port) {
    const QUrl given(url.trimmed());
    QUrl page = given;
    if (given.isRelative()) {
        QUrl base;
        base.setScheme(QStringLiteral("http"));
        base.setHost(host);
        base.setPort(port);
        base.setPath(QStringLiteral("/"));
        page = base.resolved(given);
    }
    const QString scheme = page.scheme();
    if (!page.isValid() || page.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    return page;
}

void ProfileFetch::fetch(const QString &url, const QString &host, qint32 port) {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    const QUrl page = resolve(url, host, port);
    if (!page.isValid()) {
        emit failed(QUrl(url), QStringLiteral("the server named no web page."));
        return;
    }
    m_tooLarge = false;
    QNetworkRequest request(page);
    request.setTransferTimeout(kTimeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        // A page without end is no profile.
        if (received > kMaxBytes && m_reply) {
            m_tooLarge = true;
            m_reply->abort();
        }
    });
    connect(m_reply, &QNetworkReply::finished, this, &ProfileFetch::finish);
}

void ProfileFetch::finish() {
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    reply->deleteLater();
    const QUrl url = reply->request().url();
    if (m_tooLarge) {
        emit failed(url, QStringLiteral("the page is too large."));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        emit failed(url, reply->errorString());
        return;
    }
    emit fetched(url, QString::fromUtf8(reply->read(kMaxBytes)));
}
