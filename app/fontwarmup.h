#pragma once
// Fontconfig reads its whole configuration (every file under /etc/fonts)
// the first time a text is laid out: tens of milliseconds that the first
// paint waits for. Started before the application object, that reading
// overlaps with Qt loading its platform plugin and connecting to the
// display. Where fontconfig is not in the process, nothing happens.
#include <thread>

class FontWarmUp {
  public:
    FontWarmUp();
    ~FontWarmUp();
    // Waits for the reading to end, so that Qt finds the configuration
    // loaded instead of reading it a second time.
    void wait();

  private:
    std::thread m_thread;
};
