// The IM view: echo and send, Enter, status line, warn/block/add/close and
// the formatting of the input box (the buddy icon: tst_ctlim_icon.cpp).
#include "fakehost.h"
#include "transcriptprobe.h"
#include "views/ctlim.h"
#include "views/transcriptview.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <memory>

namespace {

// The same prefix as it travels on the wire (quotes escaped).
const QString kWirePrefix =
    // Attributes go out in single quotes: no double quote reaches the wire.
    QStringLiteral("<FONT FACE='Arial' COLOR='#000000'><BODY BGCOLOR='#FFFFFF'>");

template <typename T> T *child(QWidget *view, const char *name) {
    T *w = view->findChild<T *>(QLatin1String(name));
    if (!w)
        qFatal("no child %s", name);
    return w;
}

// A view whose start-up timer has fired (txtuser filled and read-only).
std::unique_ptr<ctlIM> startedView(FakeHost &host, const QString &partner, quint16 iconPort = 80) {
    auto view = std::make_unique<ctlIM>(&host);
    view->IMUser = partner;
    view->setIconPort(iconPort);
    QLineEdit *user = child<QLineEdit>(view.get(), "txtuser");
    if (!QTest::qWaitFor([&] { return user->isReadOnly(); }))
        qFatal("Timer1 never fired");
    return view;
}

} // namespace

class TestCtlIM : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void sendOnLineBreak_data();
    void sendOnLineBreak();
    void offlineSendSaysNotSent();
    void statusLine_data();
    void statusLine();
    void incomingMessageShowsNameAndBody();
    void linkToolTipAndNoBrowser();
    void newestTextStaysInView();
    void placeKeptWhileHidden();
    void keepsMostRecentMessages_data();
    void keepsMostRecentMessages();
    void warn_data();
    void warn();
    void blockAndAdd();
    void closeAsksHostThenRaisesKillIM();
    void updateFonts_data();
    void updateFonts();
    void startUpTimer();
};

void TestCtlIM::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
}

void TestCtlIM::sendOnLineBreak_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("shown");
    QTest::newRow("typed hi, Enter") << "type"
                                     << "hi"
                                     << "hi"
                                     << "me: hi\n";
    QTest::newRow("typed, Shift+Enter, typed, Enter") << "shift"
                                                      << "hi"
                                                      << "hi<br>there"
                                                      << "me: hi\nthere\n";
    QTest::newRow("pasted two lines, Enter") << "paste"
                                             << "one\ntwo"
                                             << "one<br>two"
                                             << "me: one\ntwo\n";
    QTest::newRow("Send button") << "button"
                                 << "hi"
                                 << "hi"
                                 << "me: hi\n";
    QTest::newRow("empty input sends the prefix") << "button"
                                                  << ""
                                                  << ""
                                                  << "me: \n";
    QTest::newRow("markup typed is sent as text") << "button"
                                                  << "a<b>c"
                                                  << "a&lt;b&gt;c"
                                                  << "me: a<b>c\n";
}

void TestCtlIM::sendOnLineBreak() {
    QFETCH(QString, action);
    QFETCH(QString, input);
    QFETCH(QString, sent);
    QFETCH(QString, shown);
    FakeHost host;
    QVERIFY(host.signOn());
    auto view = startedView(host, QStringLiteral("Buddy One"));
    auto *box = child<QPlainTextEdit>(view.get(), "txtMsg");
    auto *text = child<QTextEdit>(view.get(), "TEXT");

    if (action == QLatin1String("type") || action == QLatin1String("shift")) {
        QTest::keyClicks(box, input);
        QCOMPARE(host.server->lines(), QStringList()); // nothing before Enter
        if (action == QLatin1String("shift")) {
            QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClicks(box, QStringLiteral("there"));
        }
        QTest::keyClick(box, Qt::Key_Return);
    } else if (action == QLatin1String("paste")) {
        box->setPlainText(input);
        QCOMPARE(host.server->lines(), QStringList()); // a paste does not send
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        box->setPlainText(input);
        QTest::mouseClick(child<QPushButton>(view.get(), "Command3"), Qt::LeftButton);
    }

    const QString line =
        QStringLiteral("toc_send_im \"buddyone\" \"") + kWirePrefix + sent + QLatin1Char('"');
    QCOMPARE(host.linesUpToMarker(), QStringList{line});
    // Shown once, under the user's own name.
    QCOMPARE(text->toPlainText(), shown);
    QCOMPARE(box->toPlainText(), QString());
    // The status line is the partner's, not the echo's.
    QCOMPARE(child<QLabel>(view.get(), "labIMstatus")->text(), QString());
}

