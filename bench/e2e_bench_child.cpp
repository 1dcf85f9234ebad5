// The child processes of the end-to-end benchmark: a signed-on client that
// counts the IMs of the flood, and the first-paint programs.
#include "e2e_bench_child.h"
#include "e2e_bench_childkit.h"
#include "loopprobe.h"

#include "client/clientsettings.h"
#include "client/historyfile.h"
#include "client/historystore.h"
#include "dialogs/frmerr.h"
#include "mainwindow/frmmain.h"
#include "pages/chatimpage.h"
#include "pages/settingspanel.h"
#include "protocol/qeltocsock.h"
#include "uikit/animatedpicture.h"
#include "uikit/dialogprovider.h"
#include "views/ctlim.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>

namespace e2ebench {
namespace {

// Counts routed IMs and reports the figures once the flood is in.
class FloodCounter {
  public:
    void ready() {
        m_hwmBefore = peakRssKiB();
        m_cpuBefore = cpuMs();
        say("READY " + QByteArray::number(m_hwmBefore));
    }
    explicit FloodCounter(int expected) : m_expected(expected) {}
    // True once the last IM of the flood has been counted.
    bool count() {
        if (m_count == 0)
            m_sinceFirst.start();
        return ++m_count == m_expected;
    }
    // Reports the figures, then the count of IMs found where they belong,
    // which is taken after the figures: the check is no part of the flood.
    void finish(const std::function<long long()> &rendered,
                const std::function<void()> &settle = {}) {
        // What the last IMs left pending (layout, paint, the history's
        // writes) belongs to the flood.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (settle)
            settle();
        const double cpu = cpuMs() - m_cpuBefore;
        const qint64 span = m_sinceFirst.elapsed();
        say("DONE " + QByteArray::number(m_hwmBefore) + ' ' + QByteArray::number(peakRssKiB()) +
            ' ' + QByteArray::number(cpu, 'f', 1) + ' ' + QByteArray::number(span));
        say("RENDERED " + QByteArray::number(rendered()));
    }

  private:
    int m_expected;
    long long m_hwmBefore = 0;
    double m_cpuBefore = 0;
    int m_count = 0;
    QElapsedTimer m_sinceFirst;
};

// Lines of the partners' transcripts that start with the partner's name.
long long renderedLines(frmMain &w) {
    long long lines = 0;
    for (ctlIM *view : std::as_const(w.imViews))
        forEachPartnerLine(view, [&](const QString &) { ++lines; });
    return lines;
}

} // namespace

// Selects the first partner's tab and reports the time to its transcript's
// first paint and the longest event-loop gap over the next two seconds
// (what the window still does for the opened conversation).
class TabOpener : public QObject {
  public:
    void open(frmMain &w) {
        ctlIM *view = nullptr;
        for (ctlIM *v : std::as_const(w.imViews))
            if (v && v->IMUser == QLatin1String("partner00"))
                view = v;
        if (!view) {
            say("OPENED -1 -1 -1");
            QCoreApplication::exit(4);
            return;
        }
        view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->viewport()->installEventFilter(this);
        m_probe.start();
        m_clock.start();
        for (int i = 0; i < w.Tab1->count(); ++i)
            if (w.tabCaption(i) == QLatin1String("partner00"))
                w.Tab1->setCurrentIndex(i);
        QTimer::singleShot(2000, this, [this] {
            m_probe.stop();
            say("OPENED " + QByteArray::number(m_firstPaintMs, 'f', 1) + ' ' +
                QByteArray::number(m_probe.longestMs(), 'f', 1) + ' ' +
                QByteArray::number(peakRssKiB()));
            QCoreApplication::exit(0);
        });
    }

  private:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint && m_firstPaintMs < 0)
            m_firstPaintMs = m_clock.nsecsElapsed() / 1e6;
        return false;
    }
    benchprobe::LoopProbe m_probe;
    QElapsedTimer m_clock;
    double m_firstPaintMs = -1;
};

