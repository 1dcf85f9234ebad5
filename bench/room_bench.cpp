// Member floods into one chat room view, as the window hands them on: every
// name of a frame is one UserUpdate, all in one pass of the event loop.
// Reported per case: the wall time until the list shows the final state,
// the longest time the event loop was kept from running, and the peak
// resident memory above the start. The baseline adds the same number of
// names to a bare QListWidget in one pass.
#include "benchviewhost.h"
#include "guibenchmain.h"
#include "loopprobe.h"
#include "views/ctlchat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <benchmark/benchmark.h>
#include <functional>

namespace {

// One CHAT_UPDATE_BUDDY frame holds at most 65,535 bytes: 32,755
// one-character names, so most of them are repeats.
QStringList oneFrameOfNames(int count) {
    const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << QString(alphabet.at(i % alphabet.size()));
    return names;
}

QStringList distinctNames(int count) {
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("member%1").arg(i, 6, 10, QLatin1Char('0'));
    return names;
}

// Runs work in one pass of the event loop, then spins the loop until the
// list and its count have held still for a few passes.
void measure(benchmark::State &state, QListWidget *list, QLabel *count,
             const std::function<void()> &work) {
    benchprobe::LoopProbe probe;
    benchprobe::resetPeak();
    const long long rssBefore = benchprobe::statusKiB("VmRSS");
    QElapsedTimer wall;
    bool done = false;
    probe.start();
    wall.start();
    QTimer::singleShot(0, [&] {
        work();
        done = true;
    });
    int still = 0;
    int lastCount = -1;
    qint64 settledAt = 0;
    while (still < 20) {
        QCoreApplication::processEvents();
        const bool settled =
            done && list->count() == lastCount && count->text() == QString::number(lastCount);
        if (settled && still == 0)
            settledAt = wall.nsecsElapsed();
        still = settled ? still + 1 : 0;
        lastCount = list->count();
    }
    probe.stop();
    state.SetIterationTime(double(settledAt) / 1e9);
    state.counters["longest_block_ms"] = probe.longestMs();
    state.counters["peak_rss_MB"] = double(benchprobe::statusKiB("VmHWM") - rssBefore) / 1024.0;
    state.counters["listed"] = list->count();
}

std::unique_ptr<ctlChat> shownRoom(BenchViewHost &host) {
    auto view = std::make_unique<ctlChat>(&host);
    view->Chatids = QStringLiteral("room.");
    view->Chatid2 = QStringLiteral("1");
    view->resize(480, 360);
    view->show();
    QCoreApplication::processEvents();
    return view;
}

QListWidget *membersOf(ctlChat *view) {
    return view->findChild<QListWidget *>(QStringLiteral("lstPPL"));
}
QLabel *countOf(ctlChat *view) {
    return view->findChild<QLabel *>(QStringLiteral("labPPL"));
}

// One frame of names joining.
void BM_RoomJoinFrame(benchmark::State &state) {
    const QStringList names = oneFrameOfNames(int(state.range(0)));
    for (auto _ : state) {
        BenchViewHost host;
        auto view = shownRoom(host);
        measure(state, membersOf(view.get()), countOf(view.get()), [&] {
            for (const QString &name : names)
                view->UserUpdate(name, true);
        });
    }
}
BENCHMARK(BM_RoomJoinFrame)
    ->Arg(32755)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// range(1) leaves, spread over a room of range(0) members (who joined
// before, untimed), all in one pass.
void BM_RoomLeaves(benchmark::State &state) {
    const QStringList members = distinctNames(int(state.range(0)));
    const int leaves = int(state.range(1));
    for (auto _ : state) {
        BenchViewHost host;
        auto view = shownRoom(host);
        for (const QString &name : members)
            view->UserUpdate(name, true);
        QListWidget *list = membersOf(view.get());
        while (list->count() != members.size())
            QCoreApplication::processEvents();
        const int step = std::max<int>(1, int(members.size()) / std::max(1, leaves));
        measure(state, list, countOf(view.get()), [&] {
            for (int i = 0; i < leaves; ++i)
                view->UserUpdate(members.at((i * step) % members.size()), false);
        });
    }
}
BENCHMARK(BM_RoomLeaves)
    ->Args({42755, 2000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// About 35 minutes before members were indexed: run it on its own
// (--benchmark_filter=BM_RoomLeaves/75000).
BENCHMARK(BM_RoomLeaves)
    ->Args({75000, 100000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Baseline: the same names added to a bare list in one pass.
void BM_BareListFrame(benchmark::State &state) {
    const QStringList names = oneFrameOfNames(int(state.range(0)));
    for (auto _ : state) {
        QListWidget list;
        QLabel count;
        list.resize(140, 300);
        list.show();
        measure(state, &list, &count, [&] {
            for (const QString &name : names)
                list.addItem(name);
            count.setText(QString::number(list.count()));
        });
    }
}
BENCHMARK(BM_BareListFrame)
    ->Arg(32755)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
