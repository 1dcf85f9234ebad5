#pragma once
// How an account's password is kept: a salt, a derived key and the scheme
// and work factor that made it, so that a record written under an older
// rule is still checked by that rule and can be replaced at the next
// sign-on. New records use PBKDF2-HMAC-SHA256; records from before it hold
// one round of salted SHA-256. Pure and thread-safe: the slow derivation
// runs off the event loop.

#include <QByteArray>
#include <QString>
#include <optional>

namespace devserver {

struct PasswordHash {
    enum class Scheme { SaltedSha256, Pbkdf2Sha256, Unknown };
    static constexpr int kDefaultIterations = 100000;

    Scheme scheme = Scheme::Unknown;
    int iterations = 0; // 1 for salted SHA-256
    QByteArray salt;
    QByteArray hash;

    // A new PBKDF2 record with a fresh random salt.
    static PasswordHash derive(const QByteArray &password, int iterations);
    // Recomputes with this record's own scheme, salt and count.
    bool matches(const QByteArray &password) const;
    // True when a successful sign-on should replace this record.
    bool needsUpgrade(int iterations) const;

    // The scheme as stored in the database ("sha256", "pbkdf2-sha256").
    static QString schemeName(Scheme scheme);
    static Scheme schemeFromName(const QString &name);

    bool operator==(const PasswordHash &o) const {
        return scheme == o.scheme && iterations == o.iterations && salt == o.salt && hash == o.hash;
    }
    bool operator!=(const PasswordHash &o) const { return !(*this == o); }
};

// The outcome of a password check, computed off the event loop: whether the
// password is accepted and, when it is, the record to store in place of the
// old one (none when the old one stays).
struct PasswordCheck {
    bool accepted = false;
    std::optional<PasswordHash> replacement;
};

// Checks the password against the stored record; with no record (a new
// account) the password is accepted and a record derived for it.
PasswordCheck checkPassword(const std::optional<PasswordHash> &stored, const QByteArray &password,
                            int iterations);
// A password change: accepted when `old` matches, replaced by a record for `now`.
PasswordCheck changePassword(const PasswordHash &stored, const QByteArray &old,
                             const QByteArray &now, int iterations);

} // namespace devserver
