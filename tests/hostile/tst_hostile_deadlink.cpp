// A server that stops acknowledging (alive but silent: it neither reads,
// writes nor closes) is reported as a lost connection: the alert, "offline...",
// and later sends say "Not sent".
//
// The test owns its network: main() runs the program again inside a user and
// network namespace of its own (unshare -rn), where there is only loopback,
// and the scripted server's packets are dropped there with nftables. Where
// namespaces are not allowed the test is skipped.
#include "guitestkit.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextEdit>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {
constexpr char kInside[] = "VORKLE_DEADLINK_NAMESPACE";

// Runs a command to its end; its output on failure.
QString run(const QString &program, const QStringList &args, const QByteArray &input = {}) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    const bool ok =
        p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ok)
        return QString();
    return program + QStringLiteral(" failed: ") +
           (p.error() == QProcess::FailedToStart ? p.errorString() : QString(p.readAll()));
}
} // namespace

class TestDeadLink : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        if (!qEnvironmentVariableIsSet(kInside))
            QSKIP("unshare -rn could not make a network namespace here (its message is above), "
                  "so no packets can be dropped");
        QString failed = run(QStringLiteral("ip"), {"link", "set", "lo", "up"});
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        failed = run(QStringLiteral("nft"), {"list", "ruleset"});
        QVERIFY2(failed.isEmpty(), qPrintable(failed + " (scripts/setup.sh installs nftables)"));
    }
    void init() { rig = std::make_unique<GuiRig>(); }
    void cleanup() {
        rig.reset();
        run(QStringLiteral("nft"), {"delete", "table", "inet", "deadlink"});
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

        // Both directions: the server neither receives nor acknowledges.
        const QString failed = run(QStringLiteral("nft"), {"-f", "-"},
                                   QStringLiteral("table inet deadlink { chain in {\n"
                                                  "type filter hook input priority 0\n"
                                                  "tcp sport %1 drop\ntcp dport %1 drop\n}\n}\n")
                                       .arg(rig->server.port())
                                       .toUtf8());
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QElapsedTimer sinceDrop;
        sinceDrop.start();
        if (typeIM) {
            // Queued in the kernel, so shown as sent; never acknowledged.
            box->setPlainText(QStringLiteral("still there?\n"));
            QCOMPARE(text->toPlainText(), QStringLiteral("My Name: still there?\n\n"));
        }

        QVERIFY(waitUntil([&] { return w.alertWindow() && w.alertWindow()->isVisible(); }, 30000));
        qInfo("reported %lld ms after the drop: %s", qint64(sinceDrop.elapsed()),
              qPrintable(w.alertWindow()->message()));
        QVERIFY(!w.toc->isConnected());
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("labStat"))->text(), frmMain::kOffline);
        box->setPlainText(QStringLiteral("hello?\n"));
        QVERIFY(text->toPlainText().endsWith(QStringLiteral("Not sent: you are offline.\n")));
    }

  private:
    std::unique_ptr<GuiRig> rig;
};

int main(int argc, char **argv) {
    // Keep-alive after 1 s, probes 1 s apart, 2 of them; user timeout 3 s.
    setenv("VORKLE_TCP_KEEPALIVE", "1,1,2,3", 1);
    if (!qEnvironmentVariableIsSet(kInside) && std::system("unshare -rn true") == 0) {
        setenv(kInside, "1", 1);
        std::vector<char *> args{const_cast<char *>("unshare"), const_cast<char *>("-rn")};
        args.insert(args.end(), argv, argv + argc);
        args.push_back(nullptr);
        execvp("unshare", args.data());
        unsetenv(kInside); // not started: skipped below
    }
    QApplication app(argc, argv);
    TestDeadLink test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostile_deadlink.moc"
