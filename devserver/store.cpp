#include "devserver/store.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace devserver {

Store::Store(const QString &path) {
    static QAtomicInt counter;
    m_connection = QStringLiteral("vorkle_devserver_%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    if (!db.open()) {
        fail(QStringLiteral("open"), db.lastError().text());
        return;
    }
    m_open =
        exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS accounts (name TEXT PRIMARY KEY, formatted TEXT NOT NULL,"
            " salt BLOB NOT NULL, hash BLOB NOT NULL, created INTEGER NOT NULL,"
            " warning INTEGER NOT NULL DEFAULT 0, pdmode INTEGER NOT NULL DEFAULT 1,"
            " profile TEXT NOT NULL DEFAULT '', icon BLOB)")) &&
        // Files written before passwords had a scheme hold salted SHA-256.
        addMissingColumn(QStringLiteral("accounts"), QStringLiteral("kdf"),
                         QStringLiteral("TEXT NOT NULL DEFAULT 'sha256'")) &&
        addMissingColumn(QStringLiteral("accounts"), QStringLiteral("iterations"),
                         QStringLiteral("INTEGER NOT NULL DEFAULT 1")) &&
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS buddy_groups (account TEXT NOT NULL,"
                            " pos INTEGER NOT NULL, name TEXT NOT NULL)")) &&
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS buddies (account TEXT NOT NULL,"
                            " grp INTEGER NOT NULL, pos INTEGER NOT NULL, name TEXT NOT NULL,"
                            " alias TEXT NOT NULL)")) &&
        // Files written before buddies had notes.
        addMissingColumn(QStringLiteral("buddies"), QStringLiteral("note"),
                         QStringLiteral("TEXT NOT NULL DEFAULT ''")) &&
        exec(QStringLiteral("CREATE TABLE IF NOT EXISTS privacy (account TEXT NOT NULL,"
                            " list TEXT NOT NULL, pos INTEGER NOT NULL, name TEXT NOT NULL)")) &&
        exec(QStringLiteral(
            "CREATE INDEX IF NOT EXISTS buddy_groups_account ON buddy_groups(account)")) &&
        exec(QStringLiteral("CREATE INDEX IF NOT EXISTS buddies_account ON buddies(account)")) &&
        exec(QStringLiteral("CREATE INDEX IF NOT EXISTS privacy_account ON privacy(account)"));
}

Store::~Store() {
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void Store::fail(const QString &what, const QString &error) const {
    m_error = what + QStringLiteral(": ") + error;
}

bool Store::exec(const QString &sql) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(sql)) {
        fail(sql, q.lastError().text());
        return false;
    }
    return true;
}

bool Store::addMissingColumn(const QString &table, const QString &column,
                             const QString &definition) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
        fail(QStringLiteral("read the %1 table").arg(table), q.lastError().text());
        return false;
    }
    while (q.next()) {
        if (q.value(1).toString() == column)
            return true;
    }
    return exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, definition));
}

std::optional<Account> Store::account(const QString &name) const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT formatted, created, warning FROM accounts WHERE name = ?"));
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return std::nullopt;
    Account a;
    a.name = name;
    a.formatted = q.value(0).toString();
    a.created = q.value(1).toLongLong();
    a.warning = q.value(2).toInt();
    return a;
}

bool Store::createAccount(const QString &name, const PasswordHash &password,
                          const BuddyConfig &config, const QByteArray &icon) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        fail(QStringLiteral("create account"), db.lastError().text());
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO accounts (name, formatted, kdf, iterations, salt, hash,"
                             " created, icon) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(name);
    q.addBindValue(name);
    q.addBindValue(PasswordHash::schemeName(password.scheme));
    q.addBindValue(password.iterations);
    q.addBindValue(password.salt);
    q.addBindValue(password.hash);
    q.addBindValue(QDateTime::currentSecsSinceEpoch());
    q.addBindValue(icon);
    if (!q.exec()) {
        fail(QStringLiteral("create account"), q.lastError().text());
        db.rollback();
        return false;
    }
    if (!writeConfig(name, config)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fail(QStringLiteral("create account"), db.lastError().text());
        return false;
    }
    return true;
}

std::optional<PasswordHash> Store::passwordHash(const QString &name) const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT kdf, iterations, salt, hash FROM accounts WHERE name = ?"));
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return std::nullopt;
    PasswordHash h;
    h.scheme = PasswordHash::schemeFromName(q.value(0).toString());
    h.iterations = q.value(1).toInt();
    h.salt = q.value(2).toByteArray();
    h.hash = q.value(3).toByteArray();
    return h;
}

bool Store::checkPassword(const QString &name, const QByteArray &password) const {
    const std::optional<PasswordHash> stored = passwordHash(name);
    return stored && stored->matches(password);
}

bool Store::replacePassword(const QString &name, const PasswordHash &old,
                            const PasswordHash &replacement) {
    // Only while the record is still the one that was checked: a change in
    // between is never overwritten with the older password.
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("UPDATE accounts SET kdf = ?, iterations = ?, salt = ?, hash = ?"
                             " WHERE name = ? AND salt = ? AND hash = ?"));
    q.addBindValue(PasswordHash::schemeName(replacement.scheme));
    q.addBindValue(replacement.iterations);
    q.addBindValue(replacement.salt);
    q.addBindValue(replacement.hash);
    q.addBindValue(name);
    q.addBindValue(old.salt);
    q.addBindValue(old.hash);
    if (!q.exec()) {
        fail(QStringLiteral("replace password"), q.lastError().text());
        return false;
    }
    return q.numRowsAffected() == 1;
}

bool Store::updateColumn(const QString &name, const char *column, const QVariant &value) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("UPDATE accounts SET %1 = ? WHERE name = ?").arg(QLatin1String(column)));
    q.addBindValue(value);
    q.addBindValue(name);
    if (!q.exec()) {
        fail(QStringLiteral("update ") + QLatin1String(column), q.lastError().text());
        return false;
    }
    return q.numRowsAffected() == 1;
}

bool Store::setFormatted(const QString &name, const QString &formatted) {
    return updateColumn(name, "formatted", sqlText(formatted));
}

bool Store::setWarning(const QString &name, int warning) {
    return updateColumn(name, "warning", warning);
}

bool Store::setProfile(const QString &name, const QString &profile) {
    return updateColumn(name, "profile", sqlText(profile));
}

QString Store::profile(const QString &name) const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT profile FROM accounts WHERE name = ?"));
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return QString();
    return q.value(0).toString();
}

QByteArray Store::icon(const QString &name) const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT icon FROM accounts WHERE name = ?"));
    q.addBindValue(name);
    if (!q.exec() || !q.next())
        return QByteArray();
    return q.value(0).toByteArray();
}

} // namespace devserver
