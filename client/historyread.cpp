#include "historyread.h"

#include "protocol/wire.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

namespace {

std::atomic<quint64> connectionCount{0};

bool isCancelled(const std::atomic<bool> *cancelled) {
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

void readInto(QSqlDatabase &db, const HistoryQuery &query, const std::atomic<bool> *cancelled,
              HistoryPage &page) {
    QSqlQuery q(db);
    // Newest first, so that the scan stops once the page is full.
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT at, outgoing, kind, sender, text FROM lines"
                             " WHERE room = ? AND conv = ? ORDER BY id DESC"));
    q.addBindValue(int(query.room));
    q.addBindValue(toc::normalizeScreenName(query.partner));
    if (!q.exec()) {
        page.error = q.lastError().text();
        return;
    }
    while (q.next()) {
        if (isCancelled(cancelled)) {
            page.lines.clear();
            return;
        }
        const QString raw = q.value(4).toString();
        QString text = query.toPlain ? query.toPlain(raw) : raw;
        if (!query.filter.isEmpty() && !text.contains(query.filter, Qt::CaseInsensitive))
            continue;
        if (page.lines.size() == query.limit) {
            page.more = true;
            break;
        }
        HistoryLine line;
        line.at = q.value(0).toLongLong();
        line.conversation = query.partner;
        line.room = query.room;
        line.outgoing = q.value(1).toInt() != 0;
        line.kind = HistoryLine::Kind(std::clamp(q.value(2).toInt(), 0, 2));
        line.sender = q.value(3).toString();
        line.text = std::move(text);
        page.lines.append(std::move(line));
    }
    if (q.lastError().isValid())
        page.error = q.lastError().text();
    std::reverse(page.lines.begin(), page.lines.end());
}

} // namespace

HistoryPage readConversation(const HistoryQuery &query, const std::atomic<bool> *cancelled) {
    HistoryPage page;
    if (!QFileInfo(query.path).isFile())
        return page;
    const QString connection =
        QStringLiteral("vorkle-history-read-%1").arg(connectionCount.fetch_add(1));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(query.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
        if (db.open())
            readInto(db, query, cancelled, page);
        else
            page.error = db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return page;
}
