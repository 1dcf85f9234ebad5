// The real main window against hostile servers on loopback: profile URLs
// the user never asked for, a profile page that drips, a server that stops
// answering but keeps its connection open, and View History over a history
// of long lines. Each case reports what it is about (requests that reached
// a service, seconds a fetch or a dead session stayed open, bytes stored)
// and the longest time the event loop was kept from running; the history
// case also the peak resident memory of opening the window.
#include "client/historyfile.h"
#include "client/historystore.h"
#include "dialogs/frmerr.h"
#include "dialogs/frmhistory.h"
#include "guibenchmain.h"
#include "loopprobe.h"
#include "mainwindow/frmmain.h"
#include "protocol/framebuffer.h"
#include "protocol/wire.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

namespace {

bool spinUntil(const std::function<bool()> &done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// A TOC server and its web pages on one port, as TOC2 servers have them:
// a connection that starts with "GET " is a web request, any other a TOC
// client. The TOC side signs the client on and then says only what the
// case makes it say.
class TocWebServer : public QObject {
  public:
    std::function<void(QTcpSocket *)> onWebRequest; // default: a small page
    int webRequests = 0;
    QStringList linesIn; // data lines from the TOC client

    TocWebServer() {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] { onRead(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }
    void sendLine(const QString &line) {
        if (m_toc)
            m_toc->write(toc::buildFrame(toc::Data, m_sequence++, line.toUtf8()));
    }
    bool signedOn() const { return linesIn.contains(QStringLiteral("toc_init_done")); }

  private:
    void onRead(QTcpSocket *s) {
        if (s != m_toc && s->peek(4) == "GET ") {
            if (!s->property("answered").toBool() && s->peek(1 << 16).contains("\r\n\r\n")) {
                s->setProperty("answered", true);
                ++webRequests;
                if (onWebRequest)
                    onWebRequest(s);
                else {
                    s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<b>profile</b>");
                    s->disconnectFromHost();
                }
            }
            return;
        }
        if (s != m_toc) {
            if (m_toc || !s->peek(16).startsWith("FLAPON"))
                return;
            m_toc = s;
            s->read(8);
            s->write(toc::buildFrame(toc::SignOn, m_sequence++, QByteArray("\0\0\0\1", 4)));
        }
        m_in.append(s->readAll());
        QByteArray frame;
        while (m_in.next(frame)) {
            if (quint8(frame[1]) != toc::Data)
                continue;
            QByteArray line = frame.mid(toc::kFlapHeaderSize);
            if (line.endsWith('\0'))
                line.chop(1);
            linesIn << QString::fromUtf8(line);
            if (line.startsWith("toc2_login ")) {
                sendLine(QStringLiteral("SIGN_ON:TOC2.0"));
                sendLine(QStringLiteral("CONFIG2:g:Buddies\nb:bob\ndone:\n"));
            }
        }
    }

    QTcpServer m_server;
    QTcpSocket *m_toc = nullptr;
    toc::FrameBuffer m_in;
    quint16 m_sequence = 0;
};

// Another service on the user's machine: counts the connections it gets.
struct CountingService {
    QTcpServer server;
    int connections = 0;
    CountingService() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = server.nextPendingConnection()) {
                ++connections;
                s->deleteLater();
            }
        });
    }
};

// A main window signed on to the server as "me".
std::unique_ptr<frmMain> signedOnWindow(TocWebServer &server) {
    frmErr::setSoundEnabled(false);
    auto w = std::make_unique<frmMain>();
    w->finishBuilding();
    w->findChild<QLineEdit *>(QStringLiteral("txtSn"))->setText(QStringLiteral("me"));
    w->findChild<QLineEdit *>(QStringLiteral("txtPw"))->setText(QStringLiteral("pw"));
    w->findChild<QLineEdit *>(QStringLiteral("txtServer"))->setText(QStringLiteral("127.0.0.1"));
    w->findChild<QLineEdit *>(QStringLiteral("txtPort"))->setText(QString::number(server.port()));
    w->findChild<QPushButton *>(QStringLiteral("cmdLogin"))->click();
    spinUntil([&] { return server.signedOn(); }, 10000);
    server.sendLine(QStringLiteral("UPDATE_BUDDY2:bob:T:0:0:0: O:"));
    spinUntil([] { return false; }, 200);
    return w;
}

