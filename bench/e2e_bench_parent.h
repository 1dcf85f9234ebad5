#pragma once
// The parent side of the end-to-end benchmark: the partners (raw TOC
// connections made in the benchmark process) and the child processes.
#include "benchtocclient.h"
#include "devserver_bench_server.h"
#include "e2e_bench_child.h"

#include "protocol/commands.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>
#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace e2ebench {

// This process's environment with QT_QPA_PLATFORM set to the platform.
inline QProcessEnvironment environmentOn(const QString &platform) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    return env;
}

// One partner: a raw TOC2 connection that signs on and sends its IMs.
class Partner : public BenchTocClient {
  public:
    Partner(int index, QString *failure)
        : BenchTocClient(QStringLiteral("partner%1").arg(index, 2, 10, QLatin1Char('0'))),
          m_index(index), m_failure(failure) {}

    // IMs numbered first.. first + count - 1, all in one write: the server
    // takes them as fast as it can. Returns the bytes written.
    qint64 send(int first, int count, QString (*message)(int partner, int seq)) {
        QByteArray out;
        for (int seq = first; seq < first + count; ++seq)
            out += lineFrame(
                toc::cmd::sendIm(QLatin1String(kClientName), message(m_index, seq), false));
        write(out);
        return out.size();
    }

    // The same in writes of about sliceBytes, one every intervalMs: the
    // server drops a reader that has 16 MB waiting.
    qint64 sendPaced(int first, int count, QString (*message)(int partner, int seq),
                     qsizetype sliceBytes, int intervalMs) {
        QByteArray out;
        qint64 bytes = 0;
        for (int seq = first; seq < first + count; ++seq) {
            out += lineFrame(
                toc::cmd::sendIm(QLatin1String(kClientName), message(m_index, seq), false));
            if (out.size() >= sliceBytes) {
                bytes += out.size();
                m_slices.push_back(std::exchange(out, {}));
            }
        }
        bytes += out.size();
        m_slices.push_back(out);
        m_pace.setInterval(intervalMs);
        QObject::connect(&m_pace, &QTimer::timeout, [this] {
            write(m_slices.front());
            m_slices.pop_front();
            if (m_slices.empty())
                m_pace.stop();
        });
        m_pace.start();
        return bytes;
    }

  private:
    void onLine(const QByteArray &line) override {
        if (line.startsWith("ERROR:") && m_failure->isEmpty())
            *m_failure = m_name + QStringLiteral(" got ") + QString::fromUtf8(line);
    }

    int m_index;
    QString *m_failure;
    std::deque<QByteArray> m_slices;
    QTimer m_pace;
};

// Starts `count` partners on the server's port, the first error any of them
// gets written to *failure; false when not all signed on within ms.
inline bool startPartners(std::vector<std::unique_ptr<Partner>> &partners, int count, quint16 port,
                          QString *failure, int ms) {
    for (int i = 0; i < count; ++i) {
        partners.push_back(std::make_unique<Partner>(i, failure));
        partners.back()->start(port);
    }
    return spinUntil(
        [&] {
            return std::all_of(partners.begin(), partners.end(),
                               [](auto &p) { return p->signedOn(); });
        },
        ms);
}

// A child process whose stdout is read line by line.
class Child {
  public:
    explicit Child(const QString &program, const QStringList &args, bool offscreen) {
        if (offscreen)
            m_process.setProcessEnvironment(environmentOn(QStringLiteral("offscreen")));
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput,
                         [this] { m_out += m_process.readAllStandardOutput(); });
        // A profiler to run the child under, e.g. "valgrind --tool=massif".
        QStringList wrapper =
            qEnvironmentVariable("E2E_BENCH_CHILD_WRAPPER").split(u' ', Qt::SkipEmptyParts);
        if (wrapper.isEmpty()) {
            m_process.start(program, args);
        } else {
            const QString profiler = wrapper.takeFirst();
            m_process.start(profiler, wrapper + QStringList{program} + args);
        }
    }
    ~Child() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
    // The rest of the first line starting with `prefix`, once it came.
    std::optional<QByteArray> waitForLine(const QByteArray &prefix, int ms) {
        std::optional<QByteArray> found;
        spinUntil(
            [&] {
                for (const QByteArray &line : m_out.split('\n')) {
                    if (line.startsWith(prefix) && m_out.contains(line + '\n'))
                        found = line.mid(prefix.size());
                }
                return found.has_value() || m_process.state() == QProcess::NotRunning;
            },
            ms);
        return found;
    }
    QProcess &process() { return m_process; }

  private:
    QProcess m_process;
    QByteArray m_out;
};

} // namespace e2ebench
