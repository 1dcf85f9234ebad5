// Without a tray the window's notifications go to the desktop's
// notification service (run here by the test on the private session bus of
// dbus-run-session), and a click on one leads to its conversation.
#include "fakenotifications.h"
#include "guitestkit.h"
#include "mainwindow/mdltray.h"
#include "protocol/qeltocsock.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSignalSpy>

class TestWindowNotify : public QObject {
    Q_OBJECT

    QDBusConnection m_bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "svc");
    FakeService m_fake;

    bool receive(GuiRig &rig, const QString &line) {
        QSignalSpy spy(rig.w->toc, &QelTOCSock::IncomingPacket);
        rig.server.sendLine(line);
        return waitUntil([&] { return spy.count() > 0; });
    }

  private slots:
    void initTestCase() {
        QVERIFY(m_bus.isConnected());
        QVERIFY(m_bus.registerObject(kPath, &m_fake, QDBusConnection::ExportAllSlots));
        QVERIFY(m_bus.registerService(kService));
    }

    void clickLeadsToTheConversation() {
        GuiRig rig;
        QVERIFY(rig.signOn(QStringLiteral("done:\n")));
        QVERIFY(!rig.w->tray()->isShown());
        QVERIFY(receive(rig, QStringLiteral("IM_IN_ENC2:alice:F:F:T: O:F:L:en:<b>hi</b> & bye")));
        QTRY_COMPARE(m_fake.calls.size(), 1);
        const FakeService::Call &call = m_fake.calls.first();
        QCOMPARE(call.texts, (QStringList{"Vorkle", "alice", "hi &amp; bye"}));
        QCOMPARE(rig.w->selectedTabCaption(), QStringLiteral("Settings"));

        QDBusMessage click = QDBusMessage::createSignal(kPath, kService, "ActionInvoked");
        click.setArguments({call.id, QStringLiteral("default")});
        QVERIFY(m_bus.send(click));
        QTRY_COMPARE(rig.w->selectedTabCaption(), QStringLiteral("alice"));
    }
};

QTEST_MAIN(TestWindowNotify)
#include "tst_windownotify.moc"