// `lines` GOTO_URL lines that nobody asked for, 20 ms apart, each naming
// another service on the user's machine.
void BM_UnsolicitedProfileUrls(benchmark::State &state) {
    const int lines = int(state.range(0));
    for (auto _ : state) {
        TocWebServer server;
        CountingService service;
        auto w = signedOnWindow(server);
        benchprobe::LoopProbe probe;
        probe.start();
        int sent = 0;
        QTimer pace;
        pace.setInterval(20);
        QObject::connect(&pace, &QTimer::timeout, [&] {
            server.sendLine(QStringLiteral("GOTO_URL:profile:http://127.0.0.1:%1/admin/"
                                           "delete?all=1&n=%2")
                                .arg(service.server.serverPort())
                                .arg(sent));
            if (++sent == lines)
                pace.stop();
        });
        pace.start();
        spinUntil([&] { return sent == lines; }, 60000);
        spinUntil([] { return false; }, 2000);
        probe.stop();
        state.counters["requests_made"] = service.connections;
        state.counters["longest_block_ms"] = probe.longestMs();
    }
}
BENCHMARK(BM_UnsolicitedProfileUrls)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

// The user asks for bob's profile; the page behind the server's answer
// comes one byte every 5 s. Reports how long the fetch took to end: the
// profile window shows the page or the failure, or the connection closes.
void BM_DrippingProfilePage(benchmark::State &state) {
    for (auto _ : state) {
        TocWebServer server;
        QTimer drip;
        QPointer<QTcpSocket> page;
        QElapsedTimer open;
        bool closed = false;
        server.onWebRequest = [&](QTcpSocket *s) {
            page = s;
            open.start();
            s->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 8\r\n\r\n");
            QObject::connect(s, &QTcpSocket::disconnected, [&] { closed = true; });
            drip.start(5000);
        };
        QObject::connect(&drip, &QTimer::timeout, [&] {
            if (page)
                page->write("x");
        });
        auto w = signedOnWindow(server);
        auto *tree = w->findChild<QTreeWidget *>(QStringLiteral("TreeBL"));
        const QList<QTreeWidgetItem *> bob =
            tree->findItems(QStringLiteral("bob"), Qt::MatchExactly | Qt::MatchRecursive);
        if (!bob.isEmpty())
            tree->setCurrentItem(bob.first());
        w->findChild<QAction *>(QStringLiteral("mnuProfile"))->trigger();
        spinUntil(
            [&] {
                return !server.linesIn.isEmpty() &&
                       server.linesIn.last().startsWith("toc_get_info");
            },
            5000);
        server.sendLine(QStringLiteral("GOTO_URL:profile:info?cookie=c&from=me&user=bob"));
        spinUntil([&] { return server.webRequests > 0; }, 5000);
        const auto profileShown = [] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->objectName() == QLatin1String("frmProfile") && top->isVisible())
                    return true;
            return false;
        };
        spinUntil([&] { return closed || profileShown(); }, 120000);
        state.counters["requests_made"] = server.webRequests;
        state.counters["ended_s"] = double(open.elapsed()) / 1000.0;
    }
}
BENCHMARK(BM_DrippingProfilePage)->Iterations(1)->Unit(benchmark::kMillisecond);

// After sign-on the server says nothing more and answers nothing, but its
// kernel keeps acknowledging. Reports when the window said the connection
// was lost (or the limit, 150 s, when it never did).
void BM_HungServer(benchmark::State &state) {
    for (auto _ : state) {
        TocWebServer server;
        auto w = signedOnWindow(server);
        QElapsedTimer since;
        since.start();
        const bool noticed =
            spinUntil([&] { return w->alertWindow() && w->alertWindow()->isVisible(); }, 150000);
        state.counters["noticed"] = noticed;
        state.counters["after_s"] = double(since.elapsed()) / 1000.0;
        state.counters["lines_sent"] = server.linesIn.size();
    }
}
BENCHMARK(BM_HungServer)->Iterations(1)->Unit(benchmark::kMillisecond);

