// The conversation history: lines written by the writer's thread and read
// back, one file per screen name, files that cannot be used (reported once,
// never deleted nor changed) and the filter.
#include "client/historychunk.h"
#include "client/historyfile.h"
#include "client/historyread.h"
#include "client/historystore.h"
#include "protocol/wire.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Kind = HistoryLine::Kind;
Q_DECLARE_METATYPE(HistoryLine)

namespace {
HistoryPage readBack(const QString &path, const QString &partner, bool room = false,
                     const QString &filter = QString(), int limit = 5000) {
    return readConversation({path, partner, room, filter, limit, toc::removeHtml});
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT

  private slots:
    void writtenAndReadBack_data();
    void writtenAndReadBack();
    void fileNames_data();
    void fileNames();
    void eachScreenNameItsOwnFile();
    void unusableFileKeptAndReportedOnce_data();
    void unusableFileKeptAndReportedOnce();
    void filter_data();
    void filter();
    void damagedChunkKeepsTheLinesBefore();
    void floodKeepsEveryLineInOrder();
    void longLinesCut_data();
    void longLinesCut();
    void pages_data();
    void pages();
    void privateFiles();

  private:
    QTemporaryDir dir;
};

void TestHistory::writtenAndReadBack_data() {
    QTest::addColumn<HistoryLine>("line");
    QTest::addColumn<QString>("readAs"); // another spelling of the name
    const QString html = QStringLiteral("<HTML><BODY>hi &lt;b&gt; <B>there</B></BODY></HTML>");
    QTest::newRow("IM in") << HistoryLine::im("Bob Smith", false, Kind::Message, "Bob Smith", html)
                           << "bobsmith";
    QTest::newRow("IM out") << HistoryLine::im("Bob", true, Kind::Message, "Me", "<b>yo</b>")
                            << "BOB";
    QTest::newRow("auto-response in")
        << HistoryLine::im("bob", false, Kind::AutoResponse, "bob", "away") << "Bob";
    QTest::newRow("auto-response out")
        << HistoryLine::im("bob", true, Kind::AutoResponse, "Me", "I am away") << "bob";
    QTest::newRow("not sent") << HistoryLine::im("bob", true, Kind::NotSent, QString(),
                                                 "Not sent: you are offline.")
                              << "bob";
    QTest::newRow("chat line") << HistoryLine::inRoom("Chat 100", false, Kind::Message, "Ann",
                                                      "hello room")
                               << "chat100";
    QTest::newRow("unicode, quotes, NUL")
        << HistoryLine::im(QString::fromUtf8("Zoë"), false, Kind::Message, QString::fromUtf8("Zoë"),
                           QString::fromUtf8("'; DROP\0 ✓", 13))
        << QString::fromUtf8("zoë");
}

void TestHistory::writtenAndReadBack() {
    QFETCH(HistoryLine, line);
    QFETCH(QString, readAs);
    const QString path = dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".sqlite");
    HistoryStore store;
    QSignalSpy failures(&store, &HistoryStore::unavailable);
    store.open(path);
    store.add(line);
    store.waitForWritten(); // readable before the file closes
    const HistoryPage page = readBack(path, readAs, line.room);
    QVERIFY(page.error.isEmpty() && failures.isEmpty());
    QCOMPARE(page.lines.size(), 1);
    const HistoryLine &got = page.lines.first();
    QCOMPARE((QVariantList{got.at, got.outgoing, int(got.kind), got.sender, got.text}),
             (QVariantList{line.at, line.outgoing, int(line.kind), line.sender,
                           toc::removeHtml(line.text)}));
}

void TestHistory::fileNames_data() {
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("normalised") << "Bob Smith"
                                << "bobsmith.sqlite";
    QTest::newRow("path parts") << "../a/b"
                                << "%2e%2e%2fa%2fb.sqlite";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Zoë") << "zo%c3%ab.sqlite";
    QTest::newRow("empty") << ""
                           << "%.sqlite";
}

void TestHistory::fileNames() {
    QFETCH(QString, screenName);
    QFETCH(QString, fileName);
    QCOMPARE(history::fileNameFor(screenName), fileName);
    QVERIFY(history::pathFor(screenName).startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
    // Long names are cut, and stay apart.
    const QString a = history::fileNameFor(QString(300, u'a') + screenName);
    QVERIFY(a.size() < 130);
    QVERIFY(a != history::fileNameFor(QString(300, u'a') + "x"));
}

void TestHistory::eachScreenNameItsOwnFile() {
    // The test's own data home outlives the run.
    QDir(history::folder()).removeRecursively();
    HistoryStore store;
    store.open(history::pathFor("First One"));
    store.add(HistoryLine::im("bob", false, Kind::Message, "bob", "to first"));
    store.open(history::pathFor("second"));
    store.add(HistoryLine::im("bob", false, Kind::Message, "bob", "to second"));
    store.close();
    const HistoryPage first = readBack(history::pathFor("firstone"), "bob");
    const HistoryPage second = readBack(history::pathFor("second"), "bob");
    QCOMPARE(first.lines.size(), 1);
    QCOMPARE(first.lines[0].text, "to first");
    QCOMPARE(second.lines.size(), 1);
    QCOMPARE(second.lines[0].text, "to second");
}

void TestHistory::unusableFileKeptAndReportedOnce_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("usable");
    QTest::newRow("garbage") << "garbage" << false;
    QTest::newRow("a folder in its place") << "folder" << false;
    QTest::newRow("under a file, not a folder") << "nofolder" << false;
    QTest::newRow("zero length") << "empty" << true;
}

