// Desktop notifications against a notification service the test runs
// itself, on the private session bus of dbus-run-session. The service and a
// stranger have connections of their own, as other programs would.
#include "client/desktopnotifications.h"
#include "fakenotifications.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

class TestDesktopNotifications : public QObject {
    Q_OBJECT

    QDBusConnection m_service = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "svc");
    QDBusConnection m_stranger = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "x");
    FakeService m_fake;

    // Signals of one sender arrive in order; the stranger's round trip puts
    // its signal ahead of whatever the service sends next.
    void emitSignal(bool stranger, const QString &name, const QVariantList &args) {
        QDBusMessage message = QDBusMessage::createSignal(kPath, kService, name);
        message.setArguments(args);
        QDBusConnection &from = stranger ? m_stranger : m_service;
        QVERIFY(from.send(message));
        from.interface()->isServiceRegistered(kService);
    }
    void click(uint id) { emitSignal(false, "ActionInvoked", {id, QStringLiteral("default")}); }

  private slots:
    void initTestCase() {
        QVERIFY(m_service.isConnected() && m_stranger.isConnected());
        QVERIFY(m_service.registerObject(kPath, &m_fake, QDBusConnection::ExportAllSlots));
    }
    void init() { m_fake.calls.clear(); }

    // Runs first: the service is registered here, and stays.
    void noServiceNoCall() {
        DesktopNotifications notes;
        QVERIFY(!notes.isAvailable());
        notes.notify("pal", "pal", "dropped");
        QVERIFY(m_service.registerService(kService));
        QTRY_VERIFY(notes.isAvailable());
        notes.notify("later", "later", "shown");
        QTRY_COMPARE(m_fake.calls.size(), 1);
        QCOMPARE(m_fake.calls[0].texts[2], "shown");
    }

    void remoteTextIsPlain() {
        DesktopNotifications notes;
        notes.notify("pal", "<i>pal</i> & co", "<b>x</b> & y");
        QTRY_COMPARE(m_fake.calls.size(), 1);
        QCOMPARE(m_fake.calls[0].texts,
                 QStringList({"Vorkle", "<i>pal</i> & co", "&lt;b&gt;x&lt;/b&gt; &amp; y"}));
        QCOMPARE(m_fake.calls[0].actions, QStringList({"default", "Show"}));
    }

    void replaces_data() {
        QTest::addColumn<QStringList>("keys");    // notified at once
        QTest::addColumn<QList<int>>("replaces"); // per call: the call replaced, or -1
        QTest::newRow("same key") << QStringList{"pal", "pal"} << QList<int>{-1, 0};
        QTest::newRow("other key") << QStringList{"pal", "bud"} << QList<int>{-1, -1};
        QTest::newRow("burst") << QStringList(50, "pal") << QList<int>{-1, 0};
    }
    void replaces() {
        QFETCH(QStringList, keys);
        QFETCH(QList<int>, replaces);
        DesktopNotifications notes;
        for (int i = 0; i < keys.size(); ++i)
            notes.notify(keys[i], keys[i], QString::number(i));
        QTRY_COMPARE(m_fake.calls.size(), replaces.size());
        // Nothing more was on its way: a call sent now arrives next.
        notes.notify("end", "end", "end");
        QTRY_COMPARE(m_fake.calls.last().texts[1], "end");
        QCOMPARE(m_fake.calls.size(), replaces.size() + 1);
        for (int i = 0; i < replaces.size(); ++i)
            QCOMPARE(m_fake.calls[i].replaces, replaces[i] < 0 ? 0 : m_fake.calls[replaces[i]].id);
        QCOMPARE(m_fake.calls[replaces.size() - 1].texts[2], QString::number(keys.size() - 1));
    }

    void busSignals_data() {
        QTest::addColumn<QString>("name");  // after NotificationClosed, "pal" is clicked
        QTest::addColumn<uint>("idOffset"); // from the id of "pal"
        QTest::addColumn<QVariant>("second");
        QTest::addColumn<bool>("stranger");
        QTest::addColumn<bool>("shown"); // "pal" activated
        const QString action = "ActionInvoked", closed = "NotificationClosed";
        const QVariant byUser = 2u, click = QStringLiteral("default");
        QTest::newRow("click") << action << 0u << click << false << true;
        QTest::newRow("other action") << action << 0u << QVariant("reply") << false << false;
        QTest::newRow("unknown id") << action << 1000u << click << false << false;
        QTest::newRow("wrong types") << action << 0u << byUser << false << false;
        QTest::newRow("stranger") << action << 0u << click << true << false;
        QTest::newRow("closed") << closed << 0u << byUser << false << false;
        QTest::newRow("other closed") << closed << 1000u << byUser << false << true;
    }
    void busSignals() {
        QFETCH(QString, name);
        QFETCH(uint, idOffset);
        QFETCH(QVariant, second);
        QFETCH(bool, stranger);
        QFETCH(bool, shown);
        DesktopNotifications notes;
        QSignalSpy activated(&notes, &DesktopNotifications::activated);
        notes.notify("pal", "pal", "hi");
        notes.notify("end", "end", "end");
        QTRY_COMPARE(m_fake.calls.size(), 2);
        const uint pal = m_fake.calls[0].id, end = m_fake.calls[1].id;
        // Once "end" is known, so is "pal": its answer came first.
        click(end);
        QTRY_COMPARE(activated.size(), 1);
        activated.clear();

        emitSignal(stranger, name, {pal + idOffset, second});
        if (name == "NotificationClosed")
            click(pal);
        click(end);
        QTRY_VERIFY(!activated.isEmpty() && activated.last().at(0).toString() == "end");
        QCOMPARE(activated.size(), shown ? 2 : 1);
        QVERIFY(!shown || activated[0].at(0).toString() == "pal");
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifications)
#include "tst_desktopnotifications.moc"
