// Buddy icons from a hostile icon server on loopback: pictures whose
// header declares a huge size (a PNG and a JPEG), an SVG of many
// translucent rectangles, and a normal 48x48 PNG as the baseline. Each case
// opens `views` conversations at once, each fetching its icon, and reports
// the peak resident memory above the start, what is still resident once
// every fetch has ended, and the longest time the event loop was kept from
// running. The server runs in a thread of its own, so that its work is not
// counted against the window's.
#include "benchviewhost.h"
#include "guibenchmain.h"
#include "loopprobe.h"
#include "views/ctlim.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

QByteArray encoded(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A plain 5792x5792 picture: 130 KB as PNG, 131 MB once decoded.
QByteArray hugePng() {
    QImage image(5792, 5792, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    return encoded(image, "PNG");
}

// An 8x8 JPEG whose frame header is changed to declare 5700x5700: a few
// hundred bytes, 130 MB once decoded.
QByteArray hugeJpeg() {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(QColor(40, 90, 160));
    QByteArray bytes = encoded(image, "JPEG");
    const qsizetype sof = bytes.indexOf("\xff\xc0");
    if (sof >= 0) {
        const char side[2] = {char(5700 >> 8), char(5700 & 0xff)};
        bytes.replace(sof + 5, 2, side, 2);
        bytes.replace(sof + 7, 2, side, 2);
    }
    return bytes;
}

QByteArray translucentSvg(int rectangles) {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"1000\">";
    for (int i = 0; i < rectangles; ++i)
        svg += "<rect width=\"1000\" height=\"1000\" fill=\"#f00\" fill-opacity=\".01\"/>";
    return svg + "</svg>";
}

QByteArray normalPng() {
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30));
    return encoded(image, "PNG");
}

// Answers every complete request with the reply, then closes (or, when
// holding, keeps the connection open without a word more).
class IconServer : public QObject {
  public:
    explicit IconServer(QByteArray reply, bool hold = false)
        : m_reply(std::move(reply)), m_hold(hold) {}
    void listen() {
        m_server = new QTcpServer(this);
        m_server->listen(QHostAddress::LocalHost, 0);
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server->nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (!s->readAll().endsWith("\r\n\r\n"))
                        return;
                    s->write(m_reply);
                    if (!m_hold)
                        s->disconnectFromHost();
                });
                const int now = ++open;
                int seen = mostOpen.load();
                while (now > seen && !mostOpen.compare_exchange_weak(seen, now)) {
                }
                connect(s, &QTcpSocket::disconnected, s, [this, s] {
                    --open;
                    s->deleteLater();
                });
            }
        });
        port = m_server->serverPort();
    }
    quint16 port = 0;
    std::atomic<int> open{0};     // connections open now
    std::atomic<int> mostOpen{0}; // the most open at once

  private:
    QByteArray m_reply;
    bool m_hold = false;
    QTcpServer *m_server = nullptr;
};

// An icon server on a thread of its own, and IM views that fetch from it
// once the event loop runs.
class IconRig {
  public:
    IconRig(const QByteArray &reply, int views, bool hold = false)
        : server(new IconServer(reply, hold)) {
        server->moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(server, &IconServer::listen, Qt::BlockingQueuedConnection);
        host.iconHostName = QStringLiteral("127.0.0.1");
        for (int i = 0; i < views; ++i) {
            open.push_back(std::make_unique<ctlIM>(&host));
            open.back()->IMUser = QStringLiteral("buddy%1").arg(i);
            open.back()->setIconPort(server->port);
        }
    }
    ~IconRig() {
        open.clear();
        QMetaObject::invokeMethod(server, &QObject::deleteLater);
        m_thread.quit();
        m_thread.wait();
    }

    IconServer *server;
    BenchViewHost host;
    std::vector<std::unique_ptr<ctlIM>> open;

  private:
    QThread m_thread;
};

