#pragma once
// Paces our IMs and room lines below the server's speed limit (see
// ratepace.h): a line over the pace waits, in order, until it can go; none
// is dropped. While a new sign-on is under way every line waits, as one over
// the pace does, until the session has started. When the connection ends,
// what still waits is handed back as not sent. An ERROR:903 that comes
// anyway is put on the last line that left.

#include "ratepace.h"

#include <QObject>
#include <array>
#include <deque>
#include <functional>

class QTimer;

class SendPacer : public QObject {
    Q_OBJECT

  public:
    enum class Kind { IM, Room };
    // What became of a line that waited.
    enum class Outcome { Sent, Failed, Dropped };
    // What became of a line at once: it left, it could not be sent, it waits.
    enum class Submitted { Left, Failed, Waits };

    struct Line {
        Kind kind = Kind::IM;
        // Sends the line; false when nothing went out.
        std::function<bool()> send;
        // Called once, for a line that waited.
        std::function<void(Outcome)> settled;
        // An ERROR:903 answered the line (once at most, soon after it left).
        std::function<void()> refused;
    };

    // Servers that count plain lines per second (the development server
    // takes 20) see no more than four of ours.
    static constexpr qint64 kMinGapMs = 250;
    // An ERROR:903 later than this after our last line answers something else.
    static constexpr qint64 kRefusalWindowMs = 10000;

    explicit SendPacer(QObject *parent = nullptr);
    ~SendPacer() override;

    // Milliseconds that never go back (tests drive their own; the default
    // is a monotonic timer).
    void setClock(std::function<qint64()> clock);

    Submitted submit(Line line);
    // As submit, or the line sent at once when there is no pacer.
    static Submitted submitTo(SendPacer *pacer, Line line);

    int waiting() const;
    // When the next waiting line may leave, or -1 when none waits.
    qint64 nextDeparture() const;
    // Sends what may leave now; the pacer's timer calls it.
    void pump();
    // The user's warning level (percent), which slows IMs down.
    void setWarningLevel(int percent);
    // A new sign-on is under way on a connected socket: lines wait.
    void hold();
    // Signed on: the server's count starts again, and what waited leaves
    // (from the event loop: after the sign-on's own lines).
    void sessionStarted();
    // Signed off, or the connection was lost: every waiting line is
    // Dropped, in the order it was submitted, and the pace starts again.
    void connectionEnded();
    // The server answered ERROR:903: true when a line took it (its refused
    // callback ran, and said so where the line was written).
    bool speedLimitHit();

  private:
    struct Waiting {
        Line line;
        quint64 order = 0;
    };
    qint64 dueOf(Kind kind) const;
    bool depart(Line &line, qint64 now);
    void schedule();

    std::function<qint64()> m_clock;
    std::array<RatePace, 2> m_pace{RatePace(kImRate), RatePace(kRoomRate)};
    std::array<std::deque<Waiting>, 2> m_waiting;
    quint64 m_order = 0;
    qint64 m_lastLeftAt = -1; // -1: nothing left on this connection
    Kind m_lastKind = Kind::IM;
    bool m_holding = false;
    std::function<void()> m_lastRefused;
    QTimer *m_timer;
};
