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

    // A tray that appears gets the icon and the notifications, titled with
    // the sender as plain text; once it goes they reach the desktop again.
    void trayComesAndGoes() {
        GuiRig rig;
        QVERIFY(rig.signOn(QStringLiteral("done:\n")));
        mdlTray *tray = rig.w->tray();
        bool available = true;
        tray->trayAvailable = [&available] { return available; };
        tray->followTray();
        QVERIFY(tray->isShown());
        QSignalSpy shown(tray, &mdlTray::messageShown);
        // The body is escaped only for a tray whose messages are read as markup.
        bool markup = true;
        tray->readsMarkup = [&markup] { return markup; };
        QVERIFY(receive(rig, QStringLiteral("IM_IN_ENC2:a&b:F:F:T: O:F:L:en:x<y")));
        QTRY_COMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), (QVariantList{"a&b", "x&lt;y"}));
        markup = false;
        QVERIFY(receive(rig, QStringLiteral("IM_IN_ENC2:c&d:F:F:T: O:F:L:en:x<z")));
        QTRY_COMPARE(shown.size(), 2);
        QCOMPARE(shown.last(), (QVariantList{"c&d", "x<z"}));

        available = false;
        tray->followTray();
        QVERIFY(!tray->isShown());
        const qsizetype before = m_fake.calls.size();
        QVERIFY(receive(rig, QStringLiteral("IM_IN_ENC2:bob:F:F:T: O:F:L:en:hi")));
        QTRY_COMPARE(m_fake.calls.size(), before + 1);
        QCOMPARE(m_fake.calls.last().texts.at(1), QStringLiteral("bob"));
        QCOMPARE(shown.size(), 2);
    }
};

QTEST_MAIN(TestWindowNotify)
#include "tst_windownotify.moc"
