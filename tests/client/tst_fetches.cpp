// Fetches made on a server's word: which profile URLs are fetched, checked
// against local servers that count the connections they get.
#include "client/profilefetch.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

namespace {

// A web server counting the connections and requests it gets. "/go-other" redirects to
// `elsewhere`, "/go-here" to "/info" on itself, "/drip" sends a byte every
// 50 ms; any other path is a small page.
class WebServer : public QObject {
  public:
    int connections = 0;
    int requests = 0;
    QString elsewhere;

    WebServer() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = m_server.nextPendingConnection()) {
                ++connections;
                connect(s, &QTcpSocket::readyRead, s, [this, s] { answer(s); });
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }

  private:
    void answer(QTcpSocket *s) {
        const QByteArray request = s->readAll();
        ++requests;
        const QByteArray path = request.split(' ').value(1);
        if (path.startsWith("/go-other"))
            s->write("HTTP/1.1 302 Found\r\nContent-Length: 0\r\nLocation: " + elsewhere.toUtf8() +
                     "\r\n\r\n");
        else if (path.startsWith("/go-here"))
            s->write("HTTP/1.1 302 Found\r\nContent-Length: 0\r\nLocation: /info?user=bob\r\n\r\n");
        else if (path.startsWith("/drip")) {
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n");
            auto *drip = new QTimer(s);
            connect(drip, &QTimer::timeout, s, [s] { s->write("x"); });
            drip->start(50);
        } else
            s->write("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\nprofile");
    }
    QTcpServer m_server;
};

} // namespace

class TestFetches : public QObject {
    Q_OBJECT
  private slots:
    void profileAnswers_data();
    void profileAnswers();
};

void TestFetches::profileAnswers_data() {
    QTest::addColumn<QString>("asked");   // empty: nothing asked
    QTest::addColumn<QString>("url");     // %1 the TOC server's port, %2 another service's
    QTest::addColumn<int>("lateMs");      // from the ask to the answer
    QTest::addColumn<int>("answers");     // the same URL, this often
    QTest::addColumn<int>("tocRequests"); // requests at the TOC server's port
    QTest::addColumn<QString>("outcome"); // "fetched", "failed" or "ignored"
    const QString info = QStringLiteral("info?cookie=c&from=me&user=bob");
    QTest::newRow("asked, relative") << "bob" << info << 0 << 1 << 1 << "fetched";
    QTest::newRow("asked, absolute at the server, name written otherwise")
        << "bob"
        << "http://127.0.0.1:%1/info?user=B%4Fb" << 0 << 1 << 1 << "fetched";
    QTest::newRow("asked just in time") << "bob" << info << 30000 << 1 << 1 << "fetched";
    QTest::newRow("unsolicited") << "" << info << 0 << 1 << 0 << "ignored";
    QTest::newRow("late") << "bob" << info << 30001 << 1 << 0 << "ignored";
    QTest::newRow("wrong name") << "bob"
                                << "info?user=carol" << 0 << 1 << 0 << "ignored";
    QTest::newRow("no name") << "bob"
                             << "info?cookie=c" << 0 << 1 << 0 << "ignored";
    QTest::newRow("other host") << "bob"
                                << "http://localhost:%1/info?user=bob" << 0 << 1 << 0 << "ignored";
    QTest::newRow("other port") << "bob"
                                << "http://127.0.0.1:%2/info?user=bob" << 0 << 1 << 0 << "ignored";
    QTest::newRow("other scheme") << "bob"
                                  << "ftp://127.0.0.1:%1/info?user=bob" << 0 << 1 << 0 << "ignored";
    QTest::newRow("two answers to one ask") << "bob" << info << 0 << 2 << 1 << "fetched";
    QTest::newRow("redirect to another port") << "bob"
                                              << "go-other?user=bob" << 0 << 1 << 1 << "failed";
    QTest::newRow("redirect on the same host and port")
        << "bob"
        << "go-here?user=bob" << 0 << 1 << 2 << "fetched";
    QTest::newRow("a page that drips past the deadline")
        << "bob"
        << "drip?user=bob" << 0 << 1 << 1 << "failed";
}

void TestFetches::profileAnswers() {
    QFETCH(QString, asked);
    QFETCH(QString, url);
    QFETCH(int, lateMs);
    QFETCH(int, answers);
    QFETCH(int, tocRequests);
    QFETCH(QString, outcome);
    WebServer toc, other;
    toc.elsewhere = QStringLiteral("http://127.0.0.1:%1/").arg(other.port());
    ProfileFetch fetch;
    qint64 now = 1000;
    fetch.setClock([&] { return now; });
    fetch.setDeadline(500);
    QSignalSpy fetched(&fetch, &ProfileFetch::fetched);
    QSignalSpy failed(&fetch, &ProfileFetch::failed);
    QSignalSpy ignored(&fetch, &ProfileFetch::ignored);
    if (!asked.isEmpty())
        fetch.asked(asked);
    now += lateMs;
    url.replace("%1", QString::number(toc.port())).replace("%2", QString::number(other.port()));
    for (int i = 0; i < answers; ++i)
        fetch.answer(url, QStringLiteral("127.0.0.1"), toc.port());
    if (outcome != QLatin1String("ignored"))
        QTRY_VERIFY(fetched.size() + failed.size() > 0);
    QTest::qWait(100); // room for a request that should not come
    QCOMPARE(fetched.size(), int(outcome == QLatin1String("fetched")));
    QCOMPARE(failed.size(), int(outcome == QLatin1String("failed")));
    QCOMPARE(ignored.size(), outcome == QLatin1String("ignored") ? 1 : answers - 1);
    QCOMPARE(toc.requests, tocRequests);
    QCOMPARE(other.connections, 0);
    if (outcome == QLatin1String("fetched"))
        QCOMPARE(fetched.first().at(1).toString(), QStringLiteral("profile"));
}

QTEST_GUILESS_MAIN(TestFetches)
#include "tst_fetches.moc"
