#pragma once
// Fetches a buddy's profile page. Servers answer a profile request with a
// URL, often relative to their own host and port ("info?cookie=...&user=").
// The server's word alone fetches nothing: a URL is fetched only as the
// answer to the profile the user asked for (the name in its "user" field),
// within kAnswerWindowMs of asking, once, and only from the TOC server's
// own host and port; a redirect may not leave them, nor the scheme. Only
// http and https are fetched; the page is bounded in size, and the whole
// fetch in time.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

class ProfileFetch : public QObject {
    Q_OBJECT

  public:
    static constexpr qint64 kMaxBytes = 256 * 1024;
    static constexpr int kTimeoutMs = 10000;      // the whole fetch, redirects included
    static constexpr int kAnswerWindowMs = 30000; // from asking to the server's answer
    static constexpr int kMaxRedirects = 3;

    explicit ProfileFetch(QObject *parent = nullptr);
    ~ProfileFetch() override;

    // The page the server's URL names on the TOC server at host:port; an
    // invalid URL when it names none that may be fetched.
    static QUrl resolve(const QString &url, const QString &host, qint32 port);

    // The user asked the server for the profile of `name`; an ask before
    // it that was not answered is forgotten.
    void asked(const QString &name);
    // The server named a profile page: fetched when it answers the ask,
    // ignored otherwise. A fetch still running is replaced.
    void answer(const QString &url, const QString &host, qint32 port);

    // For tests: the time the ask window is measured on (milliseconds,
    // steady), and the deadline of the whole fetch.
    void setClock(std::function<qint64()> now) { m_now = std::move(now); }
    void setDeadline(int ms) { m_deadlineMs = ms; }

  signals:
    void fetched(const QUrl &url, const QString &html);
    void failed(const QUrl &url, const QString &reason);

  private:
    void fetch(const QUrl &page);
    void request(const QUrl &url);
    void stop();
    void abort(const QString &why);
    void finish();

    QNetworkAccessManager *m_network = nullptr;
    QTimer *m_deadline = nullptr;
    QPointer<QNetworkReply> m_reply;
    QString m_why; // why the client ended the fetch
    QUrl m_first;  // the page named by the server: redirects stay at its place
    int m_hops = 0;
    int m_deadlineMs = kTimeoutMs;
    QString m_askedFor; // normalised; empty when no ask waits
    qint64 m_askedAt = 0;
    QElapsedTimer m_steady;
    std::function<qint64()> m_now;
};
