// 200 clients signed on to vorkle-devserver (a child process, so that its
// peak memory is its own), each sending IMs to the others as fast as the
// server takes them. Every receiver checks that the IMs of each sender
// arrive complete and in order. Baseline: the same clients and traffic
// through a bare in-process relay that only forwards lines. Then the cost
// of signing on with the password derivation at 1,000 and 100,000 rounds.
// The soak, mixed traffic for minutes, is in devserver_bench_soak.cpp.
#include "benchtocclient.h"
#include "devserver_bench_server.h"
#include "protocol/commands.h"
#include "protocol/framebuffer.h"
#include "protocol/wire.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kClients = 200;
constexpr int kImsPerClient = 50; // per iteration: 10,000 IMs in all
constexpr int kTimeoutMs = 60000;

QString clientName(int i) {
    return QStringLiteral("bench%1").arg(i, 3, 10, QLatin1Char('0'));
}

struct Totals {
    qint64 delivered = 0;
    QString failure;
};

class BenchClient : public BenchTocClient {
  public:
    BenchClient(int index, Totals *totals)
        : BenchTocClient(clientName(index)), m_index(index), m_totals(totals) {}

    // Queues count IMs, to the next clients in turn, in one write.
    void sendIms(int count) {
        QByteArray out;
        for (int j = 0; j < count; ++j) {
            const int target = (m_index + 1 + j % (kClients - 1)) % kClients;
            const int seq = m_sent[target]++;
            out += lineFrame(toc::cmd::sendIm(clientName(target),
                                              QStringLiteral("<b>m</b> %1").arg(seq), false));
        }
        write(out);
    }

  private:
    void onLine(const QByteArray &bytes) override {
        const QString line = QString::fromUtf8(bytes);
        if (line.startsWith(QLatin1String("IM_IN_ENC2:"))) {
            const QStringList f = toc::splitFields(line, 10);
            const int space = f.value(9).lastIndexOf(QLatin1Char(' '));
            const int seq = f.value(9).mid(space + 1).toInt();
            int &expected = m_expected[f.value(1)];
            if (seq != expected && m_totals->failure.isEmpty())
                m_totals->failure = QStringLiteral("%1 got IM %2 from %3, expected %4")
                                        .arg(m_name)
                                        .arg(seq)
                                        .arg(f.value(1))
                                        .arg(expected);
            expected = seq + 1;
            ++m_totals->delivered;
        } else if (line.startsWith(QLatin1String("ERROR:")) && m_totals->failure.isEmpty()) {
            m_totals->failure = m_name + QStringLiteral(" got ") + line;
        }
    }

    int m_index;
    Totals *m_totals;
    QHash<int, int> m_sent;
    QHash<QString, int> m_expected;
};

// The baseline: accepts the same clients, answers their sign-on with the
// fewest lines they need, and forwards every toc_send_im as an IM_IN_ENC2
// line to the named client. No store, no privacy, no command parser.
class Relay {
  public:
    Relay() {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection())
                m_conns.push_back(std::make_unique<Conn>(this, s));
        });
    }
    quint16 port() const { return m_server.serverPort(); }

  private:
    struct Conn {
        Conn(Relay *relay, QTcpSocket *socket) : relay(relay), socket(socket) {
            QObject::connect(socket, &QTcpSocket::readyRead, [this] { onReadyRead(); });
        }
        void send(const QByteArray &line) {
            socket->write(toc::buildFrame(toc::Data, sequence++, line));
        }
        void onReadyRead() {
            QByteArray bytes = socket->readAll();
            if (!greeted) {
                greeted = true;
                bytes = bytes.mid(10); // "FLAPON\r\n\r\n"
                socket->write(toc::buildFrame(toc::SignOn, sequence++, QByteArray("\0\0\0\1", 4)));
            }
            buffer.append(bytes);
            QByteArray f;
            while (buffer.next(f)) {
                if (quint8(f[1]) != toc::Data)
                    continue;
                const QByteArray line = f.mid(toc::kFlapHeaderSize).chopped(1);
                if (line.startsWith("toc2_login")) {
                    name = line.split(' ').value(3);
                    relay->byName.insert(name, this);
                    send("SIGN_ON:TOC2.0");
                    send("CONFIG2:done:\n");
                } else if (line.startsWith("toc_send_im")) {
                    const QList<QByteArray> parts = line.split('"');
                    if (Conn *target = relay->byName.value(parts.value(1)))
                        target->send("IM_IN_ENC2:" + name + ":F:F:T: O:F:L:en:" + parts.value(3));
                }
            }
        }
        Relay *relay;
        QTcpSocket *socket;
        toc::FrameBuffer buffer;
        QByteArray name;
        quint16 sequence = 0;
        bool greeted = false;
    };

    QTcpServer m_server;
    std::vector<std::unique_ptr<Conn>> m_conns;
    QHash<QByteArray, Conn *> byName;
};

