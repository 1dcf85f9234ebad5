// The chat view: members, messages and "Show Fonts", sending and the "!"
// refusal, leaving, the room left by the server, the transcript limit,
// double-click clearing, member tooltips and the input box's formatting.
#include "fakehost.h"
#include "transcriptprobe.h"
#include "uikit/twips.h"
#include "views/ctlchat.h"
#include "views/transcript.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

namespace {

const QString kWirePrefix =
    // Attributes go out in single quotes: no double quote reaches the wire.
    QStringLiteral("<FONT FACE='Arial' COLOR='#000000'><BODY BGCOLOR='#FFFFFF'>");

template <typename T> T *child(QWidget *view, const char *name) {
    T *w = view->findChild<T *>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

QStringList entries(QListWidget *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// "+name" joins, "-name" leaves, "~" lets the event loop run once.
QStringList joins(const QString &prefix, int count) {
    QStringList steps;
    for (int i = 0; i < count; ++i)
        steps << QStringLiteral("+%1%2").arg(prefix).arg(i, 3, 10, QLatin1Char('0'));
    return steps;
}

QStringList names(const QStringList &steps) {
    QStringList out;
    for (const QString &step : steps)
        out << step.mid(1);
    return out;
}

} // namespace

class TestCtlChat : public QObject {
    Q_OBJECT

  private slots:
    void initialState();
    void members_data();
    void members();
    void memberLinesAreBoldName();
    void memberFloods_data();
    void memberFloods();
    void messagesWithAndWithoutShowFonts_data();
    void messagesWithAndWithoutShowFonts();
    void send_data();
    void send();
    void offlineSendSaysNotSent();
    void leaveChat();
    void leftByServer();
    void doubleClickClearsTranscript();
    void transcriptLimit_data();
    void transcriptLimit();
    void toolTip_data();
    void toolTip();
    void toolTipShowsMarkupAsText();
    void mouseMoveShowsMemberUnderPointer();
    void updateFontsAppliesEachSetting();
};

void TestCtlChat::initialState() {
    FakeHost host;
    ctlChat view(&host);
    QCOMPARE(child<QPlainTextEdit>(&view, "txtMsg")->toPlainText(), QString());
    QCOMPARE(child<QPlainTextEdit>(&view, "txtMsg")->font().family(), QStringLiteral("Arial"));
    QCOMPARE(child<QLabel>(&view, "labPPL")->text(), QStringLiteral("0"));
    QCOMPARE(child<QLabel>(&view, "labPPL2")->text(), QStringLiteral("People Here"));
    QVERIFY(child<QCheckBox>(&view, "CheckFont")->isChecked());
    QCOMPARE(child<QCheckBox>(&view, "CheckFont")->text(), QStringLiteral("Show Fonts"));
    QCOMPARE(child<QPushButton>(&view, "chameleonButton1")->text(), QStringLiteral("Send"));
    QCOMPARE(child<QPushButton>(&view, "cmdLeave")->text(), QStringLiteral("Leave Chat"));
    QVERIFY(child<QTextEdit>(&view, "TEXT")->isReadOnly());
    QCOMPARE(host.calls, QStringList());
}

void TestCtlChat::members_data() {
    QTest::addColumn<QString>("steps"); // +name joins, -name leaves
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("shown");
    QTest::newRow("join, normalised")
        << "+SomeOne_Else" << QStringList{"someoneelse"} << "someoneelse has entered the room.\n";
    QTest::newRow("leave") << "+a -A" << QStringList()
                           << "a has entered the room.\na has left the room.\n";
    QTest::newRow("leave while not listed: no line")
        << "+a -b" << QStringList{"a"} << "a has entered the room.\n";
    // A name joining twice is listed once; each join still has its line.
    QTest::newRow("duplicate listed once")
        << "+a +A" << QStringList{"a"} << "a has entered the room.\na has entered the room.\n";
    QTest::newRow("duplicate: one leave removes it")
        << "+a +a -a" << QStringList()
        << "a has entered the room.\na has entered the room.\na has left the room.\n";
    QTest::newRow("duplicate apart: one leave, one line")
        << "+a +b +a -a" << QStringList{"b"}
        << "a has entered the room.\nb has entered the room.\na has entered the room.\n"
           "a has left the room.\n";
    QTest::newRow("leave twice: one line")
        << "+a -a -a" << QStringList() << "a has entered the room.\na has left the room.\n";
    QTest::newRow("join again after leaving: listed at the end")
        << "+a +b -a +a" << QStringList{"b", "a"}
        << "a has entered the room.\nb has entered the room.\na has left the room.\n"
           "a has entered the room.\n";
    QTest::newRow("order kept, not sorted") << "+zed +amy" << QStringList{"zed", "amy"}
                                            << "zed has entered the room.\namy has entered the "
                                               "room.\n";
}

void TestCtlChat::members() {
    QFETCH(QString, steps);
    QFETCH(QStringList, list);
    FakeHost host;
    ctlChat view(&host);
    for (QString step : steps.split(QLatin1Char(' '))) {
        step.replace(QLatin1Char('_'), QLatin1Char(' '));
        view.UserUpdate(step.mid(1), step.startsWith(QLatin1Char('+')));
    }
    QCOMPARE(entries(child<QListWidget>(&view, "lstPPL")), list);
    QCOMPARE(child<QLabel>(&view, "labPPL")->text(), QString::number(list.size()));
    QTEST(child<QTextEdit>(&view, "TEXT")->toPlainText(), "shown");
}

void TestCtlChat::memberLinesAreBoldName() {
    FakeHost host;
    ctlChat view(&host);
    view.UserUpdate(QStringLiteral("Ann"), true);
    auto *text = child<QTextEdit>(&view, "TEXT");
    const QTextCharFormat name = formatOf(text, QStringLiteral("ann"));
    const QTextCharFormat rest = formatOf(text, QStringLiteral(" has entered"));
    QVERIFY(isBold(name));
    QVERIFY(!isBold(rest));
    for (const QTextCharFormat &f : {name, rest}) {
        QCOMPARE(foregroundOf(f), QColor(0, 0, 0));
        QCOMPARE(backgroundOf(f), QColor(255, 255, 255));
        QCOMPARE(f.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    }
}

// More changes in one pass than are shown at once: the list ends as the
// changes say, and the transcript reads as if every line had been written
// on its own through add_text2, clearings past the limit included.
void TestCtlChat::memberFloods_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("listed");
    QStringList repeated;
    for (int i = 0; i < 200; ++i)
        repeated << QStringLiteral("+%1").arg(QChar(u'a' + i % 5));
    QTest::newRow("one frame repeating five names")
        << repeated << QStringList{"a", "b", "c", "d", "e"};

    const QStringList room = joins(QStringLiteral("m"), 300);
    QStringList everyThird, stay;
    for (int i = 0; i < room.size(); ++i)
        (i % 3 == 0 ? everyThird : stay) << QStringLiteral("-") + room.at(i).mid(1);
    QTest::newRow("joins and leaves in the same pass") << room + everyThird << names(stay);
    QTest::newRow("leaves after the joins showed")
        << room + QStringList{"~"} + everyThird << names(stay);

    QStringList budget(40, QStringLiteral("+x"));
    QTest::newRow("leaving and joining again in a flood moves to the end")
        << joins(QStringLiteral("m"), 4) + QStringList{"~"} + budget + QStringList{"-m001", "+m001"}
        << QStringList{"m000", "m002", "m003", "x", "m001"};

    QStringList entities;
    for (int i = 0; i < 150; ++i)
        entities << (i % 2 ? QStringLiteral("+q") : QStringLiteral("+&amp;&amp;&amp;&lt;"));
    QTest::newRow("entities shorten the lines")
        << entities << QStringList{"&amp;&amp;&amp;&lt;", "q"};
}

void TestCtlChat::memberFloods() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, listed);
    FakeHost host;
    ctlChat view(&host);
    QTextEdit reference;
    render::setupTranscript(&reference);
    QSet<QString> present;
    const auto line = [&](const QString &name, const char *what) {
        for (const QString &run : {name, QString::fromLatin1(what) + QLatin1String("\r\n")})
            add_text2(&reference, run, "0", "16777215", run == name, false, false, false, "Arial",
                      render::kChatLimit);
    };
    for (const QString &step : steps) {
        const QString name = step.mid(1);
        if (step == QLatin1String("~")) {
            QCoreApplication::processEvents();
        } else if (step.startsWith(QLatin1Char('+'))) {
            view.UserUpdate(name, true);
            present.insert(name);
            line(name, " has entered the room.");
        } else {
            view.UserUpdate(name, false);
            if (present.remove(name))
                line(name, " has left the room.");
        }
    }
    auto *text = child<QTextEdit>(&view, "TEXT");
    QTRY_COMPARE(text->toPlainText(), reference.toPlainText());
    QCOMPARE(text->toHtml(), reference.toHtml());
    QCOMPARE(entries(child<QListWidget>(&view, "lstPPL")), listed);
    QCOMPARE(child<QLabel>(&view, "labPPL")->text(), QString::number(listed.size()));
}

