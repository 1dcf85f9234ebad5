// A server that stops acknowledging (alive but silent) is reported as a lost
// connection: the alert, "offline...", and later sends say "Not sent". The
// test owns its network: main() runs the program again in a user and network
// namespace of its own (unshare -rn), where nftables drops the scripted
// server's packets; where no namespace can be made the test is skipped.
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

class TestDeadLink : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        if (!qEnvironmentVariableIsSet("VORKLE_DEADLINK_NAMESPACE"))
            QSKIP("unshare -rn could not make a network namespace (its message is above)");
        QCOMPARE(QProcess::execute(QStringLiteral("ip"), {"link", "set", "lo", "up"}), 0);
    }
    void init() { rig = std::make_unique<GuiRig>(); }
    void cleanup() { rig.reset(); }

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
        const QString drop = QStringLiteral(
            "add table inet deadlink; add chain inet deadlink in { type filter hook input priority "
            "0; }; add rule inet deadlink in tcp sport %1 drop; add rule inet deadlink in tcp "
            "dport %1 drop");
        QVERIFY2(QProcess::execute(QStringLiteral("nft"), {drop.arg(rig->server.port())}) == 0,
                 "nft could not drop the packets (scripts/setup.sh installs nftables)");
        QElapsedTimer sinceDrop;
        sinceDrop.start();
        if (typeIM) {
            // Queued in the kernel, so shown as sent; never acknowledged.
            box->setPlainText(QStringLiteral("still there?\n"));
            QCOMPARE(text->toPlainText(), QStringLiteral("My Name: still there?\n"));
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
    qputenv("VORKLE_TCP_KEEPALIVE", "1,1,2,3");
    if (!qEnvironmentVariableIsSet("VORKLE_DEADLINK_NAMESPACE") &&
        std::system("unshare -rn true") == 0) {
        std::vector<char *> args{const_cast<char *>("unshare"), const_cast<char *>("-rn")};
        args.insert(args.end(), argv, argv + argc + 1); // with the closing null
        qputenv("VORKLE_DEADLINK_NAMESPACE", "1");
        execvp("unshare", args.data());
        qunsetenv("VORKLE_DEADLINK_NAMESPACE"); // could not start: skipped
    }
    QApplication app(argc, argv);
    TestDeadLink test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostile_deadlink.moc"
