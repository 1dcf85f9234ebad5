#pragma once
// A clock that moves only when the test says: timers run out inside
// advance(), in the order they are due, with now() at their moment.

#include "client/clock.h"

#include <QList>

class ManualClock : public Clock {
    struct ManualTimer : Timer {
        ManualTimer(ManualClock *c, std::function<void()> f) : clock(c), fire(std::move(f)) {
            clock->m_timers.append(this);
        }
        ~ManualTimer() override { clock->m_timers.removeOne(this); }
        void start(qint64 ms) override { due = clock->m_now + qMax<qint64>(0, ms), active = true; }
        void stop() override { active = false; }
        bool isActive() const override { return active; }
        ManualClock *clock;
        std::function<void()> fire;
        qint64 due = 0;
        bool active = false;
    };
    QList<ManualTimer *> m_timers;
    qint64 m_now = 0;

  public:
    qint64 now() const override { return m_now; }
    std::unique_ptr<Timer> timer(std::function<void()> fire) override {
        return std::make_unique<ManualTimer>(this, std::move(fire));
    }
    void advance(qint64 ms) {
        const qint64 until = m_now + ms;
        for (ManualTimer *next = nullptr;; next = nullptr) {
            for (ManualTimer *t : std::as_const(m_timers))
                if (t->active && t->due <= until && (!next || t->due < next->due))
                    next = t;
            if (!next)
                break;
            m_now = next->due;
            next->active = false;
            next->fire();
        }
        m_now = until;
    }
};
