// Sending from the IM and room input boxes, driven by the keyboard: typed
// text goes out as text, Shift+Enter, the line limit on the escaped line,
// the pace with its marks, and the IM to someone who appears offline.
#include "client/outbox.h"
#include "client/seenonline.h"
#include "client/sendpacer.h"
#include "fakehost.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

namespace {

const QString kWirePrefix =
    QStringLiteral("<FONT FACE='Arial' COLOR='#000000'><BODY BGCOLOR='#FFFFFF'>");

// An IM view with "Pal", or the view of room 42, for a signed-on host.
struct Rig {
    FakeHost host;
    std::unique_ptr<QWidget> view;
    QPlainTextEdit *box = nullptr;
    QTextEdit *text = nullptr;
    QString lineStart; // the wire line up to the message

    explicit Rig(bool room) {
        if (!host.signOn())
            qFatal("no sign-on");
        if (room) {
            auto *chat = new ctlChat(&host);
            chat->Chatids = QStringLiteral("room.");
            chat->Chatid2 = QStringLiteral("42");
            view.reset(chat);
            lineStart = QStringLiteral("toc_chat_send \"42\" \"") + kWirePrefix;
        } else {
            auto *im = new ctlIM(&host);
            im->IMUser = QStringLiteral("Pal");
            view.reset(im);
            lineStart = QStringLiteral("toc_send_im \"pal\" \"") + kWirePrefix;
        }
        box = view->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
        text = view->findChild<QTextEdit *>(QStringLiteral("TEXT"));
        box->clear();
    }
    // Types the text ("\n" in it: Shift+Enter), then Enter.
    void send(const QString &typed) {
        const QStringList lines = typed.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClicks(box, lines.at(i));
        }
        QTest::keyClick(box, Qt::Key_Return);
    }
    QString sent(const QString &body) const { return lineStart + body + QLatin1Char('"'); }
};

} // namespace

class TestSending : public QObject {
    Q_OBJECT

  private slots:
    void typedIsText_data();
    void typedIsText();
    void lineLimitOnEscapedText_data();
    void lineLimitOnEscapedText();
    void pacedLines_data();
    void pacedLines();
    void offlineNote_data();
    void offlineNote();
};

void TestSending::typedIsText_data() {
    QTest::addColumn<bool>("room");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("body");
    for (const bool room : {false, true}) {
        const char *where = room ? "room" : "IM";
        QTest::addRow("%s: markup and entities", where)
            << room << "a < b > c & \"dq\" <b>x</b> &amp; y"
            << "a &lt; b &gt; c &amp; &quot;dq&quot; &lt;b&gt;x&lt;/b&gt; &amp;amp; y";
        QTest::addRow("%s: Shift+Enter", where) << room << "one\n\ntwo"
                                                << "one<br><br>two";
    }
}

void TestSending::typedIsText() {
    QFETCH(bool, room);
    QFETCH(QString, typed);
    QFETCH(QString, body);
    Rig rig(room);
    rig.send(typed);
    QCOMPARE(rig.host.linesUpToMarker(), QStringList{rig.sent(body)});
    QCOMPARE(rig.box->toPlainText(), QString());
}

void TestSending::lineLimitOnEscapedText_data() {
    QTest::addColumn<bool>("room");
    QTest::addColumn<int>("overBy"); // bytes over the limit
    for (const bool room : {false, true})
        for (const int over : {0, 1})
            QTest::addRow("%s, %d over", room ? "room" : "IM", over) << room << over;
}

// Each "<" costs four bytes on the wire: the typed text is short, the line
// is not.
void TestSending::lineLimitOnEscapedText() {
    QFETCH(bool, room);
    QFETCH(int, overBy);
    Rig rig(room);
    const int budget = 2048 - 1 - int(rig.sent(QString()).toUtf8().size()); // the NUL
    const QString typed = QString(budget / 4, u'<') + QString(budget % 4 + overBy, u'x');
    rig.send(typed);
    const QString body = typed.mid(budget / 4).prepend(QStringLiteral("&lt;").repeated(budget / 4));
    QCOMPARE(rig.host.linesUpToMarker(), overBy ? QStringList() : QStringList{rig.sent(body)});
    QCOMPARE(rig.box->toPlainText(), overBy ? typed : QString());
    QCOMPARE(rig.text->toPlainText().contains(QStringLiteral("Not sent: the message is too long.")),
             bool(overBy));
}