void TestCtlChat::messagesWithAndWithoutShowFonts_data() {
    QTest::addColumn<bool>("showFonts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("background");
    const QColor black(0, 0, 0), white(255, 255, 255);
    QTest::newRow("off: pure red bold shows plain black")
        << false << "<b><font color=\"#ff0000\">hi</font></b>" << false << black << white;
    QTest::newRow("off: blue ignored")
        << false << "<b><font color=\"#0000ff\">hi" << false << black << white;
    QTest::newRow("on: bold blue")
        << true << "<b><font color=\"#0000ff\">hi" << true << QColor(0, 0, 255) << white;
    QTest::newRow("on: only body's bgcolor")
        << true << "<td xbgcolor=#00ff00><body bgcolor=#0000ff>hi" << false << black
        << QColor(0, 0, 255);
    QTest::newRow("off: decoded") << false << "<i>h&#105;</i>" << false << black << white;
}

void TestCtlChat::messagesWithAndWithoutShowFonts() {
    QFETCH(bool, showFonts);
    QFETCH(QString, message);
    FakeHost host;
    ctlChat view(&host);
    child<QCheckBox>(&view, "CheckFont")->setChecked(showFonts);
    view.chatMsg(QStringLiteral("Bob"), message);
    auto *text = child<QTextEdit>(&view, "TEXT");
    QCOMPARE(text->toPlainText(), QStringLiteral("Bob: hi\n"));
    const QTextCharFormat header = formatAt(text, 0);
    QVERIFY(isBold(header));
    QCOMPARE(foregroundOf(header), QColor(0, 0, 255));
    const QTextCharFormat body = formatOf(text, QStringLiteral("hi"));
    QTEST(isBold(body), "bold");
    QTEST(foregroundOf(body), "fore");
    QTEST(backgroundOf(body), "background");
}

void TestCtlChat::send_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("calls");
    const QString send = QStringLiteral("toc_chat_send \"42\" \"") + kWirePrefix;
    QTest::newRow("typed, Enter") << "type"
                                  << "hi" << QStringList{send + "hi\""} << QStringList();
    // "Message" in a new box is a hint: typing there sends only what was typed.
    QTest::newRow("typed into a new box") << "new box"
                                          << "hi" << QStringList{send + "hi\""} << QStringList();
    QTest::newRow("pasted line breaks, Enter")
        << "paste"
        << "one\ntwo" << QStringList{send + "one<br>two\""} << QStringList();
    QTest::newRow("Send button") << "button"
                                 << "hi" << QStringList{send + "hi\""} << QStringList();
    QTest::newRow("! refused") << "type"
                               << "!kick bob" << QStringList()
                               << QStringList{"Errors(Invalid exclamation command.)"};
    QTest::newRow("! alone refused")
        << "button"
        << "!" << QStringList() << QStringList{"Errors(Invalid exclamation command.)"};
    QTest::newRow("leading space is a message")
        << "button"
        << " !kick" << QStringList{send + " !kick\""} << QStringList();
}

