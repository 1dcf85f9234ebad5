#pragma once
// The cookie in a relative profile URL ("info?cookie=...&from=...&user=..."):
// a keyed hash of who asked for whose profile, so that the page is served
// only for a lookup the server handed out. The key is the server's own,
// random per run.

#include <QByteArray>
#include <QString>

namespace devserver {

class ProfileCookie {
  public:
    explicit ProfileCookie(const QByteArray &key);
    // A fresh random key.
    ProfileCookie();

    // Lower-case hex; `from` and `user` compare normalised.
    QString make(const QString &from, const QString &user) const;
    bool matches(const QString &cookie, const QString &from, const QString &user) const;

  private:
    QByteArray m_key;
};

} // namespace devserver
