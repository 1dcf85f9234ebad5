// The IM view's buddy icon: the request, the formats and sizes a picture
// may have, the fetch's deadline, and a view that stops or goes while its
// fetch or decode is still under way.
#include "client/fetchlimiter.h"
#include "fakehost.h"
#include "iconserver.h"
#include "views/ctlim.h"
#include "views/icondecode.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>
#include <QThreadPool>
#include <memory>
#include <vector>

namespace {

const QByteArray kHeader = "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n\r\n";

QByteArray encoded(int width, int height, const char *format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// An 8x8 JPEG whose frame header declares 5700x5700.
QByteArray jpegDeclaringHuge() {
    QByteArray bytes = encoded(8, 8, "JPEG");
    const qsizetype sof = bytes.indexOf("\xff\xc0");
    const char side[2] = {char(5700 >> 8), char(5700 & 0xff)};
    bytes.replace(sof + 5, 2, side, 2);
    bytes.replace(sof + 7, 2, side, 2);
    return bytes;
}

// One red pixel on a "logical screen" of the given size (Qt writes no GIF).
QByteArray gif(int screenWidth, int screenHeight) {
    QByteArray bytes("GIF89a");
    for (int side : {screenWidth, screenHeight})
        bytes += char(side & 0xff) + QByteArray(1, char(side >> 8));
    return bytes + QByteArray("\x80\x00\x00\xff\x00\x00\x00\x00\x00"
                              ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                              25);
}

template <typename T> T *child(QWidget *view, const char *name) {
    T *w = view->findChild<T *>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

// Every decode started has finished and its result has been handed over.
bool settleDecodes() {
    const bool done = QThreadPool::globalInstance()->waitForDone(30000);
    QCoreApplication::sendPostedEvents();
    return done;
}

// Keeps every thread of the global pool busy until released, so that a
// decode started meanwhile waits.
class PoolBlocker {
  public:
    PoolBlocker() : m_threads(QThreadPool::globalInstance()->maxThreadCount()) {
        QSemaphore started;
        for (int i = 0; i < m_threads; ++i) {
            QThreadPool::globalInstance()->start([this, &started] {
                started.release();
                m_release.acquire();
            });
        }
        started.acquire(m_threads);
    }
    ~PoolBlocker() { release(); }
    void release() { m_release.release(std::exchange(m_threads, 0)); }

  private:
    int m_threads;
    QSemaphore m_release;
};

// A view fetching from the server: started, its icon not yet come.
std::unique_ptr<ctlIM> fetchingView(FakeHost &host, IconServer &server, int deadline = 10000) {
    host.iconHostName = QStringLiteral("127.0.0.1");
    auto view = std::make_unique<ctlIM>(&host);
    view->IMUser = QStringLiteral("Some Body");
    view->setIconPort(server.port());
    view->setIconDeadline(deadline);
    return view;
}

QImage shownIcon(ctlIM *view) {
    return child<QLabel>(view, "imgIcon")->pixmap().toImage();
}

} // namespace

class TestCtlIMIcon : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void decode_data();
    void decode();
    void iconFetch_data();
    void iconFetch();
    void iconFetchDeadline_data();
    void iconFetchDeadline();
    void iconFetchStopped_data();
    void iconFetchStopped();
    void iconServerNeverAnswers();
    void noIconRequestWithoutPartner();
    void iconFetchesTogether_data();
    void iconFetchesTogether();
};

void TestCtlIMIcon::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(QStandardPaths::writableLocation(QStandardPaths::CacheLocation).contains("qttest"));
}

void TestCtlIMIcon::decode_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("kept");    // 0x0: refused
    QTest::addColumn<QColor>("colour"); // invalid: not compared (JPEG is lossy)
    const QColor red(200, 30, 30);
    const QSize refused(0, 0);
    QTest::newRow("PNG") << encoded(8, 8, "PNG") << QSize(8, 8) << red;
    QTest::newRow("JPEG") << encoded(8, 8, "JPEG") << QSize(8, 8) << QColor();
    QTest::newRow("GIF") << gif(1, 1) << QSize(1, 1) << QColor(255, 0, 0);
    QTest::newRow("BMP") << encoded(8, 8, "BMP") << QSize(8, 8) << red;
    QTest::newRow("1024 square, scaled down while decoding")
        << encoded(1024, 1024, "PNG") << QSize(64, 64) << red;
    QTest::newRow("scaled keeping its shape")
        << encoded(1024, 256, "JPEG") << QSize(64, 16) << QColor();
    QTest::newRow("a line stays a line") << encoded(1000, 1, "PNG") << QSize(64, 1) << red;
    QTest::newRow("1025 wide refused") << encoded(1025, 16, "PNG") << refused << QColor();
    QTest::newRow("1025 high refused") << encoded(16, 1025, "BMP") << refused << QColor();
    QTest::newRow("JPEG declaring 5700 square refused")
        << jpegDeclaringHuge() << refused << QColor();
    QTest::newRow("GIF of one pixel drawn on a 3000 square screen refused")
        << gif(3000, 3000) << refused << QColor();
    QTest::newRow("SVG never decoded")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\">"
                      "<rect width=\"8\" height=\"8\" fill=\"red\"/></svg>")
        << refused << QColor();
    QTest::newRow("not a picture") << QByteArray("garbage") << refused << QColor();
    QTest::newRow("nothing") << QByteArray() << refused << QColor();
}

