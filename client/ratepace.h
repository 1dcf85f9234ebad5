#pragma once
// Our model of a TOC2 server's speed limit for one class of commands.
// open-oscar-server keeps, per class and session, a moving average of the
// milliseconds between commands: each command makes it
//     (average * (window - 1) + milliseconds since the last one) / window
// (whole numbers, never above a ceiling; the ceiling at sign-on). Under the
// limit level the command is refused with ERROR:903, and still counted; the
// class then stays refused until the average is back at the clear level.
// Under the disconnect level the session is closed. We keep the average at
// or above the alert level, where the server does not even warn.

#include <QtGlobal>

struct RateClass {
    int window;
    int ceiling;    // where the average starts, and its highest value
    int clear;      // lifts a refusal
    int keepAbove;  // where we keep it: the server's alert level
    int limit;      // under it commands are refused
    int disconnect; // under it the session is closed
};

// IMs (and room invitations, status queries): the server's class 3. Room
// lines: its class 2, counted per room (we count all rooms together).
inline constexpr RateClass kImRate{20, 6000, 5100, 5000, 4000, 3000};
inline constexpr RateClass kRoomRate{80, 6000, 3000, 2000, 1500, 1000};

// A warned user's IMs are held to more: the server moves the clear, alert
// and limit levels of class 3 the warning's share of the way up to 150
// under the ceiling.
RateClass warnedImRate(int warningPercent);

class RatePace {
  public:
    explicit RatePace(const RateClass &rate, qint64 now = 0) : m_rate(rate) { restart(now); }

    // The earliest time at which a command keeps the average where we want
    // it (at or before the last command's time when it may go at once).
    qint64 due() const;
    // A command went out at `now`.
    void count(qint64 now);
    // The server refused one: its average may be as low as it can be
    // without closing the session, and it stays refused until clear.
    void refused();
    // A new session: the server starts again at the ceiling.
    void restart(qint64 now);
    // New levels; the average so far stays.
    void setRate(const RateClass &rate) { m_rate = rate; }

    qint64 level() const { return m_level; }
    const RateClass &rate() const { return m_rate; }

  private:
    RateClass m_rate;
    qint64 m_level = 0;
    qint64 m_last = 0;
    bool m_refused = false;
};
