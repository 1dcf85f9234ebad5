#include "session.h"

#include "conversations.h"
#include "protocol/qeltocsock.h"
#include "sendpacer.h"

#include <QNetworkInformation>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>

qint64 Session::retryDelay(int failures, double random) {
    const double r = qBound(0.0, random, 1.0);
    // The first try comes after 2-5 s.
    if (failures <= 0)
        return kFirstDelayMs + qint64(r * 3000);
    qint64 nominal = kFirstDelayMs;
    for (int i = 0; i < failures && nominal < kMaxDelayMs; ++i)
        nominal *= 2;
    // Then each wait doubles, up to a quarter longer, so that sessions
    // dropped together (a server restart) do not all come back at once,
    // while a server back after half a minute is found within 10 s.
    return qMin(nominal + qint64(r * double(nominal) / 4), kMaxDelayMs);
}

Session::Session(QelTOCSock *toc, Conversations *conversations, Clock &clock,
                 std::function<double()> random, QObject *parent)
    : QObject(parent), m_toc(toc), m_conversations(conversations), m_clock(clock),
      m_random(random ? std::move(random)
                      : [] { return QRandomGenerator::global()->generateDouble(); }) {
    m_timer = m_clock.timer([this] { timerRanOut(); });
    m_ticker = m_clock.timer([this] { tick(); });
    connect(toc, &QelTOCSock::LoggedIn, this, &Session::loggedIn);
    connect(toc, &QelTOCSock::Error, this, [this] {
        // Before the configuration every error is the server refusing the
        // sign-on (a wrong password, too many sign-ons, a blocked account):
        // trying again would only be refused again.
        if (m_state == State::SigningOn)
            refused();
    });
    connect(toc, &QelTOCSock::Disconnected, this, [this] {
        // During a sign-on a refusing server says why in an error line first.
        lost(m_state == State::SignedOn ? QStringLiteral("The server closed the connection.")
                                        : QString());
    });
    connect(toc, &QelTOCSock::WinsockError, this, &Session::lost);
    connect(toc, &QelTOCSock::LoggedOut, this, [this] {
        m_armed = m_retrying = false;
        m_timer->stop();
        m_ticker->stop();
        setState(State::Offline);
    });
    // A room of the old connection answers under its name with a new id.
    connect(toc, &QelTOCSock::JoinedChat, this, [this](const QString &name, qint32 id) {
        const int view = m_conversations->rekeyRoom(name, id);
        if (view >= 0)
            emit roomRejoined(view, id);
    });
}

Session::~Session() = default;

void Session::setState(State state) {
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

void Session::signOn(const Account &account, bool automatic) {
    m_account = account;
    m_armed = automatic;
    m_retrying = false;
    m_failures = 0;
    m_ticker->stop();
    attempt();
}

void Session::attempt() {
    ++m_connection;
    m_timer->stop();
    m_ticker->stop();
    setState(State::SigningOn);
    if (m_armed)
        m_timer->start(kSignOnTimeoutMs);
    m_toc->Login(m_account.name, m_account.password, m_account.server, m_account.port,
                 m_account.authServer);
}

void Session::logout() {
    m_armed = m_retrying = false;
    m_timer->stop();
    m_ticker->stop();
    ++m_connection;
    m_toc->LogOff();
    setState(State::Offline);
}

void Session::retryNow() {
    if (m_state == State::Waiting)
        attempt();
}

void Session::networkBack() {
    retryNow();
}

void Session::watchNetwork() {
    if (!QNetworkInformation::loadDefaultBackend() || !QNetworkInformation::instance())
        return;
    connect(QNetworkInformation::instance(), &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                if (reachability == QNetworkInformation::Reachability::Online)
                    networkBack();
            });
}

int Session::secondsToRetry() const {
    if (m_state != State::Waiting)
        return 0;
    return int((qMax<qint64>(0, m_retryAt - m_clock.now()) + 999) / 1000);
}

void Session::refused() {
    m_armed = m_retrying = false;
    m_timer->stop();
    setState(State::Offline);
}

void Session::lost(const QString &why) {
    // A connection already given up (a sign-on that timed out) ends quietly.
    if (m_state == State::Waiting)
        return;
    // Only a session that lasted forgives the failures before it.
    if (m_state == State::SignedOn && m_clock.now() - m_signedOnAt >= kStableMs)
        m_failures = 0;
    ++m_connection;
    m_timer->stop();
    // The next connection numbers rooms anew: none of the old ids may
    // reach a view.
    m_conversations->detachRooms();
    const bool retrying = m_armed;
    m_retrying = retrying;
    if (!retrying) {
        setState(State::Offline);
        emit connectionEnded(why, false);
        return;
    }
    const qint64 delay = retryDelay(m_failures++, m_random());
    m_retryAt = m_clock.now() + delay;
    m_timer->start(delay);
    setState(State::Waiting);
    emit connectionEnded(why, true);
    tick();
}

void Session::timerRanOut() {
    if (m_state == State::Waiting) {
        attempt();
    } else if (m_state == State::SigningOn) {
        // The server took the connection but never completed the sign-on:
        // the next try closes this one.
        lost(QString());
    }
}

void Session::tick() {
    if (m_state != State::Waiting)
        return;
    const qint64 left = qMax<qint64>(0, m_retryAt - m_clock.now());
    emit countdown(int((left + 999) / 1000));
    // Next at the moment the count drops by one.
    const qint64 toNext = left % 1000 == 0 ? 1000 : left % 1000;
    if (left > 0)
        m_ticker->start(toNext);
}

void Session::loggedIn() {
    m_timer->stop();
    m_ticker->stop();
    m_armed = true;
    m_retrying = false;
    m_signedOnAt = m_clock.now();
    setState(State::SignedOn);
    // After toc_init_done, which goes out once the configuration's
    // handlers have run.
    const quint64 connection = m_connection;
    QMetaObject::invokeMethod(
        this, [this, connection] { rejoinRooms(connection); }, Qt::QueuedConnection);
}

void Session::rejoinRooms(quint64 connection) {
    if (connection != m_connection || m_state != State::SignedOn)
        return;
    // Paced: a burst of joins is what servers disconnect for flooding.
    const QPointer<Session> self(this);
    for (const QString &room : m_conversations->detachedRooms()) {
        SendPacer::Line line;
        line.kind = SendPacer::Kind::Room;
        line.send = [self, room] { return self && self->m_toc->JoinChat(room, kRoomExchange); };
        line.refused = [self, room] {
            const int view = self ? self->m_conversations->detachedRoomView(room) : -1;
            if (view >= 0)
                emit self->rejoinRefused(view);
        };
        SendPacer::submitTo(m_pacer, std::move(line));
    }
    emit signedOn();
}