int runWindowClient(int argc, char **argv, int port, const WindowFlood &flood) {
    QApplication app(argc, argv);
    // Every run starts from an empty history, so that runs compare.
    ClientSettings().setKeepHistory(flood.keepHistory);
    const QString historyFile = history::pathFor(QString::fromLatin1(kClientName));
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(historyFile + QLatin1String(suffix));
    WindowChild child("window client");
    frmMain &w = child.window();
    FloodCounter counter(kFloodIms);
    TabOpener opener;
    // Connected after the window's own handler: counts each IM once routed.
    QObject::connect(w.toc, &QelTOCSock::InstantMessage, &app, [&] {
        if (counter.count()) {
            counter.finish([&] { return renderedLines(w); },
                           [&] { w.history()->waitForWritten(); });
            if (flood.openAfter)
                QTimer::singleShot(0, &app, [&] { opener.open(w); });
            else
                QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
        }
    });
    child.signOn(port, [&] {
        if (flood.openFirst) {
            // A conversation the user has open while the others arrive.
            w.PicLogin->chatIM->txtIM->setText(QStringLiteral("partner00"));
            w.PicLogin->chatIM->cmdIM->click();
            for (int i = 0; i < w.Tab1->count(); ++i)
                if (w.tabCaption(i) == QLatin1String("partner00"))
                    w.Tab1->setCurrentIndex(i);
        }
        // Let the sign-on's last lines and the first paints settle.
        QTimer::singleShot(300, &app, [&] { counter.ready(); });
    });
    return app.exec();
}

int runProtocolClient(int argc, char **argv, int port) {
    QCoreApplication app(argc, argv);
    exitAfterTimeout("protocol client");
    QelTOCSock toc;
    FloodCounter counter(kFloodIms);
    long long intact = 0;
    QObject::connect(&toc, &QelTOCSock::LoggedIn, &app,
                     [&] { QTimer::singleShot(300, &app, [&] { counter.ready(); }); });
    QObject::connect(&toc, &QelTOCSock::InstantMessage, &app,
                     [&](const QString &, const QString &message) {
                         // Stands in for rendering: each message is looked at.
                         intact += message.startsWith(QLatin1String("<HTML>")) &&
                                   message.endsWith(QLatin1String("</HTML>"));
                         if (counter.count()) {
                             counter.finish([&] { return intact; });
                             QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
                         }
                     });
    toc.Login(QString::fromLatin1(kClientName), QStringLiteral("flood-pw"),
              QStringLiteral("127.0.0.1"), port, QelTOCSock::kDefaultAuthServer);
    return app.exec();
}

namespace {
// Counts the timer events the application delivers, whoever they are for.
class TimerCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Timer)
            ++count;
        return false;
    }
};

} // namespace

int runIdleWindow(int argc, char **argv, int where) {
    QApplication app(argc, argv);
    frmErr::setSoundEnabled(false);
    frmMain w;
    w.finishBuilding();
    w.show();
    exitAfterTimeout("idle window");
    if (where == 1) {
        w.addTab(QStringLiteral("someone"));
        w.Tab1->setCurrentIndex(w.Tab1->count() - 1);
    } else if (where == 2) {
        w.showMinimized();
    } else if (where == 3) {
        w.hide();
    }
    TimerCounter timers;
    double startMs = 0;
    const auto measure = [&] {
        app.installEventFilter(&timers);
        startMs = cpuMs();
        QTimer::singleShot(kIdleSeconds * 1000, &app, [&] {
            const double cpu = cpuMs() - startMs;
            // The timer that ends the measure is not the window's.
            std::printf("DONE %.3f %.3f\n", cpu / kIdleSeconds,
                        double(timers.count - 1) / kIdleSeconds);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    };
    // The settings page once the logo's wave has come to rest: the cost of
    // a window left open all day.
    QTimer rested;
    QObject::connect(&rested, &QTimer::timeout, &app, [&] {
        if (!w.PicLogin->Image1->isRunning()) {
            rested.stop();
            measure();
        }
    });
    if (where == 4)
        rested.start(100);
    else
        QTimer::singleShot(1000, &app, measure);
    return app.exec();
}

} // namespace e2ebench
