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
    QNetworkRequest request(page);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::redirected, this, [this, page](const QUrl &to) {
        if (!m_reply)
            return;
        if (samePlace(page, page.resolved(to)))
            emit m_reply->redirectAllowed();
        else
            abort(QStringLiteral("the server sent it to another place."));
    });
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        // A page without end is no profile.
        if (received > kMaxBytes)
            abort(QStringLiteral("the page is too large."));
    });
    connect(m_reply, &QNetworkReply::finished, this, &ProfileFetch::finish);
    m_deadline->start(m_deadlineMs);
}

void ProfileFetch::finish() {
    QNetworkReply *reply = m_reply;
    if (!reply)
        return;
    m_deadline->stop();
    reply->deleteLater();
    const QUrl url = reply->request().url();
    if (!m_why.isEmpty()) {
        emit failed(url, m_why);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        emit failed(url, reply->errorString());
        return;
    }
    emit fetched(url, QString::fromUtf8(reply->read(kMaxBytes)));
}
