#include "devserver/passwordhash.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

namespace devserver {

namespace {

constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;

QByteArray randomSalt() {
    QByteArray salt(kSaltBytes, '\0');
    for (char &c : salt)
        c = char(QRandomGenerator::system()->bounded(256));
    return salt;
}

QByteArray pbkdf2(const QByteArray &password, const QByteArray &salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password, salt,
                                              iterations, kKeyBytes);
}

// Takes as long for every wrong byte as for a right one.
bool sameBytes(const QByteArray &a, const QByteArray &b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

PasswordHash PasswordHash::derive(const QByteArray &password, int iterations) {
    PasswordHash h;
    h.scheme = Scheme::Pbkdf2Sha256;
    h.iterations = iterations;
    h.salt = randomSalt();
    h.hash = pbkdf2(password, h.salt, iterations);
    return h;
}

bool PasswordHash::matches(const QByteArray &password) const {
    switch (scheme) {
    case Scheme::SaltedSha256:
        return sameBytes(QCryptographicHash::hash(salt + password, QCryptographicHash::Sha256),
                         hash);
    case Scheme::Pbkdf2Sha256:
        return iterations > 0 && sameBytes(pbkdf2(password, salt, iterations), hash);
    case Scheme::Unknown:
        break;
    }
    return false;
}

bool PasswordHash::needsUpgrade(int newIterations) const {
    return scheme != Scheme::Pbkdf2Sha256 || iterations < newIterations;
}

QString PasswordHash::schemeName(Scheme scheme) {
    switch (scheme) {
    case Scheme::SaltedSha256:
        return QStringLiteral("sha256");
    case Scheme::Pbkdf2Sha256:
        return QStringLiteral("pbkdf2-sha256");
    case Scheme::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

PasswordHash::Scheme PasswordHash::schemeFromName(const QString &name) {
    for (Scheme s : {Scheme::SaltedSha256, Scheme::Pbkdf2Sha256}) {
        if (name == schemeName(s))
            return s;
    }
    return Scheme::Unknown;
}

PasswordCheck checkPassword(const std::optional<PasswordHash> &stored, const QByteArray &password,
                            int iterations) {
    PasswordCheck check;
    check.accepted = !stored || stored->matches(password);
    if (check.accepted && (!stored || stored->needsUpgrade(iterations)))
        check.replacement = PasswordHash::derive(password, iterations);
    return check;
}

PasswordCheck changePassword(const PasswordHash &stored, const QByteArray &old,
                             const QByteArray &now, int iterations) {
    PasswordCheck check;
    check.accepted = stored.matches(old);
    if (check.accepted)
        check.replacement = PasswordHash::derive(now, iterations);
    return check;
}

} // namespace devserver
