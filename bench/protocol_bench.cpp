// Receive path of the protocol control: reassembly alone against memcpy,
// the full path into a connected slot, and growth with input size.
// Reassembly two ways: reads handed over as arrays of their own with each
// frame copied out (append/next, what QelTOCSock once did), and reads
// written straight into the buffer's kept storage with frames used in place
// (appendFrom/nextView), where a frame's bytes are copied once, by the read.
// The socket's own path: a burst handed over at once and read by QelTOCSock
// as its readyRead does, beside the same burst read into one array first.
#include "protocol/framebuffer.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"

#include <QBuffer>
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

// About 120-byte IM frames filling `bytes`.
QByteArray imBurst(qsizetype bytes, quint8 type = toc::Data) {
    const QByteArray line = "IM_IN_ENC2:somebuddy:F:F:T: O:F:L:en:<FONT COLOR=\"#000000\">hello "
                            "there, how are you doing today?</FONT>";
    QByteArray out;
    out.reserve(bytes + 200);
    quint16 seq = 0;
    while (out.size() < bytes)
        out += toc::buildFrame(type, seq++, line);
    return out;
}

void reassemble(const QByteArray &burst, qsizetype readSize, benchmark::State &state) {
    qsizetype frames = 0;
    for (auto _ : state) {
        toc::FrameBuffer buffer;
        QByteArray frame;
        for (qsizetype at = 0; at < burst.size(); at += readSize) {
            // Each read is an array of its own, as a socket read is.
            buffer.append(readSize >= burst.size() ? QByteArray(burst.constData(), burst.size())
                                                   : QByteArray(burst.constData() + at,
                                                                qMin(readSize, burst.size() - at)));
            while (buffer.next(frame))
                ++frames;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(state.iterations() * burst.size());
}

// The buffer lives across iterations as a connection's does; each read is a
// copy from the burst into the buffer's storage, as a socket read would be.
void reassembleInPlace(const QByteArray &burst, qsizetype readSize, benchmark::State &state) {
    qsizetype frames = 0;
    toc::FrameBuffer buffer;
    for (auto _ : state) {
        QByteArrayView frame;
        for (qsizetype at = 0; at < burst.size(); at += readSize) {
            buffer.appendFrom(qMin(readSize, burst.size() - at), [&](char *into, qsizetype max) {
                std::memcpy(into, burst.constData() + at, size_t(max));
                return qint64(max);
            });
            while (buffer.nextView(frame))
                ++frames;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(state.iterations() * burst.size());
}

void BM_Reassembly_OneRead(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    reassemble(burst, burst.size(), state);
}

void BM_Reassembly_1500ByteReads(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    reassemble(burst, 1500, state);
}

void BM_ReassemblyInPlace_OneRead(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    reassembleInPlace(burst, burst.size(), state);
}

void BM_ReassemblyInPlace_1500ByteReads(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    reassembleInPlace(burst, 1500, state);
}

void BM_Memcpy(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    QByteArray target(burst.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), burst.constData(), size_t(burst.size()));
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * burst.size());
}

// What the copying path pays before any frame is cut: a fresh array per
// read. At 32 MiB that is a new mapping whose pages fault in on first touch.
void BM_FreshReadArray(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    for (auto _ : state) {
        QByteArray read(burst.constData(), burst.size());
        benchmark::DoNotOptimize(read.data());
    }
    state.SetBytesProcessed(state.iterations() * burst.size());
}

// Reassembly through QelTOCSock itself: frames its handler only announces
// (IncomingPacket, nobody listening), so what is timed is reading and cutting.
// ReadAll hands the burst over as one fresh array, as the socket's reads
// once did; Device lets the socket's own read code take it from the device.
void BM_SocketPath_OneRead(benchmark::State &state) {
    const bool device = state.range(1) != 0;
    QByteArray burst = imBurst(state.range(0) << 20, toc::FrameError);
    QBuffer source(&burst);
    source.open(QIODevice::ReadOnly);
    QelTOCSock sock;
    for (auto _ : state) {
        source.seek(0);
        if (device)
            sock.processIncoming(source);
        else
            sock.processIncoming(source.readAll());
    }
    state.SetBytesProcessed(state.iterations() * burst.size());
}

void BM_FullPath_InstantMessage(benchmark::State &state) {
    const QByteArray burst = imBurst(state.range(0) << 20);
    QelTOCSock sock;
    qint64 messages = 0;
    QObject::connect(&sock, &QelTOCSock::InstantMessage,
                     [&](const QString &, const QString &m, bool, const QString &) {
                         messages += m.size() > 0;
                     });
    for (auto _ : state) {
        for (qsizetype at = 0; at < burst.size(); at += 1500)
            sock.processIncoming(
                QByteArray(burst.constData() + at, qMin<qsizetype>(1500, burst.size() - at)));
    }
    state.SetBytesProcessed(state.iterations() * burst.size());
    state.counters["frames/s"] = benchmark::Counter(double(messages), benchmark::Counter::kIsRate);
}

void BM_Config2(benchmark::State &state) {
    const int buddies = int(state.range(0));
    QString config = QStringLiteral("CONFIG2:");
    for (int i = 0; i < buddies; ++i) {
        if (i % 100 == 0)
            config += QStringLiteral("g:Group %1\n").arg(i / 100);
        config += QStringLiteral("b:buddy%1\n").arg(i);
    }
    config += QStringLiteral("done:\n");
    QList<QByteArray> frames;
    for (qsizetype at = 8; at < config.size(); at += 60000)
        frames << toc::buildFrame(toc::Data, 0,
                                  (QStringLiteral("CONFIG2:") + config.mid(at, 60000)).toUtf8());
    QelTOCSock sock;
    qsizetype listed = 0;
    QObject::connect(&sock, &QelTOCSock::LoggedIn,
                     [&](const QString &, const QStringList &list) { listed = list.size(); });
    for (auto _ : state) {
        for (const QByteArray &f : frames)
            sock.processIncoming(f);
    }
    state.counters["entries"] = double(listed);
}

} // namespace

BENCHMARK(BM_Memcpy)->Arg(32)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshReadArray)->Arg(32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reassembly_OneRead)
    ->Arg(32)
    ->Arg(64)
    ->Arg(128)
    ->Arg(320)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reassembly_1500ByteReads)->Arg(32)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReassemblyInPlace_OneRead)
    ->Arg(32)
    ->Arg(64)
    ->Arg(128)
    ->Arg(320)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReassemblyInPlace_1500ByteReads)->Arg(32)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SocketPath_OneRead)
    ->ArgNames({"MiB", "device"})
    ->Args({32, 0})
    ->Args({32, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullPath_InstantMessage)->Arg(32)->Arg(320)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Config2)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
