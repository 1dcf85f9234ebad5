#include "sendpacer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {
int slot(SendPacer::Kind kind) {
    return kind == SendPacer::Kind::IM ? 0 : 1;
}
} // namespace

SendPacer::SendPacer(QObject *parent) : QObject(parent), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &SendPacer::pump);
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    setClock([timer] { return timer->elapsed(); });
}

SendPacer::~SendPacer() = default;

void SendPacer::setClock(std::function<qint64()> clock) {
    m_clock = std::move(clock);
    sessionStarted();
}

SendPacer::Submitted SendPacer::submitTo(SendPacer *pacer, Line line) {
    if (pacer)
        return pacer->submit(std::move(line));
    return line.send() ? Submitted::Left : Submitted::Failed;
}

SendPacer::Submitted SendPacer::submit(Line line) {
    const Kind kind = line.kind;
    const qint64 now = m_clock();
    if (!m_holding && m_waiting[slot(kind)].empty() && dueOf(kind) <= now)
        return depart(line, now) ? Submitted::Left : Submitted::Failed;
    m_waiting[slot(kind)].push_back({std::move(line), ++m_order});
    schedule();
    return Submitted::Waits;
}

int SendPacer::waiting() const {
    return int(m_waiting[0].size() + m_waiting[1].size());
}

qint64 SendPacer::dueOf(Kind kind) const {
    const qint64 due = m_pace[slot(kind)].due();
    return m_lastLeftAt < 0 ? due : std::max(due, m_lastLeftAt + kMinGapMs);
}

qint64 SendPacer::nextDeparture() const {
    qint64 next = -1;
    for (Kind kind : {Kind::IM, Kind::Room})
        if (!m_waiting[slot(kind)].empty() && (next < 0 || dueOf(kind) < next))
            next = dueOf(kind);
    return next;
}

bool SendPacer::depart(Line &line, qint64 now) {
    if (!line.send())
        return false;
    m_pace[slot(line.kind)].count(now);
    m_lastLeftAt = now;
    m_lastKind = line.kind;
    m_lastRefused = std::move(line.refused);
    return true;
}

void SendPacer::pump() {
    while (!m_holding) {
        const qint64 now = m_clock();
        // Of the lines that may go, the one submitted first.
        std::deque<Waiting> *from = nullptr;
        for (Kind kind : {Kind::IM, Kind::Room}) {
            std::deque<Waiting> &queue = m_waiting[slot(kind)];
            if (!queue.empty() && dueOf(kind) <= now &&
                (!from || queue.front().order < from->front().order))
                from = &queue;
        }
        if (!from)
            break;
        // Off the queue before anything is called: a callback may submit.
        Line line = std::move(from->front().line);
        from->pop_front();
        const bool sent = depart(line, now);
        if (line.settled)
            line.settled(sent ? Outcome::Sent : Outcome::Failed);
    }
    schedule();
}

void SendPacer::schedule() {
    const qint64 next = nextDeparture();
    if (next < 0 || m_holding) {
        m_timer->stop();
        return;
    }
    m_timer->start(int(std::clamp<qint64>(next - m_clock(), 0, 24 * 3600 * 1000)));
}

void SendPacer::setWarningLevel(int percent) {
    m_pace[slot(Kind::IM)].setRate(warnedImRate(percent));
    schedule();
}

void SendPacer::hold() {
    m_holding = true;
    m_timer->stop();
}

// The server starts a session at its plain levels, whatever the warning.
void SendPacer::sessionStarted() {
    const qint64 now = m_clock();
    m_pace[slot(Kind::IM)].setRate(kImRate);
    for (RatePace &pace : m_pace)
        pace.restart(now);
    m_holding = false;
    schedule();
}

void SendPacer::connectionEnded() {
    std::deque<Waiting> dropped;
    for (std::deque<Waiting> &queue : m_waiting) {
        std::move(queue.begin(), queue.end(), std::back_inserter(dropped));
        queue.clear();
    }
    std::sort(dropped.begin(), dropped.end(),
              [](const Waiting &a, const Waiting &b) { return a.order < b.order; });
    sessionStarted();
    m_lastLeftAt = -1;
    m_lastRefused = nullptr;
    for (Waiting &w : dropped)
        if (w.line.settled)
            w.line.settled(Outcome::Dropped);
}

bool SendPacer::speedLimitHit() {
    if (m_lastLeftAt < 0 || m_clock() - m_lastLeftAt > kRefusalWindowMs)
        return false;
    m_pace[slot(m_lastKind)].refused();
    schedule();
    const std::function<void()> refused = std::exchange(m_lastRefused, nullptr);
    if (!refused)
        return false;
    refused();
    return true;
}
