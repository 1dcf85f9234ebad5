#include "historyread.h"

#include "historychunk.h"
#include "protocol/wire.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <limits>

namespace {

std::atomic<quint64> connectionCount{0};

bool isCancelled(const std::atomic<bool> *cancelled) {
    return cancelled && cancelled->load(std::memory_order_relaxed);
}

// A line stored before lines were bounded is cut as they are now.
void cutLong(QString &text) {
    constexpr qsizetype mark = sizeof history::kCutMark - 1;
    if (text.size() > history::kMaxTextBytes)
        text = text.first(history::kMaxTextBytes - mark) + QLatin1String(history::kCutMark);
}

struct PageFill {
    const HistoryQuery &query;
    HistoryPage &page;
    qint64 bytes = 0;
    qsizetype shownLines = 0;

    // Adds the lines of one row that match, newest first, past the first
    // `skip`; false once the page is full.
    bool take(QList<HistoryLine> chunk, qint64 row, int skip) {
        for (int i = skip; i < chunk.size(); ++i) {
            HistoryLine &line = chunk[chunk.size() - 1 - i];
            cutLong(line.text);
            if (query.toPlain)
                line.text = query.toPlain(line.text);
            if (!query.filter.isEmpty() && !line.text.contains(query.filter, Qt::CaseInsensitive))
                continue;
            const qint64 size =
                qint64(line.text.size() + line.sender.size()) * qint64(sizeof(QChar));
            const qsizetype lines = 1 + line.text.count(u'\n');
            if (!page.lines.isEmpty() &&
                (shownLines + lines > query.limit || bytes + size > query.maxBytes)) {
                page.more = true;
                page.older = {row, i};
                return false;
            }
            bytes += size;
            shownLines += lines;
            line.conversation = query.partner;
            line.room = query.room;
            page.lines.append(std::move(line));
        }
        return true;
    }
};

void readInto(QSqlDatabase &db, const HistoryQuery &query, const std::atomic<bool> *cancelled,
              HistoryPage &page) {
    QSqlQuery q(db);
    // Newest first, so that the scan stops once the page is full.
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, lines FROM chunks WHERE room = ? AND conv = ? AND id <= ? "
                             "ORDER BY id DESC"));
    q.addBindValue(int(query.room));
    q.addBindValue(toc::normalizeScreenName(query.partner));
    q.addBindValue(query.from.row < 0 ? std::numeric_limits<qint64>::max() : query.from.row);
    if (!q.exec()) {
        page.error = q.lastError().text();
        return;
    }
    PageFill fill{query, page};
    while (q.next()) {
        if (isCancelled(cancelled)) {
            page.lines.clear();
            return;
        }
        const qint64 row = q.value(0).toLongLong();
        if (!fill.take(history::chunkLines(q.value(1).toByteArray()), row,
                       row == query.from.row ? query.from.skip : 0))
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
