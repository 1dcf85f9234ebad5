#pragma once
// What the child modes of the end-to-end benchmark share: the real window
// with a user who answers every question with yes, signed on through its
// own fields, the child's own figures, and the line protocol to the parent.
#include "devserver_bench_server.h"
#include "e2e_bench_child.h"

#include "dialogs/frmerr.h"
#include "mainwindow/frmmain.h"
#include "protocol/qeltocsock.h"
#include "tests/support/headlessdialogs.h"
#include "views/ctlim.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>

namespace e2ebench {

// Answers every question at once, as a user who always says yes.
class AnsweringDialogs : public HeadlessDialogs {
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
};

// A field of this process's /proc status in KiB ("VmRSS", "VmHWM").
inline long long selfKiB(const QByteArray &field) {
    return procStatusKiB(QCoreApplication::applicationPid(), field);
}
inline long long peakRssKiB() {
    return selfKiB("VmHWM");
}

inline double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

inline void say(const QByteArray &line) {
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

inline void exitAfterTimeout(const char *what, int ms = kChildTimeoutMs) {
    QTimer::singleShot(ms, QCoreApplication::instance(), [what] {
        std::fprintf(stderr, "%s: timed out\n", what);
        std::fflush(stderr);
        std::_Exit(3);
    });
}

// Calls line(text) for each line of the view's transcript that starts with
// the partner's name (what the partner said).
template <typename Line> void forEachPartnerLine(ctlIM *view, Line line) {
    if (!view || view->IMUser.isEmpty())
        return;
    const QString prefix = view->IMUser + QLatin1String(": ");
    const QTextDocument *doc = view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.text().startsWith(prefix))
            line(b.text());
    }
}

// The real window of a child mode: built whole, shown, every question
// answered yes, errors the server sends logged; the child ends itself after
// timeoutMs.
class WindowChild {
  public:
    explicit WindowChild(const char *what, int timeoutMs = kChildTimeoutMs) {
        frmErr::setSoundEnabled(false);
        m_window.finishBuilding();
        m_window.setDialogProvider(&m_dialogs);
        m_window.show();
        exitAfterTimeout(what, timeoutMs);
        QObject::connect(
            m_window.toc, &QelTOCSock::Error, &m_window, [what](qint16 code, const QString &text) {
                std::fprintf(stderr, "%s got error %d: %s\n", what, code, qPrintable(text));
            });
    }
    ~WindowChild() { m_window.setDialogProvider(nullptr); }
    WindowChild(const WindowChild &) = delete;
    WindowChild &operator=(const WindowChild &) = delete;

    // Signs on as kClientName through the window's own login fields;
    // signedOn() runs once the login frame is gone.
    void signOn(int port, std::function<void()> signedOn) {
        auto *frmLogin = m_window.findChild<QFrame *>(QStringLiteral("frmLogin"));
        QObject::connect(&m_poll, &QTimer::timeout, &m_window, [this, frmLogin, signedOn] {
            if (!frmLogin->isHidden())
                return;
            m_poll.stop();
            signedOn();
        });
        m_poll.start(20);
        m_window.findChild<QLineEdit *>(QStringLiteral("txtSn"))
            ->setText(QString::fromLatin1(kClientName));
        m_window.findChild<QLineEdit *>(QStringLiteral("txtPw"))
            ->setText(QStringLiteral("flood-pw"));
        m_window.findChild<QLineEdit *>(QStringLiteral("txtServer"))
            ->setText(QStringLiteral("127.0.0.1"));
        m_window.findChild<QLineEdit *>(QStringLiteral("txtPort"))->setText(QString::number(port));
        m_window.findChild<QPushButton *>(QStringLiteral("cmdLogin"))->click();
    }

    frmMain &window() { return m_window; }

  private:
    AnsweringDialogs m_dialogs; // declared first: outlives the window that asks it
    frmMain m_window;
    QTimer m_poll;
};

} // namespace e2ebench
