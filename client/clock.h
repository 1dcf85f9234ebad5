#pragma once
// Time as the session's timers see it: the system's monotonic clock and Qt
// timers, or (in tests) a clock moved by hand, so that minutes of backoff,
// idle time and typing pauses pass without waiting.

#include <QtGlobal>
#include <functional>
#include <memory>

class Clock {
  public:
    // A one-shot timer that calls its function when it runs out.
    class Timer {
      public:
        virtual ~Timer() = default;
        // (Re)starts it: it runs out `ms` from now.
        virtual void start(qint64 ms) = 0;
        virtual void stop() = 0;
        virtual bool isActive() const = 0;
    };

    virtual ~Clock() = default;
    // Milliseconds on a clock that never goes back.
    virtual qint64 now() const = 0;
    virtual std::unique_ptr<Timer> timer(std::function<void()> fire) = 0;

    // The system's clock, for the whole program.
    static Clock &system();
};
