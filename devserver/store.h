#pragma once
// The server's persistent data in SQLite through QtSql: accounts (with a
// password record, see passwordhash.h; formatted name, warning level, profile and buddy
// icon), and each account's configuration (groups, buddies, permit and deny
// lists, privacy mode). ":memory:" keeps everything in memory.

#include "devserver/buddyconfig.h"
#include "devserver/passwordhash.h"

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace devserver {

// A null QString binds as SQL NULL; text columns want "".
inline QString sqlText(const QString &text) {
    return text.isNull() ? QStringLiteral("") : text;
}

struct Account {
    QString name; // normalised, the key
    QString formatted;
    qint64 created = 0; // Unix seconds
    int warning = 0;
};

class Store {
  public:
    explicit Store(const QString &path = QStringLiteral(":memory:"));
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    bool isOpen() const { return m_open; }
    QString lastError() const { return m_error; }

    std::optional<Account> account(const QString &name) const;
    bool createAccount(const QString &name, const PasswordHash &password, const BuddyConfig &config,
                       const QByteArray &icon);
    std::optional<PasswordHash> passwordHash(const QString &name) const;
    // Derives with the record's own count: as slow as the record was made.
    bool checkPassword(const QString &name, const QByteArray &password) const;
    // Stores the replacement only while `old` is still the stored record.
    bool replacePassword(const QString &name, const PasswordHash &old,
                         const PasswordHash &replacement);
    bool setFormatted(const QString &name, const QString &formatted);
    bool setWarning(const QString &name, int warning);
    bool setProfile(const QString &name, const QString &profile);
    QString profile(const QString &name) const;
    QByteArray icon(const QString &name) const;

    BuddyConfig loadConfig(const QString &name) const;
    bool saveConfig(const QString &name, const BuddyConfig &config);

  private:
    bool exec(const QString &sql);
    bool addMissingColumn(const QString &table, const QString &column, const QString &definition);
    bool writeConfig(const QString &name, const BuddyConfig &config);
    bool updateColumn(const QString &name, const char *column, const QVariant &value);
    void fail(const QString &what, const QString &error) const;

    QString m_connection;
    bool m_open = false;
    mutable QString m_error;
};

} // namespace devserver
