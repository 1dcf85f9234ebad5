// The client end to end, each client in a child process of its own (the
// program e2e_bench_client with a mode argument, see e2e_bench_child.h):
//
// Flood: vorkle-devserver (a child too) pushes 20,000 IMs from 20 partners,
// raw TOC connections made here, into one signed-on client. The client is
// the real main window, with the settings tab selected (every IM goes to a
// background tab) or with the first partner's conversation open (the other
// nineteen are created under it); or one partner sends all 20,000 into its
// conversation on screen; or 20,000 of 2 KB into its hidden conversation,
// whose tab is then selected (the time to its first paint and the longest
// event-loop gap reported). Baseline: the protocol control alone, no
// widgets. The window keeps the conversation history, and three floods run
// again without it. Reported: IMs rendered per second, the client's peak
// RSS before and after, its CPU time per IM; and, with the window cases run
// in turn (the machine is shared and noisy), the ratios of their medians.
//
// Start-up: the real vorkle program from its exec to its first paint,
// beside a bare Qt window program (bench/bare_window.cpp, linked against Qt
// Widgets alone) and the same with one label (the first text loads the
// font database); a probe preloaded into each (first_paint_probe.cpp) ends
// it at its first paint. Offscreen by default; VORKLE_START_PLATFORM=xcb
// times it on an X server.
#include "devserver_bench_server.h"
#include "e2e_bench_child.h"
#include "e2e_bench_parent.h"
#include "privatehome.h"

#include "protocol/commands.h"
#include "protocol/framebuffer.h"
#include "protocol/wire.h"
#include "views/transcriptview.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <sys/mman.h>
#include <utility>
#include <vector>