void TestSending::pacedLines_data() {
    QTest::addColumn<bool>("room");
    QTest::addColumn<QStringList>("shown"); // three typed, one left, a refusal, signed off
    QTest::newRow("IM") << false
                        << QStringList{"me: one\nme: two\nsending...\nme: three\nsending...\n",
                                       "me: one\nme: two\nme: three\nsending...\n",
                                       "me: one\nme: two\nme: three\nsending...\nNot sent: the "
                                       "server's speed limit.\n",
                                       "me: one\nme: two\nme: three\nNot sent: you are "
                                       "offline.\nNot sent: the server's speed limit.\n"};
    // A room line that left is shown by the server's echo.
    QTest::newRow("room") << true
                          << QStringList{"me: two\nsending...\nme: three\nsending...\n",
                                         "me: three\nsending...\n",
                                         "me: three\nsending...\nme: two\nNot sent: the "
                                         "server's speed limit.\n",
                                         "me: three\nNot sent: you are offline.\nme: two\nNot "
                                         "sent: the server's speed limit.\n"};
}

void TestSending::pacedLines() {
    QFETCH(bool, room);
    QFETCH(QStringList, shown);
    Rig rig(room);
    Outbox outbox(&rig.host.toc);
    qint64 now = 0;
    outbox.pacer->setClock([&now] { return now; });
    rig.host.box = &outbox;
    outbox.seen->note(QStringLiteral("Pal"), true);
    for (const char *typed : {"one", "two", "three"})
        rig.send(QLatin1String(typed));
    QCOMPARE(rig.text->toPlainText(), shown.at(0));
    QCOMPARE(rig.box->toPlainText(), QString());
    now = outbox.pacer->nextDeparture();
    outbox.pacer->pump();
    QCOMPARE(rig.text->toPlainText(), shown.at(1));
    QCOMPARE(rig.host.linesUpToMarker(), QStringList({rig.sent("one"), rig.sent("two")}));
    rig.host.server->sendLine(QStringLiteral("ERROR:903"));
    QVERIFY(waitUntil([&] { return rig.text->toPlainText() == shown.at(2); }));
    QCOMPARE(rig.box->toPlainText(), QStringLiteral("two"));
    outbox.connectionEnded();
    QCOMPARE(rig.text->toPlainText(), shown.at(3));
    QCOMPARE(rig.box->toPlainText(), QStringLiteral("three\ntwo"));
}

void TestSending::offlineNote_data() {
    QTest::addColumn<QString>("seen"); // on, off: buddy updates; im, room: seen there
    QTest::addColumn<bool>("note");
    QTest::newRow("never seen") << "" << true;
    QTest::newRow("online buddy") << "on" << false;
    QTest::newRow("signed off") << "on off" << true;
    QTest::newRow("sent an IM") << "im" << false;
    QTest::newRow("in a room") << "room" << false;
}

void TestSending::offlineNote() {
    QFETCH(QString, seen);
    Rig rig(false);
    Outbox outbox(&rig.host.toc);
    rig.host.box = &outbox;
    QelTOCSock &toc = rig.host.toc;
    for (const QString &step : seen.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("im"))
            emit toc.InstantMessage(QStringLiteral("Pal"), QStringLiteral("hi"), false, QString());
        else if (step == QLatin1String("room"))
            emit toc.ChatUserUpdate(QStringLiteral("pal"), true, 1);
        else
            emit toc.BuddyUpdate(QStringLiteral("P al"), step == QLatin1String("on"), 0, 0, 0, {});
    }
    rig.send(QStringLiteral("hi"));
    QCOMPARE(rig.host.linesUpToMarker(), QStringList{rig.sent("hi")}); // sent all the same
    QTEST(rig.text->toPlainText().endsWith(
              QLatin1String("Pal appears offline: the message may not be delivered.\n")),
          "note");
}

QTEST_MAIN(TestSending)
#include "tst_sending.moc"