void fetchIcons(benchmark::State &state, const QByteArray &body, const char *type) {
    const int views = int(state.range(0));
    const QByteArray reply =
        QByteArray("HTTP/1.1 200 OK\r\nContent-Type: ") + type + "\r\n\r\n" + body;
    for (auto _ : state) {
        // The views are built first: their fetches start once the loop runs.
        IconRig rig(reply, views);
        const auto &open = rig.open;
        benchprobe::LoopProbe probe;
        benchprobe::resetPeak();
        const long long rssBefore = benchprobe::statusKiB("VmRSS");
        QElapsedTimer wall;
        probe.start();
        wall.start();
        const auto fetching = [&] {
            for (const auto &v : open) {
                auto *socket = v->findChild<QTcpSocket *>(QStringLiteral("sckIcon"));
                if (socket && socket->state() != QAbstractSocket::UnconnectedState)
                    return true;
            }
            return QThreadPool::globalInstance()->activeThreadCount() > 0;
        };
        // Every fetch has started (Timer1) before the ends are counted.
        while (wall.elapsed() < 50 || fetching())
            QCoreApplication::processEvents();
        const qint64 ended = wall.nsecsElapsed();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
        probe.stop();
        state.SetIterationTime(double(ended) / 1e9);
        state.counters["longest_block_ms"] = probe.longestMs();
        state.counters["peak_rss_MB"] = double(benchprobe::statusKiB("VmHWM") - rssBefore) / 1024.0;
        state.counters["kept_rss_MB"] = double(benchprobe::statusKiB("VmRSS") - rssBefore) / 1024.0;
        state.counters["body_KB"] = double(body.size()) / 1024.0;
    }
}

void BM_IconHugePng(benchmark::State &state) {
    static const QByteArray body = hugePng();
    fetchIcons(state, body, "image/png");
}
BENCHMARK(BM_IconHugePng)->Arg(16)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_IconHugeJpeg(benchmark::State &state) {
    static const QByteArray body = hugeJpeg();
    fetchIcons(state, body, "image/jpeg");
}
BENCHMARK(BM_IconHugeJpeg)->Arg(16)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_IconTranslucentSvg(benchmark::State &state) {
    static const QByteArray body = translucentSvg(int(state.range(1)));
    fetchIcons(state, body, "image/svg+xml");
}
BENCHMARK(BM_IconTranslucentSvg)
    ->Args({1, 2000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Baseline: the icon a buddy really has.
void BM_IconNormalPng(benchmark::State &state) {
    static const QByteArray body = normalPng();
    fetchIcons(state, body, "image/png");
}
BENCHMARK(BM_IconNormalPng)->Arg(16)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Every view's icon server sends 4 MiB less 100 bytes and then holds the
// connection. Watched for 12 s: the fetches end at their 10 s deadline.
void BM_IconHeldFetches(benchmark::State &state) {
    const int views = int(state.range(0));
    const QByteArray reply = "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n\r\n" +
                             QByteArray(4 * 1024 * 1024 - 100 - 45, 'x');
    for (auto _ : state) {
        IconRig rig(reply, views, true);
        benchprobe::LoopProbe probe;
        benchprobe::resetPeak();
        const long long rssBefore = benchprobe::statusKiB("VmRSS");
        QElapsedTimer wall;
        probe.start();
        wall.start();
        while (wall.elapsed() < 12000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        probe.stop();
        state.SetIterationTime(double(wall.nsecsElapsed()) / 1e9);
        state.counters["longest_block_ms"] = probe.longestMs();
        state.counters["peak_rss_MB"] = double(benchprobe::statusKiB("VmHWM") - rssBefore) / 1024.0;
        state.counters["most_open"] = rig.server->mostOpen.load();
    }
}
BENCHMARK(BM_IconHeldFetches)
    ->Arg(200)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    // Nothing of the real user's cache is touched.
    QStandardPaths::setTestModeEnabled(true);
    return runWidgetBenchmarks(argc, argv);
}
