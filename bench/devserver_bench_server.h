#pragma once
// The real vorkle-devserver program as a child process for the devserver
// and end-to-end benchmarks (so that its memory is its own), on a free loopback port, and
// what they share: waiting on the event loop and reading the child's memory.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTimer>
#include <functional>

// Runs the event loop until pred() holds or the time runs out. It sleeps
// between events: the children share the machine's two cores with us.
// (processEvents with a time limit drops WaitForMoreEvents and would spin.)
inline bool spinUntil(const std::function<bool()> &pred, int ms) {
    QElapsedTimer t;
    t.start();
    QTimer tick;
    tick.start(20);
    while (!pred()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A field of /proc/<pid>/status in KiB ("VmRSS", "VmHWM"), or -1.
inline qint64 procStatusKiB(qint64 pid, const QByteArray &field) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

class DevServerChild {
  public:
    DevServerChild() { m_process.setProcessChannelMode(QProcess::SeparateChannels); }
    ~DevServerChild() {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
    }
    DevServerChild(const DevServerChild &) = delete;
    DevServerChild &operator=(const DevServerChild &) = delete;

    // Starts it on a free port with no flood limit and the given options;
    // false when it did not report listening within ten seconds.
    bool start(const QStringList &options) {
        m_process.start(QStringLiteral(VORKLE_DEVSERVER_PATH),
                        QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                                    QStringLiteral("--http-port"), QStringLiteral("0"),
                                    QStringLiteral("--flood-limit"), QStringLiteral("0")} +
                            options);
        QByteArray log;
        const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
        spinUntil(
            [&] {
                m_process.waitForReadyRead(50);
                log += m_process.readAllStandardError();
                const QRegularExpressionMatch m = listening.match(QString::fromUtf8(log));
                m_port = m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
                return m_port != 0 || m_process.state() == QProcess::NotRunning;
            },
            10000);
        return m_port != 0;
    }
    quint16 port() const { return m_port; }
    qint64 kib(const QByteArray &field) const {
        return procStatusKiB(m_process.processId(), field);
    }
    // What it logged since the last call (sign-ons, sign-offs, errors).
    QByteArray takeLog() { return m_process.readAllStandardError(); }

  private:
    QProcess m_process;
    quint16 m_port = 0;
};
