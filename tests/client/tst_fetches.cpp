// Which profile URLs from the server are fetched, counted at local servers.
#include "client/profilefetch.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {
// Counts requests. "/go-other" redirects to `elsewhere`, "/go-here" to
// "/info" here, "/hopN" to "/hopN-1" down to a page at "/hop0", "/drip"
// sends a byte every 50 ms; the rest get a page.
struct WebServer : QTcpServer {
    int requests = 0;
    QByteArray elsewhere;
    WebServer() {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, [this] {
            QTcpSocket *s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead,
                    [this, s] { answer(s, s->readAll().split(' ').value(1)); });
        });
    }
    void answer(QTcpSocket *s, const QByteArray &path) {
        ++requests;
        const int hop = path.startsWith("/hop") ? path.mid(4, 1).toInt() : 0;
        const QByteArray to = path.startsWith("/go-other")  ? elsewhere
                              : path.startsWith("/go-here") ? QByteArray("/info?user=bob")
                              : hop > 0 ? "/hop" + QByteArray::number(hop - 1) + "?user=bob"
                                        : QByteArray();
        if (!to.isEmpty())
            return void(s->write("HTTP/1.1 302 Found\r\nContent-Length: 0\r\nLocation: " + to +
                                 "\r\n\r\n"));
        if (!path.startsWith("/drip"))
            return void(s->write("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nprofile"));
        s->write("HTTP/1.1 200 OK\r\nContent-Length: 99\r\n\r\n");
        auto *drip = new QTimer(s);
        connect(drip, &QTimer::timeout, s, [s] { s->write("x"); });
        drip->start(50);
    }
};
} // namespace

class TestFetches : public QObject {
    Q_OBJECT
  private slots:
    void profileAnswers_data();
    void profileAnswers();
};

void TestFetches::profileAnswers_data() {
    QTest::addColumn<QString>("url");     // %1 the TOC server's port, %2 another service's
    QTest::addColumn<int>("lateMs");      // from asking for bob to the answer; -1: never asked
    QTest::addColumn<int>("answers");     // the same URL, this often
    QTest::addColumn<int>("tocRequests"); // requests at the TOC server's port
    QTest::addColumn<QString>("outcome"); // "fetched", "failed" or "ignored"
    const auto row = [](const char *name, const char *url, int late, int answers, int requests,
                        const char *outcome) {
        QTest::newRow(name) << QString(url) << late << answers << requests << QString(outcome);
    };
    const char *info = "info?cookie=c&from=me&user=bob";
    row("asked, relative", info, 0, 1, 1, "fetched");
    row("absolute at the server, name written otherwise", "http://127.0.0.1:%1/info?user=B%4Fb", 0,
        1, 1, "fetched");
    row("just in time", info, 30000, 1, 1, "fetched");
    row("unsolicited", info, -1, 1, 0, "ignored");
    row("late", info, 30001, 1, 0, "ignored");
    row("wrong name", "info?user=carol", 0, 1, 0, "ignored");
    row("no name", "info?cookie=c", 0, 1, 0, "ignored");
    row("other host", "http://localhost:%1/info?user=bob", 0, 1, 0, "ignored");
    row("other port", "http://127.0.0.1:%2/info?user=bob", 0, 1, 0, "ignored");
    row("other scheme", "ftp://127.0.0.1:%1/info?user=bob", 0, 1, 0, "ignored");
    row("two answers to one ask", info, 0, 2, 1, "fetched");
    row("redirect to another port", "go-other?user=bob", 0, 1, 1, "failed");
    row("redirect on the same host and port", "go-here?user=bob", 0, 1, 2, "fetched");
    row("three redirects", "hop3?user=bob", 0, 1, 4, "fetched");
    row("four redirects, each hop once", "hop4?user=bob", 0, 1, 4, "failed");
    row("a page that drips past the deadline", "drip?user=bob", 0, 1, 1, "failed");
}

void TestFetches::profileAnswers() {
    QFETCH(QString, url);
    QFETCH(int, lateMs);
    QFETCH(int, answers);
    QFETCH(int, tocRequests);
    QFETCH(QString, outcome);
    WebServer toc, other;
    toc.elsewhere = "http://127.0.0.1:" + QByteArray::number(other.serverPort()) + "/";
    ProfileFetch fetch;
    qint64 now = 1000;
    fetch.setClock([&] { return now; });
    fetch.setDeadline(500);
    QSignalSpy fetched(&fetch, &ProfileFetch::fetched);
    QSignalSpy failed(&fetch, &ProfileFetch::failed);
    if (lateMs >= 0)
        fetch.asked(QStringLiteral("bob"));
    now += std::max(lateMs, 0);
    url.replace("%1", QString::number(toc.serverPort()))
        .replace("%2", QString::number(other.serverPort()));
    for (int i = 0; i < answers; ++i)
        fetch.answer(url, QStringLiteral("127.0.0.1"), toc.serverPort());
    QTRY_VERIFY(outcome == "ignored" || fetched.size() + failed.size() > 0);
    QTest::qWait(100); // room for a request that should not come
    QCOMPARE(fetched.size(), int(outcome == "fetched"));
    QCOMPARE(failed.size(), int(outcome == "failed"));
    QCOMPARE(toc.requests, tocRequests);
    QCOMPARE(other.requests, 0);
    QVERIFY(outcome != "fetched" || fetched.first().at(1).toString() == "profile");
}

QTEST_GUILESS_MAIN(TestFetches)
#include "tst_fetches.moc"
