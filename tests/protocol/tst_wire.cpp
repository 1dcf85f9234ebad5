// The pure wire helpers and the frame buffer: no socket involved.
#include "protocol/framebuffer.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"

#include <QtTest>

using namespace toc;

class TestWire : public QObject {
    Q_OBJECT
  private slots:
    void normalize_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("capitals and space") << "Some Body"
                                            << "somebody";
        QTest::newRow("punctuation stays") << "A.B C"
                                           << "a.bc";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("tab stays") << "a\tB"
                                   << "a\tb";
        QTest::newRow("non-ascii lowers") << QString::fromUtf8("ÄÖ x") << QString::fromUtf8("äöx");
    }
    void normalize() {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(QelTOCSock::NormalizeScreenName(in), out);
    }

    void escape_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("backslash then quote") << "\\\""
                                              << "\\\\\\\"";
        QTest::newRow("mixed") << "a\"b\\c("
                               << "a\\\"b\\\\c\\(";
        QTest::newRow("all nine") << "\\$\"()[]{}"
                                  << "\\\\\\$\\\"\\(\\)\\[\\]\\{\\}";
        QTest::newRow("untouched") << "it's <b>&amp;\n"
                                   << "it's <b>&amp;\n";
    }
    void escape() {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(QelTOCSock::EscapeArgument(in), out);
    }

    void words() {
        QCOMPARE(QelTOCSock::WordToBytes(14), QByteArray("\x00\x0e", 2));
        QCOMPARE(QelTOCSock::WordToBytes(65535), QByteArray("\xff\xff", 2));
        QCOMPARE(QelTOCSock::WordToBytes(258), QByteArray("\x01\x02", 2));
        QVERIFY(QelTOCSock::WordToBytes(65536).isEmpty());
        QVERIFY(QelTOCSock::WordToBytes(-1).isEmpty());
        QCOMPARE(QelTOCSock::BytesToWord(QByteArray("\x01\x02", 2)), 258);
        QCOMPARE(QelTOCSock::BytesToWord(QByteArray("\x01", 1)), 256);
        QCOMPARE(QelTOCSock::BytesToWord(QByteArray()), 0);
        QCOMPARE(QelTOCSock::BytesToWord(QByteArray("\xff\xff", 2)), 65535);
    }

    void roast_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("roasted");
        QTest::newRow("empty") << ""
                               << "0x";
        // 'T'^'T' = 0, 'i'^'i' = 0 ...: the roasting string itself roasts to zeros.
        QTest::newRow("key itself") << "Tic/Toc"
                                    << "0x00000000000000";
        // Nine characters use key characters 0..6 and then 0 and 1 again.
        QTest::newRow("wraps") << "Tic/TocTi"
                               << "0x000000000000000000";
        // 'Q' ^ 'T' = 0x05 (written 05); 0xFF ^ 'T' = 0xab.
        QTest::newRow("two digits") << "Q"
                                    << "0x05";
        QTest::newRow("high byte") << QString(QChar(0xFF)) << "0x97d6";
    }
    void roast() {
        QFETCH(QString, password);
        QFETCH(QString, roasted);
        QCOMPARE(QelTOCSock::RoastPassword(password), roasted);
        bool ok = false;
        QCOMPARE(unroastPassword(roasted, &ok), password.toUtf8());
        QVERIFY(ok);
    }

    void unroastRejects() {
        bool ok = true;
        unroastPassword("0x0", &ok);
        QVERIFY(!ok);
        unroastPassword("0xzz", &ok);
        QVERIFY(!ok);
        unroastPassword("1234", &ok);
        QVERIFY(!ok);
    }

    void split_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("limit keeps rest") << "A:b:c:d" << 3 << QStringList{"A", "b", "c:d"};
        QTest::newRow("no limit") << "A:b:c:d" << 0 << QStringList{"A", "b", "c", "d"};
        QTest::newRow("no colon") << "SIGN_ON" << 2 << QStringList{"SIGN_ON"};
        QTest::newRow("trailing empty") << "A:b:" << 0 << QStringList{"A", "b", ""};
        QTest::newRow("limit one") << "A:b" << 1 << QStringList{"A:b"};
    }
    void split() {
        QFETCH(QString, line);
        QFETCH(int, limit);
        QFETCH(QStringList, fields);
        QCOMPARE(splitFields(line, limit), fields);
    }

    void numbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok16");
        QTest::addColumn<int>("v16");
        QTest::addColumn<bool>("ok32");
        QTest::addColumn<qint64>("v32");
        QTest::newRow("plain") << "42" << true << 42 << true << qint64(42);
        QTest::newRow("leading zeros") << "007" << true << 7 << true << qint64(7);
        QTest::newRow("negative") << "-5" << true << -5 << true << qint64(-5);
        QTest::newRow("16-bit max") << "32767" << true << 32767 << true << qint64(32767);
        QTest::newRow("16-bit over") << "32768" << false << 0 << true << qint64(32768);
        QTest::newRow("16-bit min") << "-32768" << true << -32768 << true << qint64(-32768);
        QTest::newRow("32-bit min") << "-2147483648" << false << 0 << true << qint64(-2147483648LL);
        QTest::newRow("32-bit over") << "2147483648" << false << 0 << false << qint64(0);
        QTest::newRow("huge") << "99999999999999999999999" << false << 0 << false << qint64(0);
        QTest::newRow("empty") << "" << false << 0 << false << qint64(0);
        QTest::newRow("minus only") << "-" << false << 0 << false << qint64(0);
        QTest::newRow("plus") << "+1" << false << 0 << false << qint64(0);
        QTest::newRow("space") << " 1" << false << 0 << false << qint64(0);
        QTest::newRow("hex") << "0x10" << false << 0 << false << qint64(0);
        QTest::newRow("decimal point") << "1.5" << false << 0 << false << qint64(0);
        QTest::newRow("arabic digit")
            << QString::fromUtf8("\u0661") << false << 0 << false << qint64(0);
    }
    void numbers() {
        QFETCH(QString, text);
        QFETCH(bool, ok16);
        QFETCH(int, v16);
        QFETCH(bool, ok32);
        QFETCH(qint64, v32);
        bool ok = !ok16;
        const qint16 a = toInt16(text, &ok);
        QCOMPARE(ok, ok16);
        if (ok)
            QCOMPARE(int(a), v16);
        ok = !ok32;
        const qint32 b = toInt32(text, &ok);
        QCOMPARE(ok, ok32);
        if (ok)
            QCOMPARE(qint64(b), v32);
    }

    void decode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("IM_IN_ENC2:a") << "IM_IN_ENC2:a";
        QTest::newRow("utf8") << QByteArray("caf\xc3\xa9") << QString::fromUtf8("café");
        QTest::newRow("latin1 byte kept")
            << QByteArray("caf\xe9!") << QString("caf") + QChar(0xe9) + "!";
        QTest::newRow("mixed") << QByteArray("\xc3\xa9\xff\xc3")
                               << QString(QChar(0xe9)) + QChar(0xff) + QChar(0xc3);
        QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QString(QChar(0xc0)) + QChar(0xaf);
        QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QString("a") + QChar(0) + "b";
    }
    void decode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeLine(bytes), text);
    }

    void removeHtml_data() {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::newRow("nested") << "<b><i>hi</i></b> there"
                                << "hi there";
        QTest::newRow("unclosed stays") << "a > b <c"
                                        << "a > b <c";
        QTest::newRow("double open") << "<<b>>x"
                                     << ">x";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("entities kept") << "&lt;b&gt; &amp;"
                                       << "&lt;b&gt; &amp;";
        QTest::newRow("br leaves nothing") << "a<br>b"
                                           << "ab";
        QTest::newRow("tail after unclosed") << "x<b>y<z"
                                             << "xy<z";
    }
    void removeHtml() {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(QelTOCSock::RemoveHtml(in), out);
    }

    void frameBuilding() {
        const QByteArray f = buildFrame(Data, 3, QByteArray("toc_init_done\0", 14));
        QCOMPARE(f, QByteArray("*\x02\x00\x03\x00\x0e"
                               "toc_init_done\0",
                               20));
        QVERIFY(buildFrame(Data, 0, QByteArray(65536, 'x')).isEmpty());
        QCOMPARE(buildFrame(Data, 0, QByteArray(65535, 'x')).size(), 6 + 65535);
    }

    void reassemblyEverySplit_data() {
        QTest::addColumn<bool>("inPlace");
        QTest::newRow("append, next") << false;
        QTest::newRow("appendFrom with short reads, nextView") << true;
    }

    // Reassembly: every split point of a stream of three frames gives the
    // same frames, in order, once each.
    void reassemblyEverySplit() {
        QFETCH(bool, inPlace);
        const QByteArray a = buildFrame(Data, 0, "SIGN_ON:TOC2.0");
        const QByteArray b = buildFrame(KeepAlive, 1, QByteArray());
        const QByteArray c = buildFrame(Data, 2, "NICK:Me");
        const QByteArray stream = a + b + c;
        for (int cut1 = 0; cut1 <= stream.size(); ++cut1) {
            for (int cut2 = cut1; cut2 <= stream.size(); cut2 += 3) {
                FrameBuffer buffer;
                QList<QByteArray> got;
                QByteArray frame;
                QByteArrayView view;
                for (const QByteArray &piece :
                     {stream.left(cut1), stream.mid(cut1, cut2 - cut1), stream.mid(cut2)}) {
                    if (!inPlace) {
                        buffer.append(piece);
                        while (buffer.next(frame))
                            got << frame;
                        continue;
                    }
                    // The reader is offered more room than it fills.
                    const qint64 n =
                        buffer.appendFrom(piece.size() + 7, [&](char *into, qsizetype) {
                            memcpy(into, piece.constData(), size_t(piece.size()));
                            return piece.isEmpty() ? qint64(-1) : qint64(piece.size());
                        });
                    QCOMPARE(n, piece.isEmpty() ? -1 : piece.size());
                    while (buffer.nextView(view))
                        got << view.toByteArray();
                }
                QCOMPARE(got, (QList<QByteArray>{a, b, c}));
                QCOMPARE(buffer.pending(), 0);
            }
        }
    }

    // A partial frame handed over as raw data the caller frees afterwards
    // must have been copied (ASan reports a use after free otherwise).
    void reassemblyCopiesRawData() {
        const QByteArray whole = buildFrame(Data, 0, "NICK:raw");
        FrameBuffer buffer;
        {
            auto owned = std::make_unique<char[]>(size_t(whole.size()));
            memcpy(owned.get(), whole.constData(), size_t(whole.size()));
            buffer.append(QByteArray::fromRawData(owned.get(), 5));
        }
        buffer.append(whole.mid(5));
        QByteArray frame;
        QVERIFY(buffer.next(frame));
        QCOMPARE(frame, whole);
    }

    void reassemblyKeepsHalf() {
        FrameBuffer buffer;
        const QByteArray a = buildFrame(Data, 0, "one");
        const QByteArray b = buildFrame(Data, 1, "two");
        buffer.append(a + b.left(4));
        QByteArray frame;
        QVERIFY(buffer.next(frame));
        QCOMPARE(frame, a);
        QVERIFY(!buffer.next(frame));
        QCOMPARE(buffer.pending(), 4);
        buffer.append(b.mid(4));
        QVERIFY(buffer.next(frame));
        QCOMPARE(frame, b);
        buffer.clear();
        QCOMPARE(buffer.pending(), 0);
    }
};

// The decoder's tables (tst_serverline.cpp) are pure too and run in this program.
QObject *newServerLineTest();

static bool hasTestFunction(const QObject *test, const QByteArray &name) {
    return test->metaObject()->indexOfMethod(name + "()") >= 0;
}

// A test function named on the command line ("split", "serverLines:im")
// runs only the object that has it; the other one is skipped, not failed.
static bool selected(const QObject *test, const QObject *other, int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray name = QByteArray(argv[i]).split(':').first();
        if (!name.startsWith('-') && hasTestFunction(other, name) && !hasTestFunction(test, name))
            return false;
    }
    return true;
}

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    TestWire wire;
    const std::unique_ptr<QObject> serverLine(newServerLineTest());
    int failed = 0;
    if (selected(&wire, serverLine.get(), argc, argv))
        failed += QTest::qExec(&wire, argc, argv);
    if (selected(serverLine.get(), &wire, argc, argv))
        failed += QTest::qExec(serverLine.get(), argc, argv);
    return failed;
}
#include "tst_wire.moc"
