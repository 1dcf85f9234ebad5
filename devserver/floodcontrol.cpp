#include "devserver/floodcontrol.h"

namespace devserver {

bool FloodControl::allow(qint64 nowMs) {
    if (m_limit <= 0)
        return true;
    // A clock that goes backwards starts a new window too.
    if (!m_started || nowMs - m_windowStart >= 1000 || nowMs < m_windowStart) {
        m_started = true;
        m_windowStart = nowMs;
        m_count = 0;
    }
    ++m_count;
    return m_count <= m_limit;
}

} // namespace devserver