void TestCtlChat::send() {
    QFETCH(QString, action);
    QFETCH(QString, input);
    FakeHost host;
    QVERIFY(host.signOn());
    ctlChat view(&host);
    view.Chatids = QStringLiteral("room.");
    view.Chatid2 = QStringLiteral("42");
    auto *box = child<QPlainTextEdit>(&view, "txtMsg");
    if (action != QLatin1String("new box"))
        box->clear();
    if (action == QLatin1String("type") || action == QLatin1String("new box")) {
        QTest::keyClicks(box, input);
        QTest::keyClick(box, Qt::Key_Return);
    } else if (action == QLatin1String("paste")) {
        box->setPlainText(input);
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        box->setPlainText(input);
        QTest::mouseClick(child<QPushButton>(&view, "chameleonButton1"), Qt::LeftButton);
    }
    QTEST(host.linesUpToMarker(), "lines");
    QTEST(host.calls, "calls");
    QCOMPARE(box->toPlainText(), QString());
    // No local echo: the room sends the message back.
    QCOMPARE(child<QTextEdit>(&view, "TEXT")->toPlainText(), QString());
}

void TestCtlChat::offlineSendSaysNotSent() {
    FakeHost host;
    ctlChat view(&host);
    view.Chatid2 = QStringLiteral("42");
    child<QPlainTextEdit>(&view, "txtMsg")->setPlainText(QStringLiteral("hi"));
    QTest::keyClick(child<QPlainTextEdit>(&view, "txtMsg"), Qt::Key_Return);
    QCOMPARE(child<QTextEdit>(&view, "TEXT")->toPlainText(),
             QStringLiteral("Not sent: you are offline.\n"));
    QCOMPARE(child<QPlainTextEdit>(&view, "txtMsg")->toPlainText(), QStringLiteral("hi"));
    // The room closing keeps the draft too.
    view.LeftChat();
    QCOMPARE(child<QPlainTextEdit>(&view, "txtMsg")->toPlainText(), QStringLiteral("hi"));
}

