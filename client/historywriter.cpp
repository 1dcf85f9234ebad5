#include "historywriter.h"

#include "historychunk.h"
#include "historyfile.h"
#include "protocol/wire.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QVariant>
#include <chrono>
#include <optional>

namespace {
// A crash loses at most the lines of this span of a flood.
constexpr std::chrono::milliseconds kGroup{25};
// A row holds about a page of lines: reading the newest lines of a
// conversation never decodes much more than it shows.
constexpr qsizetype kChunkBytes = 60 * 1024;
} // namespace

HistoryWriter::HistoryWriter(const QString &path, std::function<void(const QString &)> failed)
    : m_path(path), m_onFailure(std::move(failed)) {
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start(QThread::LowPriority);
}

HistoryWriter::~HistoryWriter() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread->wait();
}

void HistoryWriter::add(const HistoryLine &line) {
    if (hasFailed())
        return;
    bool wasEmpty = false;
    {
        std::lock_guard lock(m_mutex);
        wasEmpty = m_pending.rows.empty();
        m_pending.add(line);
    }
    // A writer that has lines already is awake or about to look again.
    if (wasEmpty)
        m_wake.notify_one();
}

void HistoryWriter::Rows::add(const HistoryLine &line) {
    // One row for every way of writing the name, so that the lines of a
    // conversation stay in order.
    const QString conversation = toc::normalizeScreenName(line.conversation);
    QHash<QString, qsizetype> &index = line.room ? roomRow : imRow;
    auto found = index.constFind(conversation);
    if (found == index.cend() || rows[size_t(*found)].lines.size() >= kChunkBytes) {
        found = index.insert(conversation, qsizetype(rows.size()));
        rows.push_back({line.room, conversation, {}});
    }
    history::appendLine(rows[size_t(*found)].lines, line);
}

void HistoryWriter::Rows::clear() {
    rows.clear();
    imRow.clear();
    roomRow.clear();
}

void HistoryWriter::waitForWritten() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && m_pending.rows.empty(); });
}

void HistoryWriter::fail(const QString &reason) {
    if (!m_failed.exchange(true) && m_onFailure)
        m_onFailure(reason);
}

// Others may not read the history: the folder is made 0700 and the file
// 0600 (SQLite gives its -wal and -shm files the file's mode). What an older
// version made readable by others is tightened; the owner's bits are kept.
namespace {
bool makePrivate(const QFileInfo &info, QString &error) {
    constexpr QFileDevice::Permissions owner =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const QString folder = info.absolutePath();
    if (!QDir().mkpath(QFileInfo(folder).absolutePath()) ||
        (!QFileInfo(folder).isDir() && !QDir().mkdir(folder, owner))) {
        error = QStringLiteral("its folder could not be made");
        return false;
    }
    if (info.isDir()) {
        error = QStringLiteral("a folder has its name");
        return false;
    }
    QFile::setPermissions(folder, QFileInfo(folder).permissions() & owner);
    if (!info.exists()) {
        QFile file(info.filePath());
        file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    for (const char *suffix : {"", "-wal", "-shm", "-journal"}) {
        const QFileInfo part(info.filePath() + QLatin1String(suffix));
        if (part.exists())
            QFile::setPermissions(part.filePath(), part.permissions() & owner);
    }
    return true;
}
} // namespace

bool HistoryWriter::openFile(QSqlDatabase &db, QString &error) const {
    if (!makePrivate(QFileInfo(m_path), error))
        return false;
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    // Large pages for a new file: a flood's blobs then take few pages, and
    // writing them costs a third less. An existing file keeps its size.
    q.exec(QStringLiteral("PRAGMA page_size=65536"));
    // The log is folded back into the file every 4 MiB, as with SQLite's
    // usual pages, not every 64 MiB.
    q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=64"));
    // The writer only appends: a few pages of cache serve it (the default
    // took 2 MB more at the peak of a flood).
    q.exec(QStringLiteral("PRAGMA cache_size=-256"));
    // Asking for WAL reads the file: garbage fails here, and a file that
    // cannot be written stays in its old mode.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()) {
        error = q.lastError().text();
        return false;
    }
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        error = QStringLiteral("it cannot be written");
        return false;
    }
    // In WAL mode a commit is safe against a crash of the program without
    // waiting for the disk.
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    for (const char *const *statement = history::kSchema; *statement; ++statement) {
        if (!q.exec(QString::fromLatin1(*statement))) {
            error = q.lastError().text();
            return false;
        }
    }
    return true;
}

bool HistoryWriter::write(QSqlDatabase &db, QSqlQuery &insert, const Rows &batch, QString &error) {
    if (!db.transaction()) {
        error = db.lastError().text();
        return false;
    }
    for (const Rows::Row &row : batch.rows) {
        insert.bindValue(0, int(row.room));
        insert.bindValue(1, row.conversation);
        insert.bindValue(2, row.lines);
        if (!insert.exec()) {
            error = insert.lastError().text();
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

void HistoryWriter::run() {
    const QString connection = QStringLiteral("vorkle-history-%1").arg(quintptr(this));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        QString error;
        std::optional<QSqlQuery> insert;
        if (openFile(db, error)) {
            insert.emplace(db);
            // A null name binds as NULL: it is kept as the empty name.
            if (!insert->prepare(QStringLiteral("INSERT INTO chunks(room, conv, lines) "
                                                "VALUES(?, coalesce(?, ''), ?)")))
                error = insert->lastError().text();
        }
        if (!error.isEmpty())
            fail(QStringLiteral("could not be opened (%1)").arg(error));

        Rows batch;
        auto lastCommit = std::chrono::steady_clock::now() - kGroup;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_busy = false;
                m_idle.notify_all();
                m_wake.wait(lock, [this] { return m_stop || !m_pending.rows.empty(); });
                // Lines coming fast (a flood) are grouped: at most one
                // commit per kGroup; a line after a pause goes at once.
                const auto due = lastCommit + kGroup;
                if (!m_stop && std::chrono::steady_clock::now() < due)
                    m_wake.wait_until(lock, due, [this] { return m_stop; });
                if (m_pending.rows.empty())
                    break;
                std::swap(batch, m_pending);
                m_busy = true;
            }
            if (!hasFailed() && !write(db, *insert, batch, error))
                fail(QStringLiteral("could not be written (%1)").arg(error));
            batch.clear();
            lastCommit = std::chrono::steady_clock::now();
        }
        insert.reset();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
}
