#pragma once
// Counts a client's command lines in fixed one-second windows. Lines over
// the limit are refused; a client that goes on after kRefusals refusals is
// disconnected, as the TOC2 servers people run do. A second within the limit
// forgives the refusals. Pure: the caller passes the clock.

#include <QtGlobal>

namespace devserver {

class FloodControl {
  public:
    enum class Verdict { Allow, Refuse, Disconnect };
    static constexpr int kRefusals = 6;

    // linesPerSecond <= 0 turns the limit off.
    explicit FloodControl(int linesPerSecond = 0) : m_limit(linesPerSecond) {}

    // Counts one line at nowMs.
    Verdict check(qint64 nowMs);

    int limit() const { return m_limit; }

  private:
    int m_limit;
    qint64 m_windowStart = 0;
    int m_count = 0;
    int m_refused = 0;
    bool m_started = false;
};

} // namespace devserver
