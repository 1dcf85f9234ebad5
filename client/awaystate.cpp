#include "awaystate.h"

#include "protocol/wire.h"

#include <utility>

void AwayState::start(const QString &message) {
    m_away = true;
    m_message = message;
    m_count = 0;
    m_answered.clear();
    m_warned.clear();
}

QStringList AwayState::end() {
    m_away = false;
    m_answered.clear();
    m_warned.clear();
    return std::exchange(m_held, {});
}

namespace {
bool firstTime(QSet<QString> &seen, const QString &partner) {
    const QString key = toc::normalizeScreenName(partner);
    if (seen.contains(key))
        return false;
    seen.insert(key);
    return true;
}
} // namespace

bool AwayState::firstAnswer(const QString &partner) {
    return firstTime(m_answered, partner);
}

bool AwayState::firstWarning(const QString &partner) {
    return firstTime(m_warned, partner);
}

void AwayState::hold(const QString &name) {
    if (!isHeld(name))
        m_held.append(name);
}

bool AwayState::isHeld(const QString &name) const {
    return m_held.contains(name);
}