namespace {

using namespace e2ebench;

constexpr int kSetupTimeoutMs = 30000;
constexpr int kFloodTimeoutMs = 180000;

// About 200 characters of HTML with font tags, different for every IM.
QString floodMessage(int partner, int seq) {
    return QStringLiteral(
               "<HTML><BODY BGCOLOR=\"#FFFFFF\"><FONT FACE=\"Arial\" SIZE=2 COLOR=\"#1040A0\">"
               "<B>Note %1</B> from <I>partner%2</I>: the build is green again &amp; "
               "the tabs fill up.</FONT></BODY></HTML>")
        .arg(seq, 4, 10, QLatin1Char('0'))
        .arg(partner, 2, 10, QLatin1Char('0'));
}

// About 2 KB of text, different for every IM: a little under the longest
// line a server takes.
QString largeMessage(int, int seq) {
    static const QString body = [] {
        const QString filler = QStringLiteral(" the quick brown fox jumps over the lazy dog");
        const QString end = QStringLiteral("</BODY></HTML>");
        QString text = QStringLiteral("<HTML><BODY>Long note 00000:");
        while (toc::cmd::sendIm(QLatin1String(kClientName), text + filler + end, false).size() <
               2000)
            text += filler;
        return text + end;
    }();
    QString message = body;
    return message.replace(22, 5, QStringLiteral("%1").arg(seq, 5, 10, QLatin1Char('0')));
}

// Protocol: the protocol control alone. WindowBackground: 20 partners with
// the settings tab selected. WindowOpen: 20 partners with the first one's
// conversation on screen (the other nineteen are created under it).
// OneOnScreen: one partner sends all the IMs into its conversation on
// screen. HiddenLarge: one partner sends all the IMs, of 2 KB each, into its
// conversation behind the settings tab, which is then selected. The window
// keeps the conversation history, as a user's window does; the NoHistory
// floods are the same without it, to show what it costs.
enum class FloodClient {
    Protocol = 0,
    WindowBackground = 1,
    WindowOpen = 2,
    OneOnScreen = 3,
    HiddenLarge = 4,
    WindowBackgroundNoHistory = 5,
    WindowOpenNoHistory = 6,
    OneOnScreenNoHistory = 7
};

bool withoutHistory(FloodClient kind) {
    return kind == FloodClient::WindowBackgroundNoHistory ||
           kind == FloodClient::WindowOpenNoHistory || kind == FloodClient::OneOnScreenNoHistory;
}

bool onePartner(FloodClient kind) {
    return kind == FloodClient::OneOnScreen || kind == FloodClient::HiddenLarge ||
           kind == FloodClient::OneOnScreenNoHistory;
}

// Whether the transcript lines a flood leaves on screen are what each view
// keeps: its most recent messages (old ones go in batches), fewer of them
// when they are long.
bool keptOnScreen(FloodClient kind, long long lines) {
    using View = TranscriptView;
    if (kind == FloodClient::HiddenLarge)
        return lines * 1900 > View::kLowCharacters / 2 && lines * 1900 <= View::kKeptCharacters;
    if (kind == FloodClient::OneOnScreen || kind == FloodClient::OneOnScreenNoHistory)
        return lines > View::kLowMessages / 2 && lines <= View::kKeptMessages;
    return lines == kFloodIms; // 1,000 a conversation: all kept
}

// One flood into a fresh server and client; false (with the state marked
// as skipped) when anything failed.
bool runFlood(benchmark::State &state, FloodClient kind, std::vector<double> &fields,
              double &seconds) {
    // Its log is small (sign-ons only) and read at the end.
    DevServerChild server;
    if (!server.start({})) {
        state.SkipWithError("vorkle-devserver did not start");
        return false;
    }
    QStringList args{kind == FloodClient::Protocol ? QStringLiteral("--protocol-client")
                                                   : QStringLiteral("--client"),
                     QString::number(server.port())};
    if (kind == FloodClient::WindowOpen || kind == FloodClient::OneOnScreen ||
        kind == FloodClient::WindowOpenNoHistory || kind == FloodClient::OneOnScreenNoHistory)
        args << QStringLiteral("--open-first");
    if (kind == FloodClient::HiddenLarge)
        args << QStringLiteral("--open-after");
    if (withoutHistory(kind))
        args << QStringLiteral("--no-history");
    Child client(QStringLiteral(E2E_BENCH_CLIENT_PATH), args, true);
    if (!client.waitForLine("READY ", kSetupTimeoutMs)) {
        state.SkipWithError("the client did not sign on");
        return false;
    }

    QString failure;
    std::vector<std::unique_ptr<Partner>> partners;
    const int partnerCount = onePartner(kind) ? 1 : kPartners;
    if (!startPartners(partners, partnerCount, server.port(), &failure, kSetupTimeoutMs)) {
        state.SkipWithError("the partners did not sign on");
        return false;
    }

    QElapsedTimer flood;
    flood.start();
    qint64 bytes = 0;
    for (auto &p : partners)
        bytes += kind == FloodClient::HiddenLarge
                     ? p->sendPaced(0, kFloodIms, largeMessage, 1024 * 1024, 100)
                     : p->send(0, kFloodIms / partnerCount, floodMessage);
    const std::optional<QByteArray> done = client.waitForLine("DONE ", kFloodTimeoutMs);
    seconds = flood.nsecsElapsed() / 1e9;
    const std::optional<QByteArray> rendered =
        done ? client.waitForLine("RENDERED ", kSetupTimeoutMs) : std::nullopt;
    const std::optional<QByteArray> opened = kind == FloodClient::HiddenLarge && rendered
                                                 ? client.waitForLine("OPENED ", kSetupTimeoutMs)
                                                 : std::nullopt;
    if (!failure.isEmpty()) {
        state.SkipWithError(qPrintable(failure));
        return false;
    }
    if (!done || !rendered) {
        state.SkipWithError("the IMs did not all arrive in time");
        return false;
    }
    fields.clear();
    for (const QByteArray &f : done->split(' '))
        fields.push_back(f.toDouble());
    if (fields.size() != 4 || !keptOnScreen(kind, rendered->toLongLong())) {
        state.SkipWithError(qPrintable(QStringLiteral("the client shows %1 of %2 IMs")
                                           .arg(QString::fromLatin1(*rendered))
                                           .arg(kFloodIms)));
        return false;
    }
    if (kind == FloodClient::HiddenLarge) {
        const QList<QByteArray> o = opened ? opened->split(' ') : QList<QByteArray>();
        if (o.size() != 3 || o[0].toDouble() < 0) {
            state.SkipWithError("the opened conversation did not paint");
            return false;
        }
        for (const QByteArray &f : o)
            fields.push_back(f.toDouble());
    }
    state.counters["wire_bytes/IM"] = double(bytes) / kFloodIms;
    return true;
}

void BM_ImFlood(benchmark::State &state) {
    const auto kind = FloodClient(state.range(0));
    std::vector<double> fields;
    double rate = 0, before = 0, after = 0, cpuPerIm = 0;
    for (auto _ : state) {
        double seconds = 0;
        if (!runFlood(state, kind, fields, seconds))
            return;
        state.SetIterationTime(seconds);
        rate += kFloodIms / seconds;
        before = std::max(before, fields[0] / 1024);
        after = std::max(after, fields[1] / 1024);
        cpuPerIm += fields[2] * 1000 / kFloodIms;
    }
    const double n = double(state.iterations());
    state.counters["IMs/s"] = rate / n;
    state.counters["peak_MiB_before"] = before;
    state.counters["peak_MiB_after"] = after;
    state.counters["cpu_us/IM"] = cpuPerIm / n;
    if (kind == FloodClient::HiddenLarge) {
        state.counters["open_first_paint_ms"] = fields[4];
        state.counters["open_longest_gap_ms"] = fields[5];
        state.counters["peak_MiB_opened"] = fields[6] / 1024;
    }
}
// The window at rest: CPU and timer events per second, on the settings
// page (where:0, from a second after it shows, while the logo's wave runs),
// behind another tab, minimised, hidden to the tray, and on the settings
// page once the wave has come to rest (where:4).
void BM_Idle(benchmark::State &state) {
    double cpu = 0, timers = 0;
    for (auto _ : state) {
        Child child(QStringLiteral(E2E_BENCH_CLIENT_PATH),
                    {QStringLiteral("--idle"), QString::number(state.range(0))}, true);
        const std::optional<QByteArray> done =
            child.waitForLine("DONE ", (kIdleSeconds + 20) * 1000);
        if (!done) {
            state.SkipWithError("the idle window did not report");
            return;
        }
        const QList<QByteArray> f = done->split(' ');
        cpu += f.value(0).toDouble();
        timers += f.value(1).toDouble();
    }
    state.counters["cpu_ms/s"] = cpu / double(state.iterations());
    state.counters["timers/s"] = timers / double(state.iterations());
}
BENCHMARK(BM_Idle)
    ->ArgName("where")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK(BM_ImFlood)
    ->ArgName("client")
    ->Arg(int(FloodClient::Protocol))
    ->Arg(int(FloodClient::WindowBackground))
    ->Arg(int(FloodClient::WindowOpen))
    ->Arg(int(FloodClient::OneOnScreen))
    ->Arg(int(FloodClient::HiddenLarge))
    ->Arg(int(FloodClient::WindowBackgroundNoHistory))
    ->Arg(int(FloodClient::WindowOpenNoHistory))
    ->Arg(int(FloodClient::OneOnScreenNoHistory))
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(2);

// The windows of the start-up runs: a bare Qt window program, the same with
// one line of text, and the real vorkle program.
enum class StartWindow { Bare, Text, Vorkle };
const char *const kStartWindowNames[] = {"bare", "text", "vorkle"};

struct StartTimes {
    double whole = -1;       // seconds from asking for the child to its end
    double execToPaint = -1; // seconds from its exec to its first paint
    double cpu = -1;         // the child's CPU seconds up to its first paint
};

// One child run that exits at its window's first paint (the preloaded probe
// prints the monotonic clock at the paint); the parent's side of the fork
// records the clock just before exec, in memory shared with the child.
StartTimes firstPaint(StartWindow kind) {
    void *shared =
        mmap(nullptr, sizeof(timespec), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED)
        return {};
    auto *beforeExec = static_cast<timespec *>(shared);
    *beforeExec = {};
    QProcess child;
    // VORKLE_START_PLATFORM="xcb" times the start-up on an X server such as Xvfb.
    QProcessEnvironment env =
        environmentOn(qEnvironmentVariable("VORKLE_START_PLATFORM", QStringLiteral("offscreen")));
    env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FIRST_PAINT_PROBE_PATH));
    env.insert(QStringLiteral("VORKLE_NO_SOUND"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.setChildProcessModifier([beforeExec] { clock_gettime(CLOCK_MONOTONIC, beforeExec); });
    QElapsedTimer t;
    t.start();
    if (kind == StartWindow::Vorkle)
        // A Vorkle already running would otherwise be raised instead.
        child.start(QStringLiteral(VORKLE_APP_PATH), {QStringLiteral("--new-instance")});
    else
        child.start(QStringLiteral(BARE_WINDOW_PATH), kind == StartWindow::Text
                                                          ? QStringList{QStringLiteral("text")}
                                                          : QStringList{});
    StartTimes times;
    const bool finished = child.waitForFinished(60000);
    times.whole = t.nsecsElapsed() / 1e9;
    const QByteArray out = child.readAllStandardOutput();
    const qint64 exec = qint64(beforeExec->tv_sec) * 1000000000 + beforeExec->tv_nsec;
    const QList<QByteArray> fields = out.trimmed().split(' ');
    const qint64 paint = fields.size() == 3 && fields[0] == "PAINTED" ? fields[1].toLongLong() : 0;
    munmap(shared, sizeof(timespec));
    if (!finished || child.exitCode() != 0 || paint == 0 || exec == 0)
        return {};
    times.execToPaint = (paint - exec) / 1e9;
    times.cpu = fields[2].toDouble() / 1e3;
    return times;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()
               ? 0
               : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
}

// The flood's three window cases in turn, so that all see the same
// machine: medians of CPU per IM and their ratios (on screen against
// background tabs; twenty stacked conversations against one on screen).
void BM_FloodRatioInterleaved(benchmark::State &state) {
    const FloodClient kinds[] = {FloodClient::WindowBackground, FloodClient::OneOnScreen,
                                 FloodClient::WindowOpen};
    std::vector<double> cpuPerIm[3], peak[3];
    for (auto _ : state) {
        double sum = 0;
        for (int k = 0; k < 3; ++k) {
            std::vector<double> fields;
            double seconds = 0;
            if (!runFlood(state, kinds[k], fields, seconds))
                return;
            cpuPerIm[k].push_back(fields[2] * 1000 / kFloodIms);
            peak[k].push_back(fields[1] / 1024);
            sum += seconds;
        }
        state.SetIterationTime(sum);
    }
    const char *const names[] = {"background", "on_screen", "stacked"};
    for (int k = 0; k < 3; ++k) {
        state.counters[std::string(names[k]) + "_cpu_us/IM"] = median(cpuPerIm[k]);
        state.counters[std::string(names[k]) + "_peak_MiB"] = median(peak[k]);
    }
    state.counters["on_screen/background"] = median(cpuPerIm[1]) / median(cpuPerIm[0]);
    state.counters["stacked/on_screen"] = median(cpuPerIm[2]) / median(cpuPerIm[1]);
}
BENCHMARK(BM_FloodRatioInterleaved)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

constexpr int kStartRuns = 15;

// window 0 bare, 1 text, 2 vorkle: the child alone, run kStartRuns times.
// The time is the whole child process as the parent sees it.
void BM_StartToFirstPaint(benchmark::State &state) {
    std::vector<double> whole, execToPaint, cpu;
    for (auto _ : state) {
        const StartTimes s = firstPaint(StartWindow(state.range(0)));
        if (s.execToPaint < 0) {
            state.SkipWithError("the child did not paint");
            return;
        }
        state.SetIterationTime(s.whole);
        whole.push_back(s.whole);
        execToPaint.push_back(s.execToPaint);
        cpu.push_back(s.cpu);
    }
    state.SetLabel(kStartWindowNames[state.range(0)]);
    state.counters["median_ms"] = median(whole) * 1e3;
    state.counters["exec_to_paint_median_ms"] = median(execToPaint) * 1e3;
    state.counters["cpu_median_ms"] = median(cpu) * 1e3;
}
BENCHMARK(BM_StartToFirstPaint)
    ->ArgName("window")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kStartRuns);

