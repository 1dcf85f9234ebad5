#include "devserver/profilecookie.h"

#include "protocol/wire.h"

#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

namespace devserver {

namespace {

QByteArray randomKey() {
    QByteArray key(32, '\0');
    for (char &c : key)
        c = char(QRandomGenerator::system()->bounded(256));
    return key;
}

} // namespace

ProfileCookie::ProfileCookie(const QByteArray &key) : m_key(key) {}

ProfileCookie::ProfileCookie() : m_key(randomKey()) {}

QString ProfileCookie::make(const QString &from, const QString &user) const {
    const QByteArray message =
        toc::normalizeScreenName(from).toUtf8() + '\n' + toc::normalizeScreenName(user).toUtf8();
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash(message, m_key, QCryptographicHash::Sha256).toHex());
}

bool ProfileCookie::matches(const QString &cookie, const QString &from, const QString &user) const {
    // Equal lengths of hex digits; the time taken tells nothing useful about
    // a key that changes every run, but compare every byte anyway.
    const QString expected = make(from, user);
    if (cookie.size() != expected.size())
        return false;
    int difference = 0;
    for (qsizetype i = 0; i < expected.size(); ++i)
        difference |= cookie[i].unicode() ^ expected[i].unicode();
    return difference == 0;
}

} // namespace devserver
