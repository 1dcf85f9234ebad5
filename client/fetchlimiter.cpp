#include "fetchlimiter.h"

#include <algorithm>

FetchLimiter::FetchLimiter(int slotCount, qint64 budgetBytes, QObject *parent)
    : QObject(parent), m_slots(slotCount), m_budget(budgetBytes) {}

FetchLimiter &FetchLimiter::buddyIcons() {
    static FetchLimiter icons(kIconSlots, kIconBudget);
    return icons;
}

void FetchLimiter::request(QObject *owner, std::function<void()> start) {
    release(owner);
    QMetaObject::Connection gone =
        connect(owner, &QObject::destroyed, this, [this, owner] { release(owner); });
    m_waiting.push_back({owner, std::move(start), 0, gone, ++m_serial});
    admit();
}

void FetchLimiter::admit() {
    while (int(m_running.size()) < m_slots && !m_waiting.empty()) {
        m_running.push_back(std::move(m_waiting.front()));
        m_waiting.pop_front();
        // Queued, so that a fetch never starts inside another's release;
        // only if it still holds its slot by then.
        const Fetch &admitted = m_running.back();
        QMetaObject::invokeMethod(
            admitted.owner,
            [this, serial = admitted.serial] {
                for (const Fetch &f : m_running) {
                    if (f.serial == serial) {
                        // A copy: start() may release the slot it runs in.
                        const std::function<void()> start = f.start;
                        start();
                        return;
                    }
                }
            },
            Qt::QueuedConnection);
    }
}

bool FetchLimiter::take(QObject *owner, qint64 bytes) {
    const auto fetch = std::find_if(m_running.begin(), m_running.end(),
                                    [owner](const Fetch &f) { return f.owner == owner; });
    if (fetch == m_running.end() || bytes > m_budget - m_held)
        return false;
    fetch->bytes += bytes;
    m_held += bytes;
    return true;
}

void FetchLimiter::release(QObject *owner) {
    const auto isOwners = [owner](const Fetch &f) { return f.owner == owner; };
    const auto running = std::find_if(m_running.begin(), m_running.end(), isOwners);
    if (running != m_running.end()) {
        disconnect(running->gone);
        m_held -= running->bytes;
        m_running.erase(running);
        admit();
        return;
    }
    const auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(), isOwners);
    if (waiting != m_waiting.end()) {
        disconnect(waiting->gone);
        m_waiting.erase(waiting);
    }
}