void TestHistory::unusableFileKeptAndReportedOnce() {
    QFETCH(QString, kind);
    QFETCH(bool, usable);
    const QString base = dir.filePath("bad-" + kind);
    QString path = base + ".sqlite";
    QByteArray content;
    if (kind == "garbage")
        content = QByteArray(8192, 'x') + "not a database";
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    if (kind == "nofolder")
        path = base + "/h.sqlite"; // base is a plain file
    if (kind != "folder") {
        QFile f(kind == "nofolder" ? base : path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

    HistoryStore store;
    QSignalSpy failures(&store, &HistoryStore::unavailable);
    for (int session = 0; session < 2; ++session) {
        store.open(path);
        for (int i = 0; i < 3; ++i)
            store.add(HistoryLine::im("bob", false, Kind::Message, "bob", "line"));
        store.waitForWritten();
        store.close();
    }
    QCoreApplication::processEvents();
    QCOMPARE(failures.count(), usable ? 0 : 1);
    if (!usable)
        QVERIFY(failures.first().first().toString().contains(path));
    QCOMPARE(readBack(path, "bob").lines.size(), usable ? 6 : 0);
    if (kind == "folder")
        QVERIFY(QFileInfo(path).isDir());
    if (kind == "garbage" || kind == "nofolder") {
        QFile f(kind == "garbage" ? path : base);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content);
    }
}

void TestHistory::filter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("more");
    QTest::newRow("all") << "" << 10 << QStringList{"Hello World", "bold", "bye"} << false;
    QTest::newRow("case-insensitive") << "WORLD" << 10 << QStringList{"Hello World"} << false;
    QTest::newRow("tags are not text") << "b>" << 10 << QStringList{} << false;
    QTest::newRow("newest page") << "" << 2 << QStringList{"bold", "bye"} << true;
    QTest::newRow("page of matches") << "b" << 1 << QStringList{"bye"} << true;
}

void TestHistory::filter() {
    QFETCH(QString, filter);
    QFETCH(int, limit);
    QFETCH(QStringList, expected);
    QFETCH(bool, more);
    const QString path = dir.filePath("filter.sqlite");
    if (!QFile::exists(path)) {
        HistoryStore store;
        store.open(path);
        for (const char *text : {"Hello <i>World</i>", "<b>bold</b>", "bye"})
            store.add(HistoryLine::im("bob", false, Kind::Message, "bob", text));
        store.add(HistoryLine::im("ann", false, Kind::Message, "ann", "Hello World"));
    }
    const HistoryPage page = readBack(path, "bob", false, filter, limit);
    QStringList texts;
    for (const HistoryLine &line : page.lines)
        texts << line.text;
    QCOMPARE(texts, expected);
    QCOMPARE(page.more, more);
}

void TestHistory::damagedChunkKeepsTheLinesBefore() {
    QByteArray chunk;
    history::appendLine(chunk, HistoryLine::im("bob", true, Kind::AutoResponse, "me", "one"));
    history::appendLine(chunk, HistoryLine::im("bob", false, Kind::Message, "bob", "two"));
    for (qsizetype cut = chunk.size() - 1; cut > chunk.size() / 2; --cut)
        QCOMPARE(history::chunkLines(chunk.left(cut)).size(), 1);
    chunk[chunk.size() - 4] = char(0xff); // a text length beyond the end
    QCOMPARE(int(history::chunkLines(chunk).first().kind), int(Kind::AutoResponse));
}

void TestHistory::floodKeepsEveryLineInOrder() {
    // Queued faster than the writer commits: conversations interleaved, an
    // IM partner and a room of one name, rows that fill up and go on.
    const QString path = dir.filePath("flood.sqlite");
    const QString text = QString(1000, u'x');
    HistoryStore store;
    store.open(path);
    for (int i = 0; i < 300; ++i) {
        const QString n = QString::number(i);
        store.add(HistoryLine::im("Bob", false, Kind::Message, "Bob", n + text));
        store.add(HistoryLine::inRoom("bob", false, Kind::Message, "Ann", n));
        store.add(HistoryLine::im(i % 2 ? "ann" : "A NN", true, Kind::Message, "me", n));
    }
    store.waitForWritten();
    const auto texts = [&](const QString &partner, bool room) {
        QStringList got;
        for (const HistoryLine &line : readBack(path, partner, room).lines)
            got << line.text.left(3);
        return got;
    };
    QStringList numbers;
    for (int i = 0; i < 300; ++i)
        numbers << QString::number(i);
    QStringList bob = numbers;
    for (QString &n : bob)
        n = (n + text).left(3);
    QCOMPARE(texts("bob", false), bob);
    QCOMPARE(texts("bob", true), numbers);
    QCOMPARE(texts("ann", false), numbers);
}

