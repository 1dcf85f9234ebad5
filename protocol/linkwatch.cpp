#include "linkwatch.h"

#include <QTimer>

namespace toc {
namespace {
// A script sending IMs in a loop must not make the list grow without end.
constexpr size_t kMaxRemembered = 1000;
} // namespace

LinkWatch::LinkWatch(QObject *parent) : QObject(parent), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_clock.start();
    connect(m_timer, &QTimer::timeout, this, &LinkWatch::onTimer);
}

void LinkWatch::start() {
    m_state = State::Quiet;
    m_lastHeard = m_clock.elapsed();
    m_timer->start(m_timers.quietMs);
}

void LinkWatch::stop() {
    m_sent.clear();
    m_state = State::Off;
    m_timer->stop();
}

void LinkWatch::heard() {
    // Only the time is noted; the timer, when it fires, looks at it.
    m_lastHeard = m_clock.elapsed();
    if (m_state == State::Asking) {
        m_state = State::Quiet;
        m_timer->start(m_timers.quietMs);
    }
}

void LinkWatch::onTimer() {
    if (m_state == State::Quiet) {
        const qint64 quiet = m_clock.elapsed() - m_lastHeard;
        if (quiet < m_timers.quietMs) {
            m_timer->start(int(m_timers.quietMs - quiet));
            return;
        }
        m_state = State::Asking;
        m_timer->start(m_timers.answerMs);
        emit askServer();
    } else if (m_state == State::Asking) {
        m_state = State::Off;
        emit lost();
    }
}

void LinkWatch::forgetOld() {
    const qint64 since = m_clock.elapsed() - m_timers.doubtMs;
    while (!m_sent.empty() && (m_sent.front().at < since || m_sent.size() > kMaxRemembered))
        m_sent.pop_front();
}

void LinkWatch::sentIM(const QString &partner) {
    m_sent.push_back({m_clock.elapsed(), partner});
    forgetOld();
}

QStringList LinkWatch::takeInDoubt() {
    forgetOld();
    QStringList partners;
    for (const Sent &s : m_sent)
        partners << s.partner;
    m_sent.clear();
    return partners;
}

} // namespace toc
