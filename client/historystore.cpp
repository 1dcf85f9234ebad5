#include "historystore.h"

#include "historywriter.h"

#include <QDir>

HistoryStore::HistoryStore(QObject *parent) : QObject(parent) {}

HistoryStore::~HistoryStore() {
    close();
}

void HistoryStore::open(const QString &path) {
    if (m_writer && path == m_path)
        return;
    close();
    m_path = path;
    // The writer ends before this object does: the report it posts finds
    // it alive, or is dropped with it.
    m_writer = std::make_unique<HistoryWriter>(path, [this, path](const QString &reason) {
        QMetaObject::invokeMethod(
            this, [this, path, reason] { report(path, reason); }, Qt::QueuedConnection);
    });
}

void HistoryStore::close() {
    m_writer.reset();
    m_path.clear();
}

void HistoryStore::add(const HistoryLine &line) {
    if (m_writer)
        m_writer->add(line);
}

void HistoryStore::waitForWritten() {
    if (m_writer)
        m_writer->waitForWritten();
}

void HistoryStore::report(const QString &path, const QString &reason) {
    if (m_reported.contains(path))
        return;
    m_reported.insert(path);
    emit unavailable(QStringLiteral("Conversation history is off: the file %1 %2. The file was "
                                    "left as it is; move it away to keep history again.")
                         .arg(QDir::toNativeSeparators(path), reason));
}
