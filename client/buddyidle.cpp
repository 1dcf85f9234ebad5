#include "buddyidle.h"

#include <QStringList>
#include <limits>

namespace {
constexpr qint64 kMinuteMs = 60 * 1000;
} // namespace

BuddyIdle::BuddyIdle(Clock &clock, QObject *parent) : QObject(parent), m_clock(&clock) {
    m_timer = m_clock->timer([this] { fire(); });
}

BuddyIdle::~BuddyIdle() = default;

void BuddyIdle::setClock(Clock &clock) {
    clear();
    m_clock = &clock;
    m_timer = m_clock->timer([this] { fire(); });
}

void BuddyIdle::report(const QString &buddy, qint32 minutes) {
    m_crossing.remove(buddy);
    if (minutes <= 0) {
        m_since.remove(buddy);
        schedule();
        return;
    }
    // In 64 bits even the largest report (2^31 minutes) is far from overflow.
    const qint64 since = m_clock->now() - qint64(minutes) * kMinuteMs;
    m_since.insert(buddy, since);
    if (minutes <= kIdleMark)
        m_crossing.insert(buddy, since + (kIdleMark + 1) * kMinuteMs);
    schedule();
}

void BuddyIdle::forget(const QString &buddy) {
    m_since.remove(buddy);
    if (m_crossing.remove(buddy))
        schedule();
}

void BuddyIdle::clear() {
    m_since.clear();
    m_crossing.clear();
    m_timer->stop();
}

qint32 BuddyIdle::minutes(const QString &buddy) const {
    const auto it = m_since.constFind(buddy);
    if (it == m_since.cend())
        return 0;
    const qint64 counted = (m_clock->now() - *it) / kMinuteMs;
    return qint32(qBound<qint64>(0, counted, qint64(kMaxMinutes) + 1));
}

// The timer runs out at the earliest crossing; the buddies waiting for one
// are only those reported idle in the last two minutes.
void BuddyIdle::schedule() {
    qint64 next = std::numeric_limits<qint64>::max();
    for (const qint64 at : std::as_const(m_crossing))
        next = qMin(next, at);
    if (m_crossing.isEmpty())
        m_timer->stop();
    else
        m_timer->start(qMax<qint64>(0, next - m_clock->now()));
}

void BuddyIdle::fire() {
    const qint64 now = m_clock->now();
    QStringList passed;
    for (auto it = m_crossing.begin(); it != m_crossing.end();) {
        if (it.value() <= now) {
            passed << it.key();
            it = m_crossing.erase(it);
        } else {
            ++it;
        }
    }
    schedule();
    for (const QString &buddy : std::as_const(passed))
        emit becameIdle(buddy);
}