void TestCtlChat::leaveChat() {
    FakeHost host;
    QVERIFY(host.signOn());
    ctlChat view(&host);
    view.setIndex(2);
    view.Chatids = QStringLiteral("room.");
    view.Chatid2 = QStringLiteral("42");
    QStringList seen;
    connect(&view, &ctlChat::ExitChat, this, [&](int index) {
        seen << QStringLiteral("ExitChat(%1) %2 %3 sent=%4")
                    .arg(index)
                    .arg(view.Chatids, view.Chatid2)
                    .arg(host.server->waitForLine(QStringLiteral("toc_chat_leave \"42\"")));
    });
    QTest::mouseClick(child<QPushButton>(&view, "cmdLeave"), Qt::LeftButton);
    QCOMPARE(seen, QStringList{QStringLiteral("ExitChat(2) room. 42 sent=1")});
    QCOMPARE(view.Chatids, QString());
    QCOMPARE(view.Chatid2, QString());
    QCOMPARE(host.calls, QStringList{QStringLiteral("TabUpdate()")});
    QCOMPARE(host.linesUpToMarker(), QStringList{QStringLiteral("toc_chat_leave \"42\"")});
}

void TestCtlChat::leftByServer() {
    FakeHost host;
    QVERIFY(host.signOn());
    ctlChat view(&host);
    view.Chatids = QStringLiteral("room.");
    view.Chatid2 = QStringLiteral("42");
    view.UserUpdate(QStringLiteral("ann"), true);
    view.chatMsg(QStringLiteral("ann"), QStringLiteral("hi"));
    child<QPlainTextEdit>(&view, "txtMsg")->setPlainText(QStringLiteral("draft"));
    view.LeftChat();
    QCOMPARE(child<QPlainTextEdit>(&view, "txtMsg")->toPlainText(), QStringLiteral("draft"));
    QCOMPARE(child<QTextEdit>(&view, "TEXT")->toPlainText(), QString());
    QVERIFY(!child<QPlainTextEdit>(&view, "txtMsg")->isEnabled());
    QVERIFY(!child<QListWidget>(&view, "lstPPL")->isEnabled());
    QVERIFY(!child<QPushButton>(&view, "chameleonButton1")->isEnabled());
    QVERIFY(child<QPushButton>(&view, "cmdLeave")->isEnabled());
    QCOMPARE(entries(child<QListWidget>(&view, "lstPPL")), QStringList{QStringLiteral("ann")});
    // Leaving afterwards still sends the leave command.
    QTest::mouseClick(child<QPushButton>(&view, "cmdLeave"), Qt::LeftButton);
    QCOMPARE(host.linesUpToMarker(), QStringList{QStringLiteral("toc_chat_leave \"42\"")});
}

