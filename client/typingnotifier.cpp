#include "typingnotifier.h"

#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "session.h"

TypingNotifier::TypingNotifier(QelTOCSock *toc, Session *session, Clock &clock, QObject *parent)
    : QObject(parent), m_toc(toc), m_session(session), m_clock(clock) {
    // The server forgets the states with the connection.
    connect(session, &Session::stateChanged, this, [this](Session::State state) {
        if (state != Session::State::SignedOn)
            m_partners.clear();
    });
}

TypingNotifier::~TypingNotifier() = default;

void TypingNotifier::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    // Switched off: whoever was told "typing" is told it ended.
    if (!on)
        for (const auto &partner : std::as_const(m_partners))
            if (partner->sent != 0)
                send(*partner, 0);
    m_partners.clear();
    m_enabled = on;
}

void TypingNotifier::send(Partner &partner, int state) {
    partner.sent = state;
    if (state == 2)
        partner.typingSentAt = m_clock.now();
    if (state != 2)
        partner.pause->stop();
    m_toc->SendTypingStatus(partner.name, state);
}

void TypingNotifier::edited(const QString &name, bool hasText) {
    if (!m_enabled || !m_session->isSignedOn() || name.isEmpty())
        return;
    const QString key = toc::normalizeScreenName(name);
    auto it = m_partners.find(key);
    if (it == m_partners.end()) {
        if (!hasText)
            return;
        auto partner = std::make_shared<Partner>();
        partner->name = name;
        partner->pause = m_clock.timer([this, key] { paused(key); });
        it = m_partners.insert(key, partner);
    }
    Partner &partner = **it;
    if (!hasText) {
        if (partner.sent != 0)
            send(partner, 0);
        m_partners.erase(it);
        return;
    }
    partner.pause->start(kPauseMs);
    if (partner.sent != 2 || m_clock.now() - partner.typingSentAt >= kPauseMs)
        send(partner, 2);
}

void TypingNotifier::paused(const QString &key) {
    const auto partner = m_partners.value(key);
    if (partner && partner->sent == 2)
        send(*partner, 1);
}
