// The devserver soak: 200 clients signed on to vorkle-devserver (a child
// process) send mixed traffic for VORKLE_SOAK_SECONDS (default 600): IMs,
// away and idle changes, rooms joined, talked in and left, buddies added
// and removed, about two actions a second each. Every client checks what it
// receives (devserver_bench_soakclient.h); the run fails at the first loss
// or reordering. The server's resident memory is sampled every five
// seconds; flat means the last sample is close to the one after a minute.
#include "devserver_bench_server.h"
#include "devserver_bench_soakclient.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kClients = 200;
constexpr int kTickMs = 50;
constexpr double kActionsPerSecond = 2.0; // per client
constexpr int kSampleMs = 5000;
constexpr int kWaitMs = 120000; // for sign-on and for the traffic to drain

int soakSeconds() {
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("VORKLE_SOAK_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : 600;
}

using Clients = std::vector<std::unique_ptr<SoakClient>>;

bool everyClient(const Clients &clients, bool (SoakClient::*test)() const) {
    return std::all_of(clients.begin(), clients.end(),
                       [test](const auto &c) { return ((*c).*test)(); });
}

// Everyone's lines are handled once every client's first barrier is
// answered; what those lines caused has arrived once the second one is.
bool drain(Clients &clients, const SoakTotals &totals) {
    for (int round = 1; round <= 2; ++round) {
        for (auto &c : clients)
            c->sendBarrier();
        if (!spinUntil(
                [&] {
                    return !totals.failure.isEmpty() ||
                           std::all_of(clients.begin(), clients.end(), [round](const auto &c) {
                               return c->barriersAnswered() >= round;
                           });
                },
                kWaitMs))
            return false;
    }
    return true;
}

void report(benchmark::State &state, const SoakTotals &t, const QList<qint64> &rss,
            qint64 rssAfterMinute, double seconds) {
    const auto count = [&](const char *name, qint64 value) {
        state.counters[name] = double(value);
    };
    count("clients", kClients);
    count("seconds", qint64(seconds));
    count("commands", t.commands);
    count("ims", t.imsSent);
    count("room_msgs_sent", t.chatSent);
    count("room_msgs_received", t.chatReceived);
    count("room_joins", t.roomJoins);
    count("room_leaves", t.roomLeaves);
    count("away_changes", t.awayChanges);
    count("idle_changes", t.idleChanges);
    count("buddy_adds", t.buddyAdds);
    count("buddy_removes", t.buddyRemoves);
    count("presence_received", t.presenceReceived);
    count("rss_first_KiB", rss.value(0));
    count("rss_1min_KiB", rssAfterMinute);
    count("rss_last_KiB", rss.value(rss.size() - 1));
    count("rss_peak_KiB", rss.isEmpty() ? 0 : *std::max_element(rss.begin(), rss.end()));
}

void BM_DevServerSoak(benchmark::State &state) {
    const int seconds = soakSeconds();
    DevServerChild server;
    // Low password rounds: 200 sign-ons are not what this measures.
    if (!server.start({QStringLiteral("--password-iterations"), QStringLiteral("1000")})) {
        state.SkipWithError("vorkle-devserver did not start");
        return;
    }
    for (auto _ : state) {
        SoakTotals totals;
        Clients clients;
        for (int i = 0; i < kClients; ++i) {
            clients.push_back(std::make_unique<SoakClient>(i, kClients, &totals));
            clients.back()->start(server.port());
        }
        if (!spinUntil([&] { return everyClient(clients, &SoakClient::signedOn); }, kWaitMs)) {
            state.SkipWithError("sign-on did not complete");
            return;
        }
        spinUntil([] { return false; }, 1000); // toc_init_done and its presence lines

        QRandomGenerator rng(20261208);
        QList<qint64> rss{server.kib("VmRSS")};
        qint64 rssAfterMinute = -1;
        QElapsedTimer clock;
        clock.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const double chance = kActionsPerSecond * kTickMs / 1000.0;
            for (auto &c : clients) {
                if (rng.generateDouble() < chance)
                    c->act(rng);
            }
            if (!everyClient(clients, &SoakClient::connected))
                totals.fail(QStringLiteral("a client lost its connection"));
        });
        const auto takeSample = [&] {
            rss << server.kib("VmRSS");
            if (rssAfterMinute < 0 && clock.elapsed() >= 60000)
                rssAfterMinute = rss.last();
        };
        QTimer sample;
        QObject::connect(&sample, &QTimer::timeout, [&] {
            takeSample();
            const qint64 elapsed = clock.elapsed() / 1000;
            if (rss.size() % 12 == 1)
                std::fprintf(stderr, "soak %4lld s: server RSS %lld KiB, %lld commands\n", elapsed,
                             rss.last(), totals.commands);
        });
        tick.start(kTickMs);
        sample.start(kSampleMs);
        spinUntil([&] { return !totals.failure.isEmpty(); }, seconds * 1000);
        tick.stop();
        sample.stop();
        const double ran = clock.elapsed() / 1000.0;

        if (!drain(clients, totals) && totals.failure.isEmpty())
            totals.fail(QStringLiteral("the traffic did not drain in time"));
        takeSample(); // after the drain
        QHash<QString, SoakPresence> actual;
        for (int i = 0; i < kClients; ++i)
            actual.insert(SoakClient::nameOf(i), clients[size_t(i)]->ownPresence());
        for (auto &c : clients)
            c->checkAtEnd(actual);
        if (totals.imsReceived != totals.imsSent)
            totals.fail(QStringLiteral("%1 IMs sent, %2 received")
                            .arg(totals.imsSent)
                            .arg(totals.imsReceived));
        server.takeLog(); // sign-ons only: every error reached a client and failed it
        report(state, totals, rss, rssAfterMinute, ran);
        if (!totals.failure.isEmpty()) {
            state.SkipWithError(qPrintable(totals.failure));
            return;
        }
    }
}
BENCHMARK(BM_DevServerSoak)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

} // namespace
