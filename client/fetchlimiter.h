#pragma once
// Bounds fetches that other people decide on (buddy icons: every open
// conversation fetches one from a server the user does not control). At
// most `slotCount` run at once and the rest wait in the order they asked; the
// bytes the running ones hold together stay within a budget. A fetch is
// named by the object that owns it; one whose owner is destroyed ends.

#include <QObject>
#include <deque>
#include <functional>
#include <vector>

class FetchLimiter : public QObject {
    Q_OBJECT

  public:
    FetchLimiter(int slotCount, qint64 budgetBytes, QObject *parent = nullptr);

    // The buddy icons' limiter: kIconSlots at once, kIconBudget bytes together.
    static constexpr int kIconSlots = 4;
    static constexpr qint64 kIconBudget = 8 * 1024 * 1024;
    static FetchLimiter &buddyIcons();

    // start() runs (from the event loop, in the owner's thread) once a slot
    // is the owner's. A fetch the owner had already is ended first.
    void request(QObject *owner, std::function<void()> start);
    // The owner's running fetch holds `bytes` more. False, and nothing
    // taken, when that would pass the budget or the owner has no slot.
    bool take(QObject *owner, qint64 bytes);
    // The owner's fetch ended, or stopped waiting: its slot and bytes are free.
    void release(QObject *owner);

    int running() const { return int(m_running.size()); }
    int waiting() const { return int(m_waiting.size()); }
    qint64 held() const { return m_held; }

  private:
    struct Fetch {
        QObject *owner;
        std::function<void()> start;
        qint64 bytes;
        QMetaObject::Connection gone;
        quint64 serial;
    };
    void admit();

    const int m_slots;
    const qint64 m_budget;
    qint64 m_held = 0;
    quint64 m_serial = 0;
    std::vector<Fetch> m_running;
    std::deque<Fetch> m_waiting;
};
