// The password store against the desktop's secret service: run once inside
// a D-Bus session with a keyring of its own (VORKLE_KEYRING=1), and once
// with no session bus at all, where nothing may be stored.
#include "client/passwordstore.h"

#include <QSignalSpy>
#include <QTest>

class TestKeychain : public QObject {
    Q_OBJECT

  private slots:
    void storedReadAndRemoved() {
        const bool keyring = qEnvironmentVariable("VORKLE_KEYRING") == QLatin1String("1");
        PasswordStore store;
        QSignalSpy available(&store, &PasswordStore::availability);
        QSignalSpy read(&store, &PasswordStore::passwordRead);
        store.probe();
        QVERIFY(available.wait(20000));
        QCOMPARE(available[0][0].toBool(), keyring);
        if (!keyring) {
            QVERIFY(!store.unavailableReason().isEmpty());
            store.write(QStringLiteral("pal"), QStringLiteral("x")); // goes nowhere
            store.read(QStringLiteral("pal"));
            QCOMPARE(read.size(), 0);
            return;
        }
        // Stored under the screen name, compared normalised; jobs run in order.
        store.write(QStringLiteral("Pal One"), QStringLiteral("s3cret \"x\""));
        store.read(QStringLiteral("palone"));
        QTRY_COMPARE_WITH_TIMEOUT(read.size(), 1, 20000);
        QCOMPARE(read[0][1].toString(), QStringLiteral("s3cret \"x\""));
        store.remove(QStringLiteral("pal one"));
        store.read(QStringLiteral("palone"));
        // A probe after the read: its answer proves the read came back empty.
        store.probe();
        QTRY_COMPARE_WITH_TIMEOUT(available.size(), 2, 20000);
        QCOMPARE(read.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "tst_keychain.moc"
