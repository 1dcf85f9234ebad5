#pragma once
// The history's writer: a thread of its own with its own database
// connection, so that keeping a line costs the caller only packing it into
// the queue.
// A line is committed as soon as the thread gets to it; while lines come
// fast (a flood) they are grouped, one transaction every few milliseconds,
// and the lines of one conversation share a row (historychunk.h).

#include "historyline.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QThread;
class QSqlDatabase;
class QSqlQuery;

class HistoryWriter {
  public:
    // failed runs on the writer's thread, at most once, with the reason the
    // file could not be opened or written; the lines are dropped from then.
    HistoryWriter(const QString &path, std::function<void(const QString &)> failed);
    // Writes what is queued, then closes the file.
    ~HistoryWriter();

    // Packs the line into the queue (a few hundred bytes under the lock).
    void add(const HistoryLine &line);
    // Blocks until every line handed so far is written (or dropped).
    void waitForWritten();
    bool hasFailed() const { return m_failed.load(std::memory_order_relaxed); }

  private:
    // The lines that wait for a commit, packed as they come into the blob of
    // their conversation's row: a flood queues a few hundred bytes a line,
    // not the line's strings as well as, at commit, its blob.
    struct Rows {
        struct Row {
            bool room;
            QString conversation; // normalised
            QByteArray lines;
        };
        std::vector<Row> rows;
        // The row each conversation's next line goes to.
        QHash<QString, qsizetype> imRow, roomRow;

        void add(const HistoryLine &line);
        void clear();
    };

    void run();
    bool openFile(QSqlDatabase &db, QString &error) const;
    static bool write(QSqlDatabase &db, QSqlQuery &insert, const Rows &batch, QString &error);
    void fail(const QString &reason);

    const QString m_path;
    const std::function<void(const QString &)> m_onFailure;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    Rows m_pending;
    bool m_busy = true; // until the file is open and the queue looked at
    bool m_stop = false;
    std::atomic<bool> m_failed{false};
    std::unique_ptr<QThread> m_thread;
};
