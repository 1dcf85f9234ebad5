// A server that stops acknowledging (alive but silent: it neither reads,
// writes nor closes) is reported as a lost connection: the alert, "offline...",
// and later sends say "Not sent".
//
// The test owns its network: main() runs the program again inside a user and
// network namespace of its own (unshare -rn), where there is only loopback,
// and the scripted server's packets are dropped there with nftables. Where
// namespaces are not allowed the test is skipped. The connection's timers
// are shortened through VORKLE_TCP_KEEPALIVE.
#include "guitestkit.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextEdit>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {
constexpr char kInside[] = "VORKLE_DEADLINK_NAMESPACE";
// idle 1 s, probes every 1 s, 2 probes, user timeout 3 s.
constexpr char kTimers[] = "1,1,2,3";
QString g_noNamespace; // why the program could not enter a namespace

// Runs a command; on failure the reason is in *why.
bool run(const QString &program, const QStringList &args, QString *why,
         const QByteArray &input = {}) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    if (p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    *why = program + QLatin1Char(' ') + args.join(QLatin1Char(' ')) + QStringLiteral(": ") +
           (p.error() == QProcess::FailedToStart ? p.errorString()
                                                 : QString::fromLocal8Bit(p.readAll()).trimmed());
    return false;
}
} // namespace

class TestDeadLink : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        if (!g_noNamespace.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no network namespace of our own (") + g_noNamespace +
                             QStringLiteral("), so no packets can be dropped")));
        QString why;
        QVERIFY2(run(QStringLiteral("ip"), {"link", "set", "lo", "up"}, &why), qPrintable(why));
        QVERIFY2(run(QStringLiteral("nft"), {"list", "ruleset"}, &why),
                 qPrintable(why + QStringLiteral(" (scripts/setup.sh installs nftables)")));
    }
    void init() { rig = std::make_unique<GuiRig>(); }
    void cleanup() {
        rig.reset();
        QString why;
        run(QStringLiteral("nft"), {"delete", "table", "inet", "deadlink"}, &why);
    }

    void deadLinkIsReported_data() {
        QTest::addColumn<bool>("typeIM");
        QTest::newRow("idle link: probes unanswered") << false;
        QTest::newRow("IM typed into the dead link: unacknowledged") << true;
    }
    void deadLinkIsReported() {
        QFETCH(bool, typeIM);
        frmMain &w = *rig->w;
        QVERIFY(rig->signOn(QStringLiteral("done:\n")));
        rig->server.sendLine(QStringLiteral("IM_IN_ENC2:bob:F:F:T: O:F:L:en:hi"));
        QVERIFY(waitUntil([&] { return !w.imViews.isEmpty(); }));
        auto *box = w.imViews.last()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
        auto *text = w.imViews.last()->findChild<QTextEdit *>(QStringLiteral("TEXT"));
        // A line break in the box sends it, as Enter does.
        const auto say = [box](const QString &line) {
            box->setPlainText(line + QLatin1Char('\n'));
        };

        const QString port = QString::number(rig->server.port());
        // Both directions: the server neither receives nor acknowledges.
        const QString rules = QStringLiteral("table inet deadlink {\n chain in {\n"
                                             "  type filter hook input priority 0;\n"
                                             "  tcp sport %1 drop\n  tcp dport %1 drop\n }\n}\n")
                                  .arg(rig->server.port());
        QString why;
        QVERIFY2(run(QStringLiteral("nft"), {"-f", "-"}, &why, rules.toUtf8()), qPrintable(why));
        QElapsedTimer sinceDrop;
        sinceDrop.start();
        if (typeIM) {
            // Queued in the kernel, so shown as sent; never acknowledged.
            say(QStringLiteral("still there?"));
            QCOMPARE(text->toPlainText(), QStringLiteral("My Name: still there?\n\n"));
        }

        QVERIFY(waitUntil([&] { return w.alertWindow() && w.alertWindow()->isVisible(); }, 30000));
        qInfo("the dead link was reported %lld ms after its packets were dropped",
              qint64(sinceDrop.elapsed()));
        QVERIFY(!w.toc->isConnected());
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("labStat"))->text(), frmMain::kOffline);
        qInfo("alert: %s", qPrintable(w.alertWindow()->message()));
        say(QStringLiteral("hello?"));
        QVERIFY2(text->toPlainText().endsWith(QStringLiteral("Not sent: you are offline.\n")),
                 qPrintable(text->toPlainText()));
    }

  private:
    std::unique_ptr<GuiRig> rig;
};

int main(int argc, char **argv) {
    setenv("VORKLE_TCP_KEEPALIVE", kTimers, 1);
    if (!qEnvironmentVariableIsSet(kInside)) {
        // Ask first, so that a refusal is a skip and not a failed test.
        FILE *probe = popen("unshare -rn true 2>&1", "r");
        char reason[512] = "unshare could not be run";
        const size_t n = probe ? fread(reason, 1, sizeof reason - 1, probe) : 0;
        if (probe && pclose(probe) == 0) {
            setenv(kInside, "1", 1);
            std::vector<char *> args{const_cast<char *>("unshare"), const_cast<char *>("-rn")};
            args.insert(args.end(), argv, argv + argc);
            args.push_back(nullptr);
            execvp("unshare", args.data());
            std::snprintf(reason, sizeof reason, "unshare could not be started");
        } else if (n > 0) {
            reason[n] = '\0';
        }
        g_noNamespace = QString::fromLocal8Bit(reason).trimmed();
    }
    QApplication app(argc, argv);
    TestDeadLink test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostile_deadlink.moc"
