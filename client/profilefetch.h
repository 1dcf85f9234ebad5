#pragma once
// Fetches a buddy's profile page. Servers answer a profile request with a
// URL, often relative to their own host and port ("info?cookie=..."): it is
// resolved against the TOC server's address (absolute URLs as given), only
// http and https are fetched, the page is bounded in size and time, and
// a new request replaces one still running.

#include <QObject>
#include <QPointer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

class ProfileFetch : public QObject {
    Q_OBJECT

  public:
    static constexpr qint64 kMaxBytes = 256 * 1024;
    static constexpr int kTimeoutMs = 10000;

    explicit ProfileFetch(QObject *parent = nullptr);
    ~ProfileFetch() override;

    // The page the server's URL names; an invalid URL when it names none
    // that may be fetched.
    static QUrl resolve(const QString &url, const QString &host, qint32 port);

    void fetch(const QString &url, const QString &host, qint32 port);

  signals:
    void fetched(const QUrl &url, const QString &html);
    void failed(const QUrl &url, const QString &reason);

  private:
    void finish();

    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_tooLarge = false;
};