void TestCtlIM::offlineSendSaysNotSent() {
    FakeHost host; // never signed on
    auto view = startedView(host, QStringLiteral("Buddy"));
    auto *box = child<QPlainTextEdit>(view.get(), "txtMsg");
    QTest::keyClicks(box, QStringLiteral("hi"));
    QTest::keyClick(box, Qt::Key_Return);
    auto *text = child<QTextEdit>(view.get(), "TEXT");
    QCOMPARE(text->toPlainText(), QStringLiteral("me: hi\nNot sent: you are offline.\n"));
    // The draft stays.
    QCOMPARE(box->toPlainText(), QStringLiteral("hi"));

    // Signed on, a message longer than servers take is refused before it
    // goes out (one server closes the connection for it); the text stays.
    QVERIFY(host.signOn());
    text->clear();
    const QString longText(2000, QLatin1Char('x'));
    box->setPlainText(longText);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(text->toPlainText(), QStringLiteral("Not sent: the message is too long.\n"));
    QCOMPARE(box->toPlainText(), longText);
    QCOMPARE(host.linesUpToMarker(), QStringList());
}

void TestCtlIM::statusLine_data() {
    QTest::addColumn<QString>("steps"); // t<n>: TypeStatus(n), m: a message
    QTest::addColumn<QString>("status");
    QTest::newRow("empty at start") << ""
                                    << "";
    QTest::newRow("typing") << "t2"
                            << "Pal is typing...";
    // 1: typed, then paused with text still in the box.
    QTest::newRow("1: entered text") << "t2 t1"
                                     << "Pal has entered text";
    QTest::newRow("0 empties") << "t1 t0"
                               << "";
    QTest::newRow("other values empty") << "t2 t7"
                                        << "";
    QTest::newRow("message ends typing") << "t2 m"
                                         << "";
    QTest::newRow("message ends entered text") << "t1 m"
                                               << "";
    QTest::newRow("typing after message") << "m t2"
                                          << "Pal is typing...";
    // e: the echo of the user's own message, even to a name that never wrote.
    QTest::newRow("own echo leaves typing") << "t2 e"
                                            << "Pal is typing...";
    QTest::newRow("own echo alone") << "e"
                                    << "";
}

void TestCtlIM::statusLine() {
    QFETCH(QString, steps);
    FakeHost host;
    ctlIM view(&host);
    view.IMUser = QStringLiteral("Pal");
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("m") || step == QLatin1String("e"))
            view.im_msg(step == QLatin1String("m") ? QStringLiteral("Pal") : QStringLiteral("me"),
                        QStringLiteral("hello"));
        else
            view.TypeStatus(qint16(step.mid(1).toInt()));
    }
    QTEST(child<QLabel>(&view, "labIMstatus")->text(), "status");
}

void TestCtlIM::incomingMessageShowsNameAndBody() {
    FakeHost host;
    ctlIM view(&host);
    view.IMUser = QStringLiteral("Pal");
    view.im_msg(QStringLiteral("Pal"),
                QStringLiteral("<HTML><BODY BGCOLOR=\"#ffff00\"><i><FONT COLOR=\"#0000ff\">hey "
                               "&lt;3</FONT></i></BODY></HTML>"));
    view.im_msg(QStringLiteral("Pal"), QStringLiteral("<b>two</b>"));
    auto *text = child<QTextEdit>(&view, "TEXT");
    QCOMPARE(text->toPlainText(), QStringLiteral("Pal: hey <3\nPal: two\n"));
    const QTextCharFormat body = formatOf(text, QStringLiteral("hey"));
    QVERIFY(body.fontItalic());
    QVERIFY(!isBold(body));
    QCOMPARE(foregroundOf(body), QColor(0, 0, 255));
    QCOMPARE(backgroundOf(body), QColor(255, 255, 0));
    const QTextCharFormat second = formatOf(text, QStringLiteral("two"));
    QVERIFY(isBold(second));
    QVERIFY(!second.fontItalic());
    QCOMPARE(backgroundOf(second), QColor(255, 255, 255));
}

