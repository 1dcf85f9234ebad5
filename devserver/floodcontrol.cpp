#include "devserver/floodcontrol.h"

namespace devserver {

FloodControl::Verdict FloodControl::check(qint64 nowMs) {
    if (m_limit <= 0)
        return Verdict::Allow;
    // A clock that goes backwards starts a new window too.
    if (!m_started || nowMs - m_windowStart >= 1000 || nowMs < m_windowStart) {
        if (m_count <= m_limit)
            m_refused = 0;
        m_started = true;
        m_windowStart = nowMs;
        m_count = 0;
    }
    if (++m_count <= m_limit)
        return Verdict::Allow;
    return ++m_refused > kRefusals ? Verdict::Disconnect : Verdict::Refuse;
}

} // namespace devserver