int octal(QFileDevice::Permissions p) {
    return ((p & QFileDevice::ReadOwner) ? 400 : 0) + ((p & QFileDevice::WriteOwner) ? 200 : 0) +
           ((p & QFileDevice::ExeOwner) ? 100 : 0) + ((p & QFileDevice::ReadGroup) ? 40 : 0) +
           ((p & QFileDevice::WriteGroup) ? 20 : 0) + ((p & QFileDevice::ExeGroup) ? 10 : 0) +
           ((p & QFileDevice::ReadOther) ? 4 : 0) + ((p & QFileDevice::WriteOther) ? 2 : 0) +
           ((p & QFileDevice::ExeOther) ? 1 : 0);
}

// `ims` IMs from bob written to the history, each `chars` characters of
// `piece` over and over (the text as a hostile server sends it: bytes that
// are not UTF-8 arrive as one character each and take two bytes once
// stored), then View History on bob, until its page is on screen and
// painted.
void historyView(benchmark::State &state, const QString &piece) {
    const int ims = int(state.range(0));
    const int chars = int(state.range(1));
    const QString text = piece.repeated(chars / piece.size() + 1).left(chars);
    for (auto _ : state) {
        const QString path = history::pathFor(QStringLiteral("me%1").arg(piece.front().unicode()));
        QFile::remove(path);
        HistoryStore store;
        store.open(path);
        QElapsedTimer writing;
        writing.start();
        for (int i = 0; i < ims; ++i)
            store.add(HistoryLine::im(QStringLiteral("bob"), false, HistoryLine::Kind::Message,
                                      QStringLiteral("bob"), text));
        store.waitForWritten();
        store.close();
        const double writeMs = double(writing.elapsed());
        benchprobe::LoopProbe probe;
        benchprobe::resetPeak();
        const long long rssBefore = benchprobe::statusKiB("VmRSS");
        QElapsedTimer opening;
        opening.start();
        probe.start();
        auto *view = new frmHistory(path, QStringLiteral("bob"), nullptr);
        bool shown = false;
        QObject::connect(view, &frmHistory::pageShown, [&] { shown = true; });
        view->show();
        spinUntil([&] { return shown; }, 600000);
        // The page's first paint, as the screen would have it next.
        QCoreApplication::processEvents();
        view->linesView()->viewport()->repaint();
        QCoreApplication::processEvents();
        probe.stop();
        state.counters["shown_ms"] = double(opening.elapsed());
        state.counters["peak_rss_MB"] = double(benchprobe::statusKiB("VmHWM") - rssBefore) / 1024.0;
        state.counters["longest_block_ms"] = probe.longestMs();
        state.counters["shown_chars"] = double(view->linesView()->document()->characterCount());
        state.counters["write_ms"] = writeMs;
        state.counters["file_MB"] =
            double(QFileInfo(path).size() + QFileInfo(path + "-wal").size()) / (1024.0 * 1024.0);
        state.counters["file_mode"] = octal(QFileInfo(path).permissions());
        state.counters["folder_mode"] = octal(QFileInfo(history::folder()).permissions());
        delete view;
    }
}

// One word of 60,000 letters per line; the baseline beside it: 1,000 lines
// of 60 characters.
void BM_HistoryView(benchmark::State &state) {
    historyView(state, QStringLiteral("a"));
}
BENCHMARK(BM_HistoryView)
    ->Args({1000, 60})
    ->Args({1000, 60000})
    ->Args({5000, 60000})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Bytes that are not UTF-8: each stored as two.
void BM_HistoryViewWide(benchmark::State &state) {
    historyView(state, QString(QChar(0xFF)));
}
BENCHMARK(BM_HistoryViewWide)
    ->Args({1000, 65000})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Lines of words in several scripts, right-to-left ones, combining marks
// and emoji, with line breaks written as a client sends them.
void BM_HistoryViewMixed(benchmark::State &state) {
    historyView(state, QString::fromUtf8("word \u05E9\u05DC\u05D5\u05DD \u4F60\u597D "
                                         "e\u0301\u0301\u0301 \U0001F600<br>"));
}
BENCHMARK(BM_HistoryViewMixed)
    ->Args({1000, 60000})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