void TestHistory::longLinesCut_data() {
    QTest::addColumn<QString>("text");
    const qsizetype max = history::kMaxTextBytes;
    QTest::newRow("at the limit") << QString(max, u'x');
    QTest::newRow("one byte over") << QString(max + 1, u'x');
    QTest::newRow("two-byte characters") << QString(max / 2 + 1, QChar(0xFF));
    QTest::newRow("four-byte characters") << QString("\U0001F600").repeated(max / 4 + 1);
}

// A stored line keeps at most 64 KB of text, cut at a character and marked.
void TestHistory::longLinesCut() {
    QFETCH(QString, text);
    QByteArray chunk;
    history::appendLine(chunk, HistoryLine::im("bob", false, Kind::Message, "bob", text));
    const QString kept = history::chunkLines(chunk).value(0).text;
    const qsizetype size = kept.toUtf8().size();
    QVERIFY(size <= history::kMaxTextBytes && !kept.contains(QChar::ReplacementCharacter));
    QVERIFY(kept == text || (kept.endsWith(history::kCutMark) && text.startsWith(kept.chopped(6)) &&
                             size > history::kMaxTextBytes - 10));
}

void TestHistory::pages_data() {
    QTest::addColumn<int>("limit");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("pages"); // the lines of each page, newest page first
    // Twelve lines of 50,000 bytes as held, three to a stored row.
    QTest::newRow("bounded by bytes")
        << 100 << qint64(120000) << "" << QList<int>{2, 2, 2, 2, 2, 2};
    QTest::newRow("bounded by lines") << 5 << qint64(1 << 30) << "" << QList<int>{5, 5, 2};
    QTest::newRow("a line over the bound") << 100 << qint64(10) << "" << QList<int>(12, 1);
    QTest::newRow("matches only") << 2 << qint64(1 << 30) << "1" << QList<int>{2, 1};
}

// Turning the pages back reads every matching line once, in order.
void TestHistory::pages() {
    QFETCH(int, limit);
    QFETCH(qint64, maxBytes);
    QFETCH(QString, filter);
    QFETCH(QList<int>, pages);
    const QString path = dir.filePath("pages.sqlite");
    QStringList expected, read;
    for (int i = 0; i < 12; ++i)
        expected << QString::asprintf("%02d", i);
    if (!QFile::exists(path)) {
        HistoryStore store;
        store.open(path);
        for (const QString &n : expected)
            store.add(
                HistoryLine::im("bob", false, Kind::Message, "bob", n + QString(25000, u'x')));
    }
    HistoryQuery query{path, "bob", false, filter, limit, {}, maxBytes};
    QList<int> sizes;
    for (HistoryPage page; sizes.isEmpty() || (page.more && sizes.size() < 20);) {
        query.from = page.older;
        page = readConversation(query);
        sizes << int(page.lines.size());
        for (qsizetype i = page.lines.size() - 1; i >= 0; --i)
            read.prepend(page.lines[i].text.left(2));
    }
    QCOMPARE(sizes, pages);
    QCOMPARE(read, filter.isEmpty() ? expected : expected.filter(filter));
}

// Nobody but the user reads the history: the folder 0700, the files 0600,
// also where an older version left them readable by others.
void TestHistory::privateFiles() {
    const QString path = dir.filePath("loose/h.sqlite");
    QVERIFY(QDir().mkpath(dir.filePath("loose")));
    // Modes in Qt's bits: 0x7755 is 0755 (the owner's bits twice, as owner and as user).
    QFile(dir.filePath("loose")).setPermissions(QFileDevice::Permissions(0x7755));
    QFile loose(path);
    QVERIFY(loose.open(QIODevice::WriteOnly) &&
            loose.setPermissions(QFileDevice::Permissions(0x6644)));
    HistoryStore store;
    store.open(path);
    store.add(HistoryLine::im("bob", false, Kind::Message, "bob", "private"));
    store.waitForWritten();
    const auto mode = [](const QString &f) { return int(QFileInfo(f).permissions() & 0x0fff); };
    QCOMPARE(mode(dir.filePath("loose")), 0x0700);
    for (const QString &file : {path, path + "-wal", path + "-shm"})
        QCOMPARE(mode(file), 0x0600);
    QCOMPARE(readBack(path, "bob").lines.size(), 1);
}

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