void TestCtlIMIcon::decode() {
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, kept);
    QFETCH(QColor, colour);
    const QImage image = icon::decode(bytes);
    QCOMPARE(image.size(), kept);
    if (colour.isValid())
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), colour);
}

void TestCtlIMIcon::iconFetch_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("shown");
    // The picture itself holds an empty line: the cut is at the first one.
    const QByteArray picture = encoded(8, 8, "PNG") + "\r\n\r\ntrailer";
    QTest::newRow("good reply") << kHeader + picture << true;
    QTest::newRow("no empty line")
        << QByteArray("HTTP/1.1 200 OK\r\n") + encoded(8, 8, "PNG") << false;
    QTest::newRow("not a picture") << kHeader + "garbage" << false;
    QTest::newRow("empty reply") << QByteArray() << false;
    QTest::newRow("oversized reply") << kHeader + QByteArray(5 * 1024 * 1024, 'x') << false;
    QTest::newRow("declared huge") << kHeader + jpegDeclaringHuge() << false;
}

void TestCtlIMIcon::iconFetch() {
    QFETCH(QByteArray, reply);
    QFETCH(bool, shown);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QDir(cache).removeRecursively();
    IconServer server;
    server.reply = reply;
    FakeHost host;
    auto view = fetchingView(host, server);
    const QImage before = shownIcon(view.get());
    auto *socket = view->findChild<QTcpSocket *>(QStringLiteral("sckIcon"));
    QVERIFY(socket);
    QTRY_VERIFY(server.request.endsWith("\r\n\r\n\r\n"));
    QCOMPARE(server.request,
             QByteArray("GET /BartSNQuery?custom=yes&default=0x000100050201e06e3f&type=1"
                        "&screenname=somebody HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n\r\n"));
    QTRY_COMPARE(socket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(settleDecodes());
    QCOMPARE(shownIcon(view.get()) != before, shown);
    if (shown)
        QCOMPARE(shownIcon(view.get()).pixelColor(4, 4), QColor(200, 30, 30));
    // Nothing of a reply is written to disk.
    QVERIFY(!QDir(cache).exists());
    QCOMPARE(server.connections, 1);
}

void TestCtlIMIcon::iconFetchDeadline_data() {
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("trickle");
    QTest::newRow("accepts and never answers") << QByteArray() << 0;
    QTest::newRow("one byte every 10 ms") << kHeader + encoded(8, 8, "PNG") << 1;
    QTest::newRow("4 MiB less 100 bytes, then holds")
        << kHeader + QByteArray(4 * 1024 * 1024 - 100 - kHeader.size(), 'x') << 0;
}

void TestCtlIMIcon::iconFetchDeadline() {
    QFETCH(QByteArray, reply);
    IconServer server;
    server.reply = reply;
    server.silent = reply.isEmpty();
    server.hold = true;
    QFETCH(int, trickle);
    server.trickle = trickle;
    FakeHost host;
    auto view = fetchingView(host, server, 300);
    const QImage before = shownIcon(view.get());
    QTRY_VERIFY(server.request.endsWith("\r\n\r\n\r\n"));
    // The view ends the connection itself, while it lives on.
    QTRY_COMPARE(server.closed, 1);
    QCOMPARE(view->findChild<QTcpSocket *>(QStringLiteral("sckIcon"))->state(),
             QAbstractSocket::UnconnectedState);
    QVERIFY(settleDecodes());
    QCOMPARE(shownIcon(view.get()), before);
}

void TestCtlIMIcon::iconFetchStopped_data() {
    QTest::addColumn<bool>("decoding");  // false: the server has not answered yet
    QTest::addColumn<bool>("destroyed"); // false: the user clicked Close
    QTest::newRow("Close while the server holds") << false << false;
    QTest::newRow("Close while decoding") << true << false;
    QTest::newRow("view freed while decoding") << true << true;
}

// A view that asked to stop, or is gone, is touched by nothing its fetch or
// decode does afterwards (a freed view would show under the sanitizers).
void TestCtlIMIcon::iconFetchStopped() {
    QFETCH(bool, decoding);
    QFETCH(bool, destroyed);
    IconServer server;
    server.reply = kHeader + encoded(8, 8, "PNG");
    server.silent = !decoding;
    PoolBlocker pool;
    FakeHost host;
    auto view = fetchingView(host, server);
    const QImage before = shownIcon(view.get());
    QTRY_VERIFY(server.request.endsWith("\r\n\r\n\r\n"));
    auto *socket = view->findChild<QTcpSocket *>(QStringLiteral("sckIcon"));
    if (decoding)
        QTRY_COMPARE(socket->state(), QAbstractSocket::UnconnectedState);
    if (destroyed)
        view.reset();
    else
        QTest::mouseClick(child<QPushButton>(view.get(), "Command4"), Qt::LeftButton);
    QTRY_COMPARE(server.closed, 1);
    pool.release();
    QVERIFY(settleDecodes());
    if (view) {
        QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(shownIcon(view.get()), before);
    }
}

void TestCtlIMIcon::iconServerNeverAnswers() {
    IconServer server;
    server.silent = true;
    FakeHost host;
    host.iconHostName = QStringLiteral("127.0.0.1");
    auto view = std::make_unique<ctlIM>(&host);
    auto *icon = child<QLabel>(view.get(), "imgIcon");
    const QImage before = icon->pixmap().toImage();
    view->IMUser = QStringLiteral("Pal");
    view->setIconPort(server.port());
    QTRY_VERIFY(server.request.endsWith("\r\n\r\n\r\n"));
    QTest::qWait(100);
    // The view goes on working meanwhile, and closes cleanly.
    view->im_msg(QStringLiteral("Pal"), QStringLiteral("still here"));
    QCOMPARE(child<QTextEdit>(view.get(), "TEXT")->toPlainText(),
             QStringLiteral("Pal: still here\n"));
    QCOMPARE(icon->pixmap().toImage(), before);
    view.reset();
    // Its icon connection ends with it.
    QTRY_COMPARE(server.closed, 1);
}

void TestCtlIMIcon::noIconRequestWithoutPartner() {
    IconServer server;
    FakeHost host;
    host.iconHostName = QStringLiteral("127.0.0.1");
    ctlIM view(&host);
    view.setIconPort(server.port());
    QTRY_VERIFY(child<QLineEdit>(&view, "txtuser")->isReadOnly());
    QTest::qWait(100);
    QCOMPARE(server.connections, 0);
}

void TestCtlIMIcon::iconFetchesTogether_data() {
    QTest::addColumn<int>("views");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("cutByBytes"); // held replies too large together
    QTest::newRow("ten pictures, a few at a time") << 10 << kHeader + encoded(8, 8, "PNG") << false;
    QTest::newRow("three held at 4 MiB less 100 bytes")
        << 3 << kHeader + QByteArray(4 * 1024 * 1024 - 100 - kHeader.size(), 'x') << true;
}

// The views' fetches share a few slots, taken in turn, and a budget of
// bytes: a reply that would pass it ends long before the deadline.
void TestCtlIMIcon::iconFetchesTogether() {
    QFETCH(int, views);
    QFETCH(QByteArray, reply);
    QFETCH(bool, cutByBytes);
    IconServer server;
    server.reply = reply;
    server.hold = cutByBytes;
    FakeHost host;
    std::vector<std::unique_ptr<ctlIM>> open;
    for (int i = 0; i < views; ++i)
        open.push_back(fetchingView(host, server, 60000));
    if (cutByBytes) {
        QTRY_VERIFY(server.closed >= 1);
        QVERIFY(FetchLimiter::buddyIcons().held() <= FetchLimiter::kIconBudget);
    } else {
        QTRY_COMPARE(server.connections, views);
        QVERIFY(settleDecodes());
        for (const auto &view : open)
            QTRY_COMPARE(shownIcon(view.get()).pixelColor(4, 4), QColor(200, 30, 30));
    }
    QVERIFY(server.mostOpen <= FetchLimiter::kIconSlots);
}

QTEST_MAIN(TestCtlIMIcon)
#include "tst_ctlim_icon.moc"
