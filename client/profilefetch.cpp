#include "profilefetch.h"

#include "protocol/wire.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrlQuery>

namespace {

bool fetchable(const QUrl &page) {
    const QString scheme = page.scheme();
    return page.isValid() && !page.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

int portOf(const QUrl &url) {
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

// Same scheme, host and port: a redirect may go to another path only.
bool samePlace(const QUrl &a, const QUrl &b) {
    return a.scheme() == b.scheme() && a.host() == b.host() && portOf(a) == portOf(b);
}

} // namespace

ProfileFetch::ProfileFetch(QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_deadline(new QTimer(this)) {
    m_steady.start();
    m_now = [this] { return m_steady.elapsed(); };
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this,
            [this] { abort(QStringLiteral("the server took too long to send the page.")); });
}

ProfileFetch::~ProfileFetch() {
    if (m_reply)
        m_reply->abort();
}

QUrl ProfileFetch::resolve(const QString &url, const QString &host, qint32 port) {
    QUrl server;
    server.setScheme(QStringLiteral("http"));
    server.setHost(host.trimmed());
    server.setPort(port);
    server.setPath(QStringLiteral("/"));
    const QUrl given(url.trimmed());
    const QUrl page = given.isRelative() ? server.resolved(given) : given;
    // An absolute URL must name the TOC server's host and port itself
    // (https there too); anything else would let the server send the
    // client to any service the user can reach.
    if (!fetchable(page) || page.host() != server.host() || portOf(page) != port)
        return QUrl();
    return page;
}

void ProfileFetch::asked(const QString &name) {
    m_askedFor = toc::normalizeScreenName(name);
    m_askedAt = m_now();
}

void ProfileFetch::answer(const QString &url, const QString &host, qint32 port) {
    const QUrl page = resolve(url, host, port);
    const bool inTime = !m_askedFor.isEmpty() && m_now() - m_askedAt <= kAnswerWindowMs;
    const QString user = QUrlQuery(page).queryItemValue(QStringLiteral("user"), QUrl::FullyDecoded);
    if (!page.isValid() || !inTime || toc::normalizeScreenName(user) != m_askedFor)
        return;
    // One answer per ask.
    m_askedFor.clear();
    fetch(page);
}

void ProfileFetch::stop() {
    m_deadline->stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void ProfileFetch::abort(const QString &why) {
    if (!m_reply)
        return;
    m_why = why;
    m_reply->abort();
}

void ProfileFetch::fetch(const QUrl &page) {
    stop();
    m_why.clear();
    m_first = page;
    m_hops = 0;
    request(page);
    m_deadline->start(m_deadlineMs);
}

// Redirects are followed here, not by the network stack, so that each hop
// is requested exactly once and its target checked before it is asked.
void ProfileFetch::request(const QUrl &url) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        // A page without end is no profile.
        if (received > kMaxBytes)
            abort(QStringLiteral("the page is too large."));
    });
    connect(m_reply, &QNetworkReply::finished, this, &ProfileFetch::finish);
}

void ProfileFetch::finish() {
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    reply->deleteLater();
    const QUrl url = reply->request().url();
    const QVariant location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    QString why = m_why;
    if (why.isEmpty() && location.isValid() && reply->error() == QNetworkReply::NoError) {
        const QUrl to = url.resolved(location.toUrl());
        if (!samePlace(m_first, to)) {
            why = QStringLiteral("the server sent it to another place.");
        } else if (++m_hops > kMaxRedirects) {
            why = QStringLiteral("the server sent it on too often.");
        } else {
            request(to); // the deadline runs on
            return;
        }
    }
    m_deadline->stop();
    if (why.isEmpty() && reply->error() != QNetworkReply::NoError)
        why = reply->errorString();
    if (!why.isEmpty())
        emit failed(url, why);
    else
        emit fetched(url, QString::fromUtf8(reply->read(kMaxBytes)));
}
