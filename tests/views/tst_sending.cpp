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
            chat->Chatid2 = QStringLiteral("42");
            view.reset(chat);
        } else {
            auto *im = new ctlIM(&host);
            im->IMUser = QStringLiteral("Pal");
            view.reset(im);
        }
        lineStart = QLatin1String(room ? "toc_chat_send \"42\" \"" : "toc_send_im \"pal\" \"") +
                    kWirePrefix;
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
    void pacedLines_data();
    void pacedLines();
    void offlineNote_data();
    void offlineNote();
};

void TestSending::typedIsText_data() {
    QTest::addColumn<bool>("room");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("overBy"); // >= 0: "<"s that reach the line limit, and this much more
    for (const bool room : {false, true}) {
        const char *where = room ? "room" : "IM";
        QTest::addRow("%s: markup and entities", where)
            << room << "a < b > c & \"dq\" <b>x</b> &amp; y"
            << "a &lt; b &gt; c &amp; &quot;dq&quot; &lt;b&gt;x&lt;/b&gt; &amp;amp; y" << -1;
        QTest::addRow("%s: Shift+Enter", where) << room << "one\n\ntwo"
                                                << "one<br><br>two" << -1;
        // Each "<" costs four bytes on the wire: the typed text is short,
        // the line is not.
        QTest::addRow("%s: escaped line at the limit", where) << room << ""
                                                              << "" << 0;
        QTest::addRow("%s: escaped line one over", where) << room << ""
                                                          << "" << 1;
    }
}

void TestSending::typedIsText() {
    QFETCH(bool, room);
    QFETCH(QString, typed);
    QFETCH(QString, body);
    QFETCH(int, overBy);
    Rig rig(room);
    if (overBy >= 0) {
        const int budget = 2048 - 1 - int(rig.sent(QString()).toUtf8().size()); // and the NUL
        typed = QString(budget / 4, u'<') + QString(budget % 4 + overBy, u'x');
        body = QStringLiteral("&lt;").repeated(budget / 4) + typed.mid(budget / 4);
    }
    rig.send(typed);
    const bool tooLong = overBy > 0;
    QCOMPARE(rig.host.linesUpToMarker(), tooLong ? QStringList() : QStringList{rig.sent(body)});
    QCOMPARE(rig.box->toPlainText(), tooLong ? typed : QString());
    QCOMPARE(rig.text->toPlainText().contains(QLatin1String("Not sent: the message is too long.")),
             tooLong);
}

void TestSending::pacedLines_data() {
    QTest::addColumn<bool>("room");
    QTest::addColumn<QStringList>("shown"); // three typed, one left, a refusal, signed off
    const QString limit = QStringLiteral("Not sent: the server's speed limit.\n");
    const QString offline = QStringLiteral("Not sent: you are offline.\n");
    QTest::newRow("IM") << false
                        << QStringList{"me: a\nme: b\nsending...\nme: c\nsending...\n",
                                       "me: a\nme: b\nme: c\nsending...\n",
                                       "me: a\nme: b\nme: c\nsending...\n" + limit,
                                       "me: a\nme: b\nme: c\n" + offline + limit};
    // A room line that left is shown by the server's echo.
    QTest::newRow("room") << true
                          << QStringList{"me: b\nsending...\nme: c\nsending...\n",
                                         "me: c\nsending...\n",
                                         "me: c\nsending...\nme: b\n" + limit,
                                         "me: c\n" + offline + "me: b\n" + limit};
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
    for (const char *typed : {"a", "b", "c"})
        rig.send(QLatin1String(typed));
    QCOMPARE(rig.text->toPlainText(), shown.at(0));
    QCOMPARE(rig.box->toPlainText(), QString());
    now = outbox.pacer->nextDeparture();
    outbox.pacer->pump();
    QCOMPARE(rig.text->toPlainText(), shown.at(1));
    QCOMPARE(rig.host.linesUpToMarker(), QStringList({rig.sent("a"), rig.sent("b")}));
    rig.host.server->sendLine(QStringLiteral("ERROR:903"));
    QVERIFY(waitUntil([&] { return rig.text->toPlainText() == shown.at(2); }));
    QCOMPARE(rig.box->toPlainText(), QStringLiteral("b"));
    outbox.connectionEnded();
    QCOMPARE(rig.text->toPlainText(), shown.at(3));
    QCOMPARE(rig.box->toPlainText(), QStringLiteral("c\nb"));
}

void TestSending::offlineNote_data() {
    // on, off: buddy updates; im: an IM from them; config: a buddy of the
    // sign-on's configuration.
    QTest::addColumn<QString>("seen");
    QTest::addColumn<QString>("answer"); // to the status question: 901, on, or none
    QTest::addColumn<bool>("asks");
    QTest::addColumn<bool>("note");
    QTest::newRow("never seen: asked, nothing said yet") << ""
                                                         << "" << true << false;
    QTest::newRow("never seen, then not available") << ""
                                                    << "901" << true << true;
    QTest::newRow("never seen, then online") << ""
                                             << "on" << true << false;
    QTest::newRow("a buddy not reported online") << "config"
                                                 << "" << false << true;
    QTest::newRow("online buddy") << "config on"
                                  << "" << false << false;
    QTest::newRow("signed off") << "on off"
                                << "" << false << true;
    QTest::newRow("sent an IM") << "im"
                                << "" << false << false;
}

void TestSending::offlineNote() {
    QFETCH(QString, seen);
    QFETCH(QString, answer);
    QFETCH(bool, asks);
    Rig rig(false);
    Outbox outbox(&rig.host.toc);
    rig.host.box = &outbox;
    QelTOCSock &toc = rig.host.toc;
    for (const QString &step : seen.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("im"))
            emit toc.InstantMessage(QStringLiteral("Pal"), QStringLiteral("hi"), false, QString());
        else if (step == QLatin1String("config"))
            emit toc.LoggedIn(QStringLiteral("me"),
                              {QStringLiteral("[group]G"), QStringLiteral("P Al")}, {}, {}, {}, {},
                              1);
        else
            emit toc.BuddyUpdate(QStringLiteral("P al"), step == QLatin1String("on"), 0, 0, 0, {});
    }
    rig.send(QStringLiteral("hi"));
    QStringList lines{rig.sent("hi")}; // sent all the same
    if (asks)
        lines << QStringLiteral("toc_get_status \"pal\"");
    QCOMPARE(rig.host.linesUpToMarker(), lines);
    // The window routes the server's errors to the outbox's presence.
    if (answer == QLatin1String("901"))
        QVERIFY(outbox.seen->takeAnswer(901, QStringLiteral("pal is not available")));
    else if (answer == QLatin1String("on"))
        emit toc.BuddyUpdate(QStringLiteral("Pal"), true, 0, 0, 0, {});
    QTEST(rig.text->toPlainText().endsWith(
              QLatin1String("Pal appears offline: the message may not be delivered.\n")),
          "note");
}

QTEST_MAIN(TestSending)
#include "tst_sending.moc"