// Signs all clients on, then sends kImsPerClient IMs from each per
// iteration and waits until every one has arrived.
void runTraffic(benchmark::State &state, quint16 port) {
    Totals totals;
    std::vector<std::unique_ptr<BenchClient>> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back(std::make_unique<BenchClient>(i, &totals));
        clients.back()->start(port);
    }
    const auto allSignedOn = [&] {
        for (const auto &c : clients) {
            if (!c->signedOn())
                return false;
        }
        return true;
    };
    if (!spinUntil(allSignedOn, kTimeoutMs)) {
        state.SkipWithError("sign-on did not complete");
        return;
    }
    // Let the last toc_init_done lines and their presence lines settle.
    spinUntil([] { return false; }, 300);

    qint64 expected = 0;
    for (auto _ : state) {
        expected += qint64(kClients) * kImsPerClient;
        for (auto &c : clients)
            c->sendIms(kImsPerClient);
        if (!spinUntil([&] { return totals.delivered >= expected || !totals.failure.isEmpty(); },
                       kTimeoutMs)) {
            state.SkipWithError("IMs did not all arrive in time");
            return;
        }
        if (!totals.failure.isEmpty()) {
            state.SkipWithError(qPrintable(totals.failure));
            return;
        }
    }
    state.counters["IMs/s"] =
        benchmark::Counter(double(totals.delivered), benchmark::Counter::kIsRate);
    state.counters["clients"] = kClients;
}

// Password derivation at its low setting: this measures the traffic; the
// sign-on cost has its own benchmark below.
void BM_DevServerIms(benchmark::State &state) {
    DevServerChild server;
    if (!server.start({QStringLiteral("--keepalive"), QStringLiteral("0"),
                       QStringLiteral("--password-iterations"), QStringLiteral("1000")})) {
        state.SkipWithError("vorkle-devserver did not start");
        return;
    }
    runTraffic(state, server.port());
    state.counters["server_peak_KiB"] = double(server.kib("VmHWM"));
}
BENCHMARK(BM_DevServerIms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_BareRelayIms(benchmark::State &state) {
    Relay relay;
    runTraffic(state, relay.port());
}
BENCHMARK(BM_BareRelayIms)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// Signs on and does nothing else.
class QuietClient : public BenchTocClient {
  public:
    using BenchTocClient::BenchTocClient;

  private:
    void onLine(const QByteArray &) override {}
};

// A signed-on client that keeps one toc_get_status in flight while probing
// and records the longest round trip: a stalled server event loop shows
// here.
class ProbeClient : public BenchTocClient {
  public:
    ProbeClient() : BenchTocClient(QStringLiteral("probe")) {}
    void startProbing() {
        m_probing = true;
        if (!m_waiting)
            ping();
    }
    void stopProbing() { m_probing = false; }
    qint64 longestMs() const { return m_longestMs; }

  private:
    void ping() {
        m_waiting = true;
        m_clock.start();
        write(lineFrame(QStringLiteral("toc_get_status vorklebot")));
    }
    void onLine(const QByteArray &line) override {
        if (!m_waiting || !line.startsWith("UPDATE_BUDDY2:vorklebot:"))
            return;
        m_waiting = false;
        m_longestMs = qMax(m_longestMs, m_clock.elapsed());
        if (m_probing)
            ping();
    }

    QElapsedTimer m_clock;
    qint64 m_longestMs = 0;
    bool m_probing = false;
    bool m_waiting = false;
};

// 20 clients sign on at once, each costing one password derivation with the
// given rounds (a new record the first time, a check after that), while a
// signed-on client measures how long the server takes to answer it.
void BM_DevServerSignOn(benchmark::State &state) {
    constexpr int kSignOns = 20;
    DevServerChild server;
    if (!server.start({QStringLiteral("--keepalive"), QStringLiteral("0"),
                       QStringLiteral("--password-iterations"), QString::number(state.range(0))})) {
        state.SkipWithError("vorkle-devserver did not start");
        return;
    }
    ProbeClient probe;
    probe.start(server.port());
    if (!spinUntil([&] { return probe.signedOn(); }, kTimeoutMs)) {
        state.SkipWithError("the probe did not sign on");
        return;
    }
    spinUntil([] { return false; }, 300);
    for (auto _ : state) {
        std::vector<std::unique_ptr<QuietClient>> clients;
        for (int i = 0; i < kSignOns; ++i) {
            clients.push_back(std::make_unique<QuietClient>(QStringLiteral("signon%1").arg(i)));
            clients.back()->start(server.port());
        }
        probe.startProbing();
        const bool done = spinUntil(
            [&] {
                return std::all_of(clients.begin(), clients.end(),
                                   [](const auto &c) { return c->signedOn(); });
            },
            kTimeoutMs);
        probe.stopProbing();
        if (!done) {
            state.SkipWithError("sign-ons did not complete in time");
            return;
        }
    }
    state.counters["sign-ons/s"] =
        benchmark::Counter(double(state.iterations() * kSignOns), benchmark::Counter::kIsRate);
    state.counters["probe_longest_ms"] = double(probe.longestMs());
}
BENCHMARK(BM_DevServerSignOn)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
