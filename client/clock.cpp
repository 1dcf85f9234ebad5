#include "clock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace {

class QtTimer : public Clock::Timer {
  public:
    explicit QtTimer(std::function<void()> fire) {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(fire));
    }
    void start(qint64 ms) override {
        // A QTimer counts in int milliseconds: longer waits (idle limits of
        // weeks) are cut to about 24 days, which no session outlives.
        m_timer.start(int(std::clamp<qint64>(ms, 0, std::numeric_limits<int>::max())));
    }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

  private:
    QTimer m_timer;
};

class SystemClock : public Clock {
  public:
    SystemClock() { m_elapsed.start(); }
    qint64 now() const override { return m_elapsed.elapsed(); }
    std::unique_ptr<Timer> timer(std::function<void()> fire) override {
        return std::make_unique<QtTimer>(std::move(fire));
    }

  private:
    QElapsedTimer m_elapsed;
};

} // namespace

Clock &Clock::system() {
    static SystemClock clock;
    return clock;
}