void TestCtlChat::doubleClickClearsTranscript() {
    FakeHost host;
    ctlChat view(&host);
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.UserUpdate(QStringLiteral("ann"), true);
    view.chatMsg(QStringLiteral("ann"), QStringLiteral("hello"));
    auto *text = child<QTextEdit>(&view, "TEXT");
    QVERIFY(!text->toPlainText().isEmpty());
    QTest::mouseDClick(text->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(text->toPlainText(), QString());
    QCOMPARE(entries(child<QListWidget>(&view, "lstPPL")), QStringList{QStringLiteral("ann")});
}

void TestCtlChat::transcriptLimit_data() {
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("after");
    // "u: " + body + line break = body + 4 characters.
    QTest::newRow("exactly 2000 stays; the body run clears, apart from its header")
        << 2000 << "x\n";
    QTest::newRow("2001 clears before the header") << 2001 << "v: x\n";
    QTest::newRow("1996 keeps both") << 1996 << QString();
}

void TestCtlChat::transcriptLimit() {
    QFETCH(int, held);
    QFETCH(QString, after);
    FakeHost host;
    ctlChat view(&host);
    view.chatMsg(QStringLiteral("u"), QStringLiteral("a ").repeated(held).left(held - 4));
    auto *text = child<QTextEdit>(&view, "TEXT");
    QCOMPARE(text->document()->characterCount() - 1, held);
    view.chatMsg(QStringLiteral("v"), QStringLiteral("x"));
    if (after.isEmpty())
        QCOMPARE(text->toPlainText().size(), held + 5);
    else
        QCOMPARE(text->toPlainText(), after);
}

void TestCtlChat::toolTip_data() {
    QTest::addColumn<double>("row"); // vertical position in rows of 16 pixels
    QTest::addColumn<QString>("tip");
    QTest::newRow("first") << 0.0 << "ann";
    QTest::newRow("inside the first") << 0.9 << "ann";
    QTest::newRow("second") << 1.0 << "bob";
    QTest::newRow("third") << 2.5 << "cy";
    QTest::newRow("below the last") << 3.2 << "";
}

void TestCtlChat::toolTip() {
    QFETCH(double, row);
    FakeHost host;
    ctlChat view(&host);
    for (const char *name : {"ann", "bob", "cy"})
        view.UserUpdate(QLatin1String(name), true);
    auto *list = child<QListWidget>(&view, "lstPPL");
    list->setToolTip(QStringLiteral("stale"));
    view.ShowToolTip(list, int(row * 16 * twips::perPixelY()));
    QTEST(list->toolTip(), "tip");
}

void TestCtlChat::toolTipShowsMarkupAsText() {
    FakeHost host;
    ctlChat view(&host);
    view.UserUpdate(QStringLiteral("<b>x</b>"), true);
    auto *list = child<QListWidget>(&view, "lstPPL");
    view.ShowToolTip(list, 0);
    QTextDocument shown;
    shown.setHtml(list->toolTip());
    QCOMPARE(shown.toPlainText(), QStringLiteral("<b>x</b>"));
}

void TestCtlChat::mouseMoveShowsMemberUnderPointer() {
    FakeHost host;
    ctlChat view(&host);
    view.resize(500, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (const char *name : {"ann", "bob", "cy"})
        view.UserUpdate(QLatin1String(name), true);
    auto *list = child<QListWidget>(&view, "lstPPL");
    // Rows are drawn 16 pixels high, as the tooltip rule takes them.
    QCOMPARE(list->visualItemRect(list->item(1)).top(), 16);
    QCOMPARE(list->visualItemRect(list->item(1)).height(), 16);
    const QPoint pos = list->visualItemRect(list->item(1)).center();
    QMouseEvent move(QEvent::MouseMove, pos, list->viewport()->mapToGlobal(pos), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QCOMPARE(list->toolTip(), QStringLiteral("bob"));
}

void TestCtlChat::updateFontsAppliesEachSetting() {
    FakeHost host;
    host.settings.underline = true;
    host.settings.strikeout = true;
    host.settings.fontColorx = QStringLiteral("not a number");
    host.settings.backColorx = QStringLiteral("65535");
    host.settings.fontFace = QStringLiteral("Courier");
    ctlChat view(&host);
    auto *box = child<QPlainTextEdit>(&view, "txtMsg");
    const QColor textBefore = box->palette().color(QPalette::Text);
    view.UpdateFonts();
    QVERIFY(box->font().underline());
    QVERIFY(box->font().strikeOut());
    QVERIFY(!box->font().bold());
    QCOMPARE(box->palette().color(QPalette::Text), textBefore);
    QCOMPARE(box->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(box->font().family(), QStringLiteral("Courier"));
}

QTEST_MAIN(TestCtlChat)
#include "tst_ctlchat.moc"
