#include "idlewatch.h"

#include "idlesource.h"
#include "protocol/qeltocsock.h"
#include "session.h"

#include <limits>

IdleWatch::IdleWatch(QelTOCSock *toc, Session *session, IdleSource *source, int minutes,
                     Clock &clock, QObject *parent)
    : QObject(parent), m_toc(toc), m_session(session), m_source(source),
      m_limitMs(qint64(qMax(0, minutes)) * 60 * 1000), m_timer(clock.timer([this] { check(); })) {
    connect(session, &Session::signedOn, this, [this] {
        m_idleSent = false;
        check();
    });
    // A new connection starts with the user not idle.
    connect(session, &Session::stateChanged, this, [this](Session::State state) {
        if (state != Session::State::SignedOn) {
            m_timer->stop();
            m_idleSent = false;
        }
    });
}

IdleWatch::~IdleWatch() = default;

void IdleWatch::setMinutes(int minutes) {
    m_limitMs = qint64(qMax(0, minutes)) * 60 * 1000;
    m_timer->stop();
    if (m_limitMs == 0 && m_idleSent) {
        m_idleSent = false;
        if (m_session->isSignedOn())
            m_toc->SetIdleSeconds(0);
    }
    check();
}

void IdleWatch::check() {
    if (m_limitMs == 0 || !m_session->isSignedOn())
        return;
    const qint64 idle = qMax<qint64>(0, m_source->idleMs());
    if (m_idleSent && idle < m_lastIdleMs) {
        // Input since the last look.
        m_idleSent = false;
        m_toc->SetIdleSeconds(0);
    } else if (!m_idleSent && idle >= m_limitMs) {
        m_idleSent = true;
        m_toc->SetIdleSeconds(
            qint32(qMin<qint64>(idle / 1000, std::numeric_limits<qint32>::max())));
    }
    m_lastIdleMs = idle;
    // An idle user is looked at often; else once the limit would be reached.
    m_timer->start(m_idleSent ? kIdlePollMs : m_limitMs - idle);
}
