#include "outgoinglines.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace toc {

OutgoingLines::OutgoingLines(std::function<void(const QByteArray &)> write, QObject *parent)
    : QObject(parent), m_write(std::move(write)), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &OutgoingLines::pump);
    auto steady = std::make_shared<QElapsedTimer>();
    steady->start();
    setClock([steady] { return steady->elapsed(); });
}

void OutgoingLines::setClock(std::function<qint64()> now) {
    m_now = std::move(now);
    m_pace.restart(m_now());
}

void OutgoingLines::connectionStarted() {
    connectionEnded();
    m_holding = true;
}

void OutgoingLines::connectionEnded() {
    m_queue.clear();
    m_held.clear();
    m_holding = false;
    m_timer->stop();
    m_pace.restart(m_now());
}

void OutgoingLines::signOnLinesFollow() {
    m_holding = false;
}

void OutgoingLines::signOnDone() {
    m_holding = false;
    std::move(m_held.begin(), m_held.end(), std::back_inserter(m_queue));
    m_held.clear();
    pump();
}

void OutgoingLines::send(const QByteArray &data) {
    if (m_holding) {
        m_held.push_back(data);
        return;
    }
    m_queue.push_back(data);
    pump();
}

void OutgoingLines::pump() {
    // A write may end the connection (and empty the queue) under us.
    while (!m_queue.empty() && m_pace.due(m_now()) <= m_now()) {
        const QByteArray data = std::move(m_queue.front());
        m_queue.pop_front();
        m_pace.count(m_now());
        m_write(data);
    }
    schedule();
}

void OutgoingLines::schedule() {
    if (m_queue.empty()) {
        m_timer->stop();
        return;
    }
    const qint64 wait = m_pace.due(m_now()) - m_now();
    m_timer->start(int(std::clamp<qint64>(wait, 0, 60 * 1000)));
}

} // namespace toc