// The three in turn, so that all see the same machine: ratios of medians,
// for the whole child process, from its exec to its first paint, and for
// the child's CPU time (the least disturbed by other work on the machine).
void BM_StartRatioInterleaved(benchmark::State &state) {
    std::vector<double> whole[3], execToPaint[3], cpu[3];
    for (auto _ : state) {
        double sum = 0;
        for (int k = 0; k < 3; ++k) {
            const StartTimes s = firstPaint(StartWindow(k));
            if (s.execToPaint < 0) {
                state.SkipWithError("a child did not paint");
                return;
            }
            whole[k].push_back(s.whole);
            execToPaint[k].push_back(s.execToPaint);
            cpu[k].push_back(s.cpu);
            sum += s.whole;
        }
        state.SetIterationTime(sum);
    }
    for (int k = 0; k < 3; ++k) {
        state.counters[std::string(kStartWindowNames[k]) + "_ms"] = median(whole[k]) * 1e3;
        state.counters[std::string(kStartWindowNames[k]) + "_exec_ms"] =
            median(execToPaint[k]) * 1e3;
        state.counters[std::string(kStartWindowNames[k]) + "_cpu_ms"] = median(cpu[k]) * 1e3;
    }
    const auto ratio = [](std::vector<double> *v, StartWindow base) {
        return median(v[int(StartWindow::Vorkle)]) / median(v[int(base)]);
    };
    state.counters["vorkle/bare"] = ratio(whole, StartWindow::Bare);
    state.counters["vorkle/text"] = ratio(whole, StartWindow::Text);
    state.counters["exec_vorkle/bare"] = ratio(execToPaint, StartWindow::Bare);
    state.counters["exec_vorkle/text"] = ratio(execToPaint, StartWindow::Text);
    state.counters["cpu_vorkle/bare"] = ratio(cpu, StartWindow::Bare);
    state.counters["cpu_vorkle/text"] = ratio(cpu, StartWindow::Text);
}
BENCHMARK(BM_StartRatioInterleaved)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(kStartRuns);

} // namespace

int main(int argc, char **argv) {
    // The client children (e2e_bench_client) inherit this private home.
    usePrivateHome();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
