// Preloaded (LD_PRELOAD) into a Qt program by e2e_bench: at the first paint
// of any widget it prints "PAINTED <monotonic ns> <CPU ms>" and ends the
// process. The programs timed need no hook of their own, so the real vorkle
// and a bare Qt program are timed the same way.
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

class FirstPaintProbe : public QObject {
  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            rusage u{};
            getrusage(RUSAGE_SELF, &u);
            const double cpuMs = (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
                                 (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
            std::printf("PAINTED %lld %.2f\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec,
                        cpuMs);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

// Runs when the program's application object is constructed.
void installProbe() {
    QCoreApplication::instance()->installEventFilter(new FirstPaintProbe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
