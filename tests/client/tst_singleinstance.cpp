// A second start finds the first through its socket; junk, silence and a
// socket left by a crash leave it listening.
#include "client/singleinstance.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TestSingleInstance : public QObject {
    Q_OBJECT

  private slots:
    void peerWrites_data();
    void peerWrites();
    void socketOfACrashIsTakenOver();
    void liveInstanceIsNotTakenOver();

  private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }
};

void TestSingleInstance::peerWrites_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("raises");
    QTest::newRow("request") << SingleInstance::kRaiseLine << true;
    QTest::newRow("junk line") << QByteArray("rm -rf /\n") << false;
    QTest::newRow("request and more") << QByteArray("raise\nraise\n") << true;
    QTest::newRow("no end of line") << QByteArray("raise") << false;
    QTest::newRow("binary") << QByteArray("\0\xff\xfe\n", 4) << false;
    QTest::newRow("flood") << QByteArray(100000, 'x') << false;
}

// Whatever a peer writes, it is let go, and the next start is still heard.
void TestSingleInstance::peerWrites() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, raises);
    SingleInstance first(path("peer"));
    QVERIFY(first.listen());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    QLocalSocket peer;
    peer.connectToServer(first.socketPath());
    QVERIFY(peer.waitForConnected(1000));
    peer.write(bytes);
    QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QLocalSocket::UnconnectedState,
                              SingleInstance::kPeerTimeoutMs * 3);
    QCOMPARE(raised.count(), raises ? 1 : 0);
    QVERIFY(SingleInstance(first.socketPath()).raiseRunning());
    QTRY_COMPARE(raised.count(), raises ? 2 : 1);
}

void TestSingleInstance::socketOfACrashIsTakenOver() {
    // A bound socket that nobody listens on, as a killed process leaves it.
    const QByteArray file = path("stale").toLocal8Bit();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, file.constData(), sizeof address.sun_path);
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(fd);
    SingleInstance second(QString::fromLocal8Bit(file));
    QVERIFY(!second.raiseRunning());
    QVERIFY(second.listen());
    QSignalSpy raised(&second, &SingleInstance::raiseRequested);
    QVERIFY(SingleInstance(second.socketPath()).raiseRunning());
    QTRY_COMPARE(raised.count(), 1);
}

void TestSingleInstance::liveInstanceIsNotTakenOver() {
    SingleInstance first(path("live"));
    QVERIFY(first.listen());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(first.socketPath());
    QVERIFY(!second.listen());
    QVERIFY(second.raiseRunning());
    QTRY_COMPARE(raised.count(), 1);
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