// A link's tooltip shows a look-alike host as sent; a click with no
// browser on the machine (none on the PATH) says so.
void TestCtlIM::linkToolTipAndNoBrowser() {
    FakeHost host;
    ctlIM view(&host);
    view.im_msg(QStringLiteral("Pal"), QStringLiteral("<a href=\"http://xn--80ak6aa92e.com/\">"
                                                      "apple</a>"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto *text = child<QTextEdit>(&view, "TEXT");
    const QPoint on =
        text->cursorRect(text->document()->find(QStringLiteral("apple"))).center() - QPoint(2, 0);
    QHelpEvent help(QEvent::ToolTip, on, text->viewport()->mapToGlobal(on));
    QApplication::sendEvent(text->viewport(), &help);
    QTRY_VERIFY(QToolTip::text().contains(QLatin1String("http://xn--80ak6aa92e.com/\n")));
    QToolTip::hideText();
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    qunsetenv("BROWSER");
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, on);
    qputenv("PATH", path);
    QVERIFY(host.calls.value(0).startsWith(QLatin1String("Errors(No web browser")));
    QVERIFY(!host.calls.value(0).contains(u'\n')); // the alert shows one line
}

void TestCtlIM::newestTextStaysInView() {
    FakeHost host;
    ctlIM view(&host);
    view.IMUser = QStringLiteral("Pal");
    view.resize(300, 250);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto *bar = child<QTextEdit>(&view, "TEXT")->verticalScrollBar();
    for (int i = 0; i < 60; ++i)
        view.im_msg(QStringLiteral("Pal"), QStringLiteral("<b>line %1</b>").arg(i));
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), bar->maximum());
}

// Hidden (another tab), nothing is laid out; shown again, the reader finds
// the place left, or the end once a message came in between.
void TestCtlIM::placeKeptWhileHidden() {
    FakeHost host;
    ctlIM view(&host);
    view.resize(300, 250);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto *bar = child<QTextEdit>(&view, "TEXT")->verticalScrollBar();
    for (int i = 0; i < 60; ++i)
        view.im_msg(QStringLiteral("Pal"), QStringLiteral("line %1").arg(i));
    bar->setValue(bar->maximum() / 2);
    const int place = bar->value();
    view.hide();
    view.show();
    QCOMPARE(bar->value(), place);
    view.hide();
    view.im_msg(QStringLiteral("Pal"), QStringLiteral("while away"));
    view.show();
    QVERIFY(bar->value() > place);
    QCOMPARE(bar->value(), bar->maximum());
}

void TestCtlIM::keepsMostRecentMessages_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("received"); // on screen, in one event-loop pass
    const QString longBody = QStringLiteral("long %1 ") + QString(1950, QLatin1Char('x'));
    QTest::newRow("one over the cap")
        << TranscriptView::kKeptMessages + 1 << QStringLiteral("line %1") << false;
    QTest::newRow("a pass over the cap") << 12000 << QStringLiteral("line %1") << true;
    QTest::newRow("2 KB each") << 700 << longBody << false;
    QTest::newRow("2 KB each in a pass") << 700 << longBody << true;
}

// The newest messages stay, whole and in order; the oldest go in batches.
void TestCtlIM::keepsMostRecentMessages() {
    QFETCH(int, count);
    QFETCH(QString, body);
    QFETCH(bool, received);
    FakeHost host;
    ctlIM view(&host);
    view.IMUser = QStringLiteral("Pal");
    auto *text = child<QTextEdit>(&view, "TEXT");
    if (received) {
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    for (int i = 0; i < count; ++i) {
        if (received)
            view.receive(QStringLiteral("Pal"), body.arg(i));
        else
            view.im_msg(QStringLiteral("Pal"), body.arg(i));
    }
    QCoreApplication::processEvents();
    // Long words carry break opportunities.
    QStringList lines = text->toPlainText().remove(QChar(0x200B)).split(QLatin1Char('\n'));
    QCOMPARE(lines.takeLast(), QString());
    QVERIFY(lines.size() <= TranscriptView::kKeptMessages && lines.size() < count);
    QVERIFY(text->document()->characterCount() <= TranscriptView::kKeptCharacters);
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(lines.at(i), QStringLiteral("Pal: ") + body.arg(count - lines.size() + i));
    if (received)
        QCOMPARE(text->verticalScrollBar()->value(), text->verticalScrollBar()->maximum());
}

void TestCtlIM::warn_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("Warn anonymously")
        << int(DialogProvider::Answer::Yes)
        << QStringList{QStringLiteral("toc_evil \"somebody\" \"anon\"")};
    QTest::newRow("Warn: named") << int(DialogProvider::Answer::No)
                                 << QStringList{QStringLiteral("toc_evil \"somebody\" \"norm\"")};
    QTest::newRow("Cancel: nothing") << int(DialogProvider::Answer::Cancel) << QStringList();
}

