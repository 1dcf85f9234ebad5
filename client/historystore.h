#pragma once
// The conversation history of the signed-on screen name: lines are handed
// here as the window shows them and written by a thread of their own
// (historywriter.h). A file that cannot be opened or written leaves the
// client running without history; that is said once per file through
// unavailable(), and the file is never deleted nor overwritten.

#include "historyline.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <memory>

class HistoryWriter;

class HistoryStore : public QObject {
    Q_OBJECT

  public:
    explicit HistoryStore(QObject *parent = nullptr);
    ~HistoryStore() override;

    // Keeps the lines in the file from now on; the file open before is
    // closed first. Opening an open file again changes nothing.
    void open(const QString &path);
    // Writes what is queued, then closes the file.
    void close();
    // The file lines go to (empty when closed).
    QString path() const { return m_path; }
    // Queues the line; nothing when no file is open or it failed.
    void add(const HistoryLine &line);
    // Blocks until the lines handed so far are written (benchmarks, tests).
    void waitForWritten();

  signals:
    // The history is off for the file: the message says why.
    void unavailable(const QString &message);

  private:
    void report(const QString &path, const QString &reason);

    QString m_path;
    std::unique_ptr<HistoryWriter> m_writer;
    QSet<QString> m_reported;
};
