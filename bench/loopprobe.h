#pragma once
// Measuring helpers for the GUI benchmarks: the longest time the event loop
// was kept from running (a zero-interval timer notes each pass), and the
// process's resident memory from /proc.
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <algorithm>

namespace benchprobe {

// Notes the longest gap between two passes of the event loop while it runs.
class LoopProbe {
  public:
    LoopProbe() {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_clock.start();
        m_last = 0;
        m_worst = 0;
        m_timer.start();
    }
    void stop() {
        tick();
        m_timer.stop();
    }
    double longestMs() const { return double(m_worst) / 1e6; }

  private:
    void tick() {
        const qint64 now = m_clock.nsecsElapsed();
        m_worst = std::max(m_worst, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_worst = 0;
};

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
inline long long statusKiB(const char *field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Sets the peak (VmHWM) back to the current resident size.
inline void resetPeak() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

} // namespace benchprobe
