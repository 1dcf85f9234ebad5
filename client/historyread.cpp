#include "historyread.h"

#include "historychunk.h"
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

// Adds the lines of one chunk that match, newest first; false once the
// page is full.
bool takeMatching(QList<HistoryLine> chunk, const HistoryQuery &query, HistoryPage &page) {
    for (auto line = chunk.rbegin(); line != chunk.rend(); ++line) {
        if (query.toPlain)
            line->text = query.toPlain(line->text);
        if (!query.filter.isEmpty() && !line->text.contains(query.filter, Qt::CaseInsensitive))
            continue;
        if (page.lines.size() == query.limit) {
            page.more = true;
            return false;
        }
        line->conversation = query.partner;
        line->room = query.room;
        page.lines.append(std::move(*line));
    }
    return true;
}

void readInto(QSqlDatabase &db, const HistoryQuery &query, const std::atomic<bool> *cancelled,
              HistoryPage &page) {
    QSqlQuery q(db);
    // Newest first, so that the scan stops once the page is full.
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT lines FROM chunks WHERE room = ? AND conv = ? ORDER BY id DESC"));
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
        if (!takeMatching(history::chunkLines(q.value(0).toByteArray()), query, page))
            break;
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
