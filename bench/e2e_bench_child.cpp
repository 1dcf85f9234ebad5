// The child processes of the end-to-end benchmark: a signed-on client that
// counts the IMs of the flood, and the first-paint programs.
#include "e2e_bench_child.h"

#include "client/clientsettings.h"
#include "client/historyfile.h"
#include "client/historystore.h"
#include "dialogs/frmerr.h"
#include "mainwindow/frmmain.h"
#include "protocol/qeltocsock.h"
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
#include <ctime>
#include <functional>
#include <sys/resource.h>

namespace e2ebench {
namespace {

// Answers every question at once, as a user who always says yes.
class AnsweringDialogs : public DialogProvider {
  public:
    void message(QWidget *, const QString &, const QString &text,
                 std::function<void()> done) override {
        std::fprintf(stderr, "client message box: %s\n", qPrintable(text));
        if (done)
            done();
    }
    void question(QWidget *, const QString &, const QString &, bool,
                  std::function<void(Answer)> done) override {
        done(Answer::Yes);
    }
    void inputText(QWidget *, const QString &, const QString &, const QString &initial,
                   std::function<void(const QString &)> done) override {
        done(initial);
    }
    void pickColor(QWidget *, const QColor &initial,
                   std::function<void(bool, const QColor &)> done) override {
        done(false, initial);
    }
    void pickFont(QWidget *, const QFont &initial,
                  std::function<void(bool, const QFont &)> done) override {
        done(false, initial);
    }
    void saveFileName(QWidget *, const QString &,
                      std::function<void(const QString &)> done) override {
        done({});
    }
    void openFileName(QWidget *, std::function<void(const QString &)> done) override { done({}); }
};

long long peakRssKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void say(const QByteArray &line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Counts routed IMs and reports the figures once the flood is in.
class FloodCounter {
  public:
    void ready() {
        m_hwmBefore = peakRssKiB();
        m_cpuBefore = cpuMs();
        say("READY " + QByteArray::number(m_hwmBefore));
    }
    // True once the last IM of the flood has been counted.
    bool count() {
        if (m_count == 0)
            m_sinceFirst.start();
        return ++m_count == kFloodIms;
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
    long long m_hwmBefore = 0;
    double m_cpuBefore = 0;
    int m_count = 0;
    QElapsedTimer m_sinceFirst;
};

// Lines of the partner's transcript that start with the partner's name.
long long renderedLines(frmMain &w) {
    long long lines = 0;
    for (ctlIM *view : std::as_const(w.imViews)) {
        if (!view || view->IMUser.isEmpty())
            continue;
        const QString prefix = view->IMUser + QLatin1String(": ");
        const QTextDocument *doc = view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document();
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            lines += b.text().startsWith(prefix);
    }
    return lines;
}

void exitAfterTimeout(const char *what) {
    QTimer::singleShot(kChildTimeoutMs, QCoreApplication::instance(), [what] {
        std::fprintf(stderr, "%s: timed out\n", what);
        std::fflush(stderr);
        std::_Exit(3);
    });
}

} // namespace

int runWindowClient(int argc, char **argv, int port, bool openFirst, bool keepHistory) {
    QApplication app(argc, argv);
    frmErr::setSoundEnabled(false);
    // Every run starts from an empty history, so that runs compare.
    ClientSettings().setKeepHistory(keepHistory);
    const QString historyFile = history::pathFor(QString::fromLatin1(kClientName));
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(historyFile + QLatin1String(suffix));
    AnsweringDialogs dialogs;
    frmMain w;
    w.finishBuilding();
    w.setDialogProvider(&dialogs);
    w.show();
    exitAfterTimeout("window client");

    FloodCounter counter;
    // Connected after the window's own handler: counts each IM once routed.
    QObject::connect(w.toc, &QelTOCSock::InstantMessage, &app, [&] {
        if (counter.count()) {
            counter.finish([&] { return renderedLines(w); },
                           [&] { w.history()->waitForWritten(); });
            QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
        }
    });
    QObject::connect(w.toc, &QelTOCSock::Error, &app, [](qint16 code, const QString &text) {
        std::fprintf(stderr, "client got error %d: %s\n", code, qPrintable(text));
    });

    auto *frmLogin = w.findChild<QFrame *>(QStringLiteral("frmLogin"));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&] {
        if (!frmLogin->isHidden())
            return;
        poll.stop();
        if (openFirst) {
            // A conversation the user has open while the others arrive.
            w.txtIM->setText(QStringLiteral("partner00"));
            w.cmdIM->click();
            for (int i = 0; i < w.Tab1->count(); ++i)
                if (w.tabCaption(i) == QLatin1String("partner00"))
                    w.Tab1->setCurrentIndex(i);
        }
        // Let the sign-on's last lines and the first paints settle.
        QTimer::singleShot(300, &app, [&] { counter.ready(); });
    });
    poll.start(20);

    w.findChild<QLineEdit *>(QStringLiteral("txtSn"))->setText(QString::fromLatin1(kClientName));
    w.findChild<QLineEdit *>(QStringLiteral("txtPw"))->setText(QStringLiteral("flood-pw"));
    w.findChild<QLineEdit *>(QStringLiteral("txtServer"))->setText(QStringLiteral("127.0.0.1"));
    w.findChild<QLineEdit *>(QStringLiteral("txtPort"))->setText(QString::number(port));
    w.findChild<QPushButton *>(QStringLiteral("cmdLogin"))->click();

    const int rc = app.exec();
    w.setDialogProvider(nullptr);
    return rc;
}

int runProtocolClient(int argc, char **argv, int port) {
    QCoreApplication app(argc, argv);
    exitAfterTimeout("protocol client");
    QelTOCSock toc;
    FloodCounter counter;
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

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
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
    QTimer::singleShot(1000, &app, [&] {
        app.installEventFilter(&timers);
        startMs = processCpuMs();
        QTimer::singleShot(kIdleSeconds * 1000, &app, [&] {
            const double cpu = processCpuMs() - startMs;
            // The timer that ends the measure is not the window's.
            std::printf("DONE %.3f %.3f\n", cpu / kIdleSeconds,
                        double(timers.count - 1) / kIdleSeconds);
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    });
    return app.exec();
}

} // namespace e2ebench
