#include "ratepace.h"

#include <algorithm>

RateClass warnedImRate(int warningPercent) {
    const int percent = std::clamp(warningPercent, 0, 100);
    RateClass rate = kImRate;
    const int top = rate.ceiling - 150;
    for (int *level : {&rate.clear, &rate.keepAbove, &rate.limit})
        *level += (top - *level) * percent / 100;
    return rate;
}

void RatePace::restart(qint64 now) {
    m_level = m_rate.ceiling;
    m_last = now;
    m_refused = false;
}

// The new average is at least the target when
// level * (window - 1) + elapsed >= target * window.
qint64 RatePace::due() const {
    const qint64 target = m_refused ? m_rate.clear : m_rate.keepAbove;
    const qint64 wait = target * m_rate.window - m_level * (m_rate.window - 1);
    return m_last + std::max<qint64>(0, wait);
}

void RatePace::count(qint64 now) {
    const qint64 elapsed = std::max<qint64>(0, now - m_last);
    m_level =
        std::min<qint64>(m_rate.ceiling, (m_level * (m_rate.window - 1) + elapsed) / m_rate.window);
    m_last = std::max(m_last, now);
    if (m_refused && m_level >= m_rate.clear)
        m_refused = false;
}

void RatePace::refused() {
    m_level = m_rate.disconnect;
    m_refused = true;
}
