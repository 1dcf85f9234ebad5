// The client soak: one real window (a child process) signed on to
// vorkle-devserver for a million IMs (VORKLE_SOAK_IMS) in bursts of
// kSoakBurstIms from 50 partners, closing and switching conversations
// between bursts as a person would. Reported: the client's RSS after the
// first 100,000 IMs and after the last burst, its CPU per IM over the first
// and the last 100,000, and the IMs lost or duplicated (every transcript
// is checked, the IMs being numbered per partner).
#include "devserver_bench_server.h"
#include "e2e_bench_child.h"
#include "e2e_bench_parent.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {

using namespace e2ebench;

constexpr int kSetupMs = 30000;
constexpr int kBurstMs = 300000;
constexpr int kWindowIms = 100000; // the first and the last 100,000

int soakBursts() {
    const qint64 ims = qEnvironmentVariableIsSet("VORKLE_SOAK_IMS")
                           ? qEnvironmentVariable("VORKLE_SOAK_IMS").toLongLong()
                           : 1000000;
    return int(std::max<qint64>(1, ims / kSoakBurstIms));
}

void BM_ClientSoak(benchmark::State &state) {
    const int bursts = soakBursts();
    const int window = std::clamp(kWindowIms / kSoakBurstIms, 1, bursts);
    for (auto _ : state) {
        DevServerChild server;
        if (!server.start({})) {
            state.SkipWithError("vorkle-devserver did not start");
            return;
        }
        Child client(
            QStringLiteral(E2E_BENCH_CLIENT_PATH),
            {QStringLiteral("--soak"), QString::number(server.port()), QString::number(bursts)},
            true);
        if (!client.waitForLine("READY", kSetupMs)) {
            state.SkipWithError("the client did not sign on");
            return;
        }
        QString failure;
        std::vector<std::unique_ptr<Partner>> partners;
        if (!startPartners(partners, kSoakPartners, server.port(), &failure, kSetupMs)) {
            state.SkipWithError("the partners did not sign on");
            return;
        }
        std::vector<double> rssKiB, cpuMs;
        QElapsedTimer clock;
        clock.start();
        for (int b = 0; b < bursts; ++b) {
            for (auto &p : partners)
                p->send(b * kSoakImsPerPartnerAndBurst, kSoakImsPerPartnerAndBurst, soakMessage);
            const auto done = client.waitForLine("BURST " + QByteArray::number(b) + ' ', kBurstMs);
            if (!failure.isEmpty() || !done) {
                state.SkipWithError(
                    failure.isEmpty() ? qPrintable(QStringLiteral("burst %1 did not arrive").arg(b))
                                      : qPrintable(failure));
                return;
            }
            const QList<QByteArray> f = done->split(' ');
            rssKiB.push_back(f.value(0).toDouble());
            cpuMs.push_back(f.value(1).toDouble());
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        const auto end = client.waitForLine("END ", kBurstMs);
        const int problems = end ? end->split(' ').value(0).toInt() : -1;
        if (problems != 0)
            std::fprintf(stderr, "soak: %s\n", end ? end->constData() : "no end line");
        const auto perIm = [&](int from) {
            return std::accumulate(cpuMs.begin() + from, cpuMs.begin() + from + window, 0.0) *
                   1000 / (double(window) * kSoakBurstIms);
        };
        state.counters["IMs"] = double(bursts) * kSoakBurstIms;
        state.counters["IMs/s"] = double(bursts) * kSoakBurstIms / seconds;
        state.counters["rss_MiB_first"] = rssKiB[size_t(window - 1)] / 1024;
        state.counters["rss_MiB_last"] = rssKiB.back() / 1024;
        state.counters["rss_growth_%"] = (rssKiB.back() / rssKiB[size_t(window - 1)] - 1) * 100;
        state.counters["cpu_us/IM_first"] = perIm(0);
        state.counters["cpu_us/IM_last"] = perIm(bursts - window);
        state.counters["problems"] = problems;
        for (size_t b = 0; b < rssKiB.size(); ++b)
            std::fprintf(stderr, "soak burst %zu: RSS %.0f KiB, CPU %.1f ms\n", b, rssKiB[b],
                         cpuMs[b]);
        if (problems != 0)
            state.SkipWithError("IMs lost or duplicated");
    }
}
BENCHMARK(BM_ClientSoak)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