void TestCtlIM::warn() {
    QFETCH(int, answer);
    FakeHost host;
    QVERIFY(host.signOn());
    auto view = startedView(host, QStringLiteral("Some Body"));
    host.dialogProvider.answers << DialogProvider::Answer(answer);
    QTest::mouseClick(child<QPushButton>(view.get(), "Command2"), Qt::LeftButton);
    // The buttons say what they do; the second one warns too.
    QCOMPARE(host.dialogProvider.asked,
             QStringList{QStringLiteral("Warn User|Warn Some Body? An anonymous warning does not "
                                        "tell them who warned.|Warn anonymously/Warn/Cancel")});
    QTEST(host.linesUpToMarker(), "lines");
}

void TestCtlIM::blockAndAdd() {
    FakeHost host;
    ctlIM view(&host);
    view.IMUser = QStringLiteral("Pest");
    QTest::mouseClick(child<QPushButton>(&view, "Command1"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(&view, "cmdIgnore"), Qt::LeftButton);
    QCOMPARE(host.calls, (QStringList{QStringLiteral("blockFromView(Pest)"),
                                      QStringLiteral("showAddBuddy()")}));
    QCOMPARE(view.IMUser, QStringLiteral("Pest"));
}

void TestCtlIM::closeAsksHostThenRaisesKillIM() {
    FakeHost host;
    ctlIM view(&host);
    view.setIndex(3);
    view.IMUser = QStringLiteral("Pal");
    QStringList seen;
    connect(&view, &ctlIM::KillIM, this, [&](int index) {
        seen << QStringLiteral("KillIM(%1) IMUser=%2 after %3")
                    .arg(index)
                    .arg(view.IMUser, host.calls.join(QLatin1Char(',')));
    });
    QTest::mouseClick(child<QPushButton>(&view, "Command4"), Qt::LeftButton);
    QCOMPARE(seen, QStringList{QStringLiteral("KillIM(3) IMUser=Pal after CloseTab(Pal)")});
    QCOMPARE(view.IMUser, QString());
}

void TestCtlIM::updateFonts_data() {
    QTest::addColumn<QString>("partner");
    QTest::addColumn<QString>("fontColorx");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("textColor");
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QString>("family");
    const QColor unchanged; // invalid: the palette keeps its own colour
    QTest::newRow("no partner: ignored")
        << ""
        << "255" << true << false << unchanged << unchanged << "Arial";
    QTest::newRow("one character: ignored")
        << "B"
        << "255" << true << false << unchanged << unchanged << "Arial";
    QTest::newRow("applied") << "Bo"
                             << "255" << true << true << QColor(255, 0, 0) << QColor(0, 0, 255)
                             << "Courier";
    QTest::newRow("&H colour text")
        << "Bo"
        << "&HFF00" << true << true << QColor(0, 255, 0) << QColor(0, 0, 255) << "Courier";
    QTest::newRow("bad colour stops the rest")
        << "Bo"
        << "abc" << false << true << unchanged << unchanged << "Arial";
}

void TestCtlIM::updateFonts() {
    QFETCH(QString, partner);
    QFETCH(QString, fontColorx);
    QFETCH(QColor, textColor);
    QFETCH(QColor, base);
    FakeHost host;
    host.settings.bold = true;
    host.settings.italic = true;
    host.settings.fontColorx = fontColorx;
    host.settings.backColorx = QStringLiteral("16711680");
    host.settings.fontFace = QStringLiteral("Courier");
    ctlIM view(&host);
    auto *box = child<QPlainTextEdit>(&view, "txtMsg");
    const QPalette before = box->palette();
    view.IMUser = partner;
    QTEST(view.UpdateFonts(), "result");
    QTEST(box->font().bold(), "bold");
    QCOMPARE(box->font().italic(), box->font().bold());
    QTEST(box->font().family(), "family");
    QCOMPARE(box->palette().color(QPalette::Text),
             textColor.isValid() ? textColor : before.color(QPalette::Text));
    QCOMPARE(box->palette().color(QPalette::Base),
             base.isValid() ? base : before.color(QPalette::Base));
}

void TestCtlIM::startUpTimer() {
    FakeHost host;
    ctlIM view(&host);
    auto *user = child<QLineEdit>(&view, "txtuser");
    QVERIFY(!user->isReadOnly());
    view.IMUser = QStringLiteral("Pal");
    QTRY_VERIFY(user->isReadOnly());
    QCOMPARE(user->text(), QStringLiteral("Pal"));
    // It fires once: a later change of IMUser is not copied.
    view.IMUser = QStringLiteral("Other");
    QTest::qWait(20);
    QCOMPARE(user->text(), QStringLiteral("Pal"));
}

QTEST_MAIN(TestCtlIM)
#include "tst_ctlim.moc"
