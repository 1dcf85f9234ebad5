#pragma once
// Counts a client's command lines in fixed one-second windows. Pure: the
// caller passes the clock.

#include <QtGlobal>

namespace devserver {

class FloodControl {
  public:
    // linesPerSecond <= 0 turns the limit off.
    explicit FloodControl(int linesPerSecond = 0) : m_limit(linesPerSecond) {}

    // Counts one line at nowMs; false when it exceeds the limit of its window.
    bool allow(qint64 nowMs);

    int limit() const { return m_limit; }

  private:
    int m_limit;
    qint64 m_windowStart = 0;
    int m_count = 0;
    bool m_started = false;
};

} // namespace devserver
