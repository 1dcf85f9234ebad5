#pragma once
// How long the user has left keyboard and mouse alone: desktop-wide where
// the X11 screen-saver extension answers (built with libXss and running on
// an X display), else as seen by the program's own windows.

#include <QObject>
#include <memory>

class Clock;

class IdleSource {
  public:
    virtual ~IdleSource() = default;
    // Milliseconds since the last key press or mouse action.
    virtual qint64 idleMs() = 0;
};

// The desktop's idle time, or nullptr where the extension is missing.
std::unique_ptr<IdleSource> desktopIdleSource();

// Input to the program's own windows, seen by a filter on the application.
class AppInputIdleSource : public QObject, public IdleSource {
  public:
    explicit AppInputIdleSource(Clock &clock, QObject *parent = nullptr);
    qint64 idleMs() override;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    Clock &m_clock;
    qint64 m_lastInput;
};

// The desktop's source where there is one, else the program's own.
std::unique_ptr<IdleSource> bestIdleSource(Clock &clock);
