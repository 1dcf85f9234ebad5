// The configuration half of the store: groups, buddies, permit and deny
// lists and the privacy mode, rewritten as a whole in one transaction.
#include "devserver/store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace devserver {

BuddyConfig Store::loadConfig(const QString &name) const {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    BuddyConfig config;

    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT pdmode FROM accounts WHERE name = ?"));
    q.addBindValue(name);
    if (q.exec() && q.next())
        config.pdmode = q.value(0).toInt();

    q.prepare(QStringLiteral("SELECT name FROM buddy_groups WHERE account = ? ORDER BY pos"));
    q.addBindValue(name);
    if (q.exec()) {
        while (q.next())
            config.groups.append(BuddyGroup{q.value(0).toString(), {}});
    }

    q.prepare(QStringLiteral(
        "SELECT grp, name, alias, note FROM buddies WHERE account = ? ORDER BY grp, pos"));
    q.addBindValue(name);
    if (q.exec()) {
        while (q.next()) {
            const int grp = q.value(0).toInt();
            if (grp >= 0 && grp < config.groups.size())
                config.groups[grp].buddies.append(BuddyEntry{
                    q.value(1).toString(), q.value(2).toString(), q.value(3).toString()});
        }
    }

    q.prepare(QStringLiteral("SELECT list, name FROM privacy WHERE account = ? ORDER BY pos"));
    q.addBindValue(name);
    if (q.exec()) {
        while (q.next()) {
            const QString list = q.value(0).toString();
            if (list == QLatin1String("p"))
                config.permit.append(q.value(1).toString());
            else if (list == QLatin1String("d"))
                config.deny.append(q.value(1).toString());
        }
    }
    return config;
}

bool Store::saveConfig(const QString &name, const BuddyConfig &config) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        fail(QStringLiteral("save config"), db.lastError().text());
        return false;
    }
    if (!writeConfig(name, config)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fail(QStringLiteral("save config"), db.lastError().text());
        return false;
    }
    return true;
}

bool Store::writeConfig(const QString &name, const BuddyConfig &config) {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    bool ok = true;
    auto run = [&](const QString &sql, const QVariantList &values) {
        if (!ok)
            return;
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            fail(QStringLiteral("save config"), q.lastError().text());
            ok = false;
        }
    };
    run(QStringLiteral("DELETE FROM buddy_groups WHERE account = ?"), {name});
    run(QStringLiteral("DELETE FROM buddies WHERE account = ?"), {name});
    run(QStringLiteral("DELETE FROM privacy WHERE account = ?"), {name});
    run(QStringLiteral("UPDATE accounts SET pdmode = ? WHERE name = ?"), {config.pdmode, name});
    for (qsizetype g = 0; g < config.groups.size(); ++g) {
        const BuddyGroup &group = config.groups[g];
        run(QStringLiteral("INSERT INTO buddy_groups (account, pos, name) VALUES (?, ?, ?)"),
            {name, qint64(g), sqlText(group.name)});
        for (qsizetype b = 0; b < group.buddies.size(); ++b) {
            const BuddyEntry &buddy = group.buddies[b];
            run(QStringLiteral("INSERT INTO buddies (account, grp, pos, name, alias, note)"
                               " VALUES (?, ?, ?, ?, ?, ?)"),
                {name, qint64(g), qint64(b), sqlText(buddy.name), sqlText(buddy.alias),
                 sqlText(buddy.note)});
        }
    }
    const auto saveList = [&](const QStringList &list, const QString &kind) {
        for (qsizetype i = 0; i < list.size(); ++i) {
            run(QStringLiteral(
                    "INSERT INTO privacy (account, list, pos, name) VALUES (?, ?, ?, ?)"),
                {name, kind, qint64(i), sqlText(list[i])});
        }
    };
    saveList(config.permit, QStringLiteral("p"));
    saveList(config.deny, QStringLiteral("d"));
    return ok;
}

} // namespace devserver
