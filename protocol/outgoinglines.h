#pragma once
// The command lines of one connection on their way to the socket. Servers
// count every line a client sends (the development server disconnects a
// client over 20 a second; others refuse lines with ERROR:903), so lines
// leave in order at a steady pace after a short burst: at most kBurst at
// once, then one every kGapMs, which keeps any one second at 16 lines. While
// a sign-on is under way nothing but the sign-on is written: lines sent
// meanwhile are held until the sign-on's own lines (those sent when the
// configuration arrives, and toc_init_done) have gone.

#include <QByteArray>
#include <QObject>
#include <deque>
#include <functional>

class QTimer;

namespace toc {

// The earliest moment of each line: a burst, then a steady gap (a virtual
// schedule: each line moves it on by the gap, never behind the present).
class LinePace {
  public:
    LinePace(int burst, qint64 gapMs) : m_burst(burst), m_gap(gapMs) {}
    qint64 due(qint64 now) const { return qMax(now, m_next - (m_burst - 1) * m_gap); }
    void count(qint64 now) { m_next = qMax(m_next, now) + m_gap; }
    void restart(qint64 now) { m_next = now; }

  private:
    int m_burst;
    qint64 m_gap;
    qint64 m_next = 0;
};

class OutgoingLines : public QObject {
    Q_OBJECT

  public:
    static constexpr int kBurst = 6;
    static constexpr qint64 kGapMs = 100;

    // `write` puts one line's data on the socket.
    explicit OutgoingLines(std::function<void(const QByteArray &)> write,
                           QObject *parent = nullptr);
    // Milliseconds that never go back (tests drive their own).
    void setClock(std::function<qint64()> now);

    // A new connection: nothing of an earlier one is written, and lines are
    // held until the sign-on is done.
    void connectionStarted();
    // The connection ended: what waits is dropped.
    void connectionEnded();
    // The server took the sign-on: the lines that follow are the sign-on's
    // own, paced but not held...
    void signOnLinesFollow();
    // ...until this, after which the held lines follow them.
    void signOnDone();

    void send(const QByteArray &data);
    int waiting() const { return int(m_queue.size() + m_held.size()); }
    // Writes what is due; the timer calls it.
    void pump();

  private:
    void schedule();

    std::function<void(const QByteArray &)> m_write;
    std::function<qint64()> m_now;
    LinePace m_pace{kBurst, kGapMs};
    std::deque<QByteArray> m_queue;
    std::deque<QByteArray> m_held;
    bool m_holding = false;
    QTimer *m_timer;
};

} // namespace toc
