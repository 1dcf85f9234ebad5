#include "tst_hostile_gui.h"

#include "dialogs/frmerr.h"
#include "pages/boxchain.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/dialogtext.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTextEdit>

QString transcriptOf(const QWidget *view) {
    return view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->toPlainText();
}

int transcriptLengthOf(const QWidget *view) {
    return view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document()->characterCount() - 1;
}

void TestHostileGui::init() {
    rig = std::make_unique<GuiRig>();
}

void TestHostileGui::cleanup() {
    rig.reset();
}

bool TestHostileGui::signOn(const QString &config) {
    if (!rig->signOn(config))
        return false;
    rig->server.clearReceived();
    return true;
}

QByteArray TestHostileGui::frame(const QByteArray &line) {
    return toc::buildFrame(toc::Data, m_seq++, line);
}

bool TestHostileGui::deliver(const QByteArray &bytes, int ms) {
    const QString marker = QStringLiteral("marker%1").arg(++m_marker);
    rig->server.sendRaw(bytes + frame(QByteArray("NICK:") + marker.toUtf8()));
    return waitUntil([&] { return rig->w->PicLogin->frmLogin->txtSn->text() == marker; }, ms);
}

QStringList TestHostileGui::tabKeys() const {
    QStringList keys;
    for (int i = 0; i < rig->w->Tab1->count(); ++i)
        keys << rig->w->tabCaption(i);
    return keys;
}

QString TestHostileGui::snapshot() const {
    const frmMain &w = *rig->w;
    QStringList s;
    s << QStringLiteral("tabs=") + tabKeys().join(QLatin1Char('|'));
    QStringList ims;
    for (const ctlIM *v : w.imViews)
        if (v)
            ims << v->IMUser + QLatin1Char('#') + QString::number(transcriptLengthOf(v));
    s << QStringLiteral("ims=") + ims.join(QLatin1Char('|'));
    QStringList chats;
    for (const ctlChat *v : w.chatViews)
        if (v)
            chats << v->Chatids + QLatin1Char('/') + v->Chatid2 + QLatin1Char('#') +
                         QString::number(transcriptLengthOf(v)) + QLatin1Char('#') +
                         v->findChild<QLabel *>(QStringLiteral("labPPL"))->text();
    s << QStringLiteral("chats=") + chats.join(QLatin1Char('|'));
    QStringList tree;
    for (int i = 0; i < w.PicLogin->buddyList->TreeBL->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *g = w.PicLogin->buddyList->TreeBL->topLevelItem(i);
        QStringList kids;
        for (int k = 0; k < g->childCount(); ++k)
            kids << g->child(k)->text(0) + QLatin1Char('@') +
                        QString::number(BuddyTree::imageOf(g->child(k)));
        tree << g->text(0) + QLatin1Char('[') + kids.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    s << QStringLiteral("tree=") + tree.join(QLatin1Char('|'));
    s << QStringLiteral("alert=") + (w.alertWindow() && w.alertWindow()->isVisible()
                                         ? w.alertWindow()->message()
                                         : QStringLiteral("-"));
    s << QStringLiteral("boxes=") + QString::number(rig->dialogs.calls.size());
    s << QStringLiteral("stat=") + w.findChild<QLabel *>(QStringLiteral("labStat"))->text();
    return s.join(QLatin1Char('\n'));
}

// 10,000 events of one kind leave one open box of that kind, counting the
// rest; once answered, the next single event shows exactly as always.
void TestHostileGui::boxFlood_data() {
    QTest::addColumn<QString>("line"); // %1: the event's number
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("single");
    QTest::newRow("INSERTED2:b, buddy then group")
        << "INSERTED2:b:alias:bud%1:Group %1" << QStringList{"bud0", "Group 0"}
        << QStringList{"bud7", "Group 7"};
    QTest::newRow("DELETED2:g") << "DELETED2:g:Group %1" << QStringList{"Group 0:"}
                                << QStringList{"Group 7:"};
}

void TestHostileGui::boxFlood() {
    QFETCH(QString, line);
    QFETCH(QStringList, first);
    QFETCH(QStringList, single);
    QVERIFY(signOn());
    constexpr int kFlood = 10000;
    QByteArray burst;
    for (int i = 0; i < kFlood; ++i)
        burst += frame(line.arg(i));
    QVERIFY(deliver(burst));
    const QString more = QStringLiteral("\n(and %1 more)").arg(QLocale().toString(kFlood - 1));
    // The count reaches the open box once the event loop runs.
    QVERIFY(waitUntil([&] {
        return rig->dialogs.calls.size() == 1 &&
               rig->dialogs.calls.first().text == first.first() + more;
    }));
    // Each further box of the event reports the same count.
    for (int i = 1; i < first.size(); ++i) {
        rig->dialogs.answerNext();
        QCOMPARE(rig->dialogs.calls.size(), i + 1);
        QCOMPARE(rig->dialogs.calls.last().text, first.at(i) + more);
        QCOMPARE(rig->dialogs.calls.last().title, QString());
    }
    rig->dialogs.answerNext();
    QTest::qWait(20);
    QCOMPARE(rig->dialogs.calls.size(), first.size());
    QCOMPARE(rig->dialogs.openMessages(), 0);

    // One event after the flood: its boxes exactly as without a flood.
    rig->dialogs.calls.clear();
    QVERIFY(deliver(frame(line.arg(7))));
    for (int i = 0; i < single.size(); ++i) {
        QVERIFY(waitUntil([&] { return rig->dialogs.calls.size() == i + 1; }));
        QCOMPARE(rig->dialogs.calls.last().text, single.at(i));
        rig->dialogs.answerNext();
    }
    QCOMPARE(rig->dialogs.calls.size(), single.size());
    // The buddy tree does not follow these events.
    QCOMPARE(rig->w->PicLogin->buddyList->TreeBL->topLevelItemCount(), 0);
}

// The real Qt message boxes: one box per kind on screen, its text updated
// in place, shown as plain text.
void TestHostileGui::boxFloodQtDialogs() {
    QVERIFY(signOn());
    rig->w->setDialogProvider(nullptr);
    QByteArray burst;
    for (int i = 0; i < 3000; ++i)
        burst += frame(QStringLiteral("INSERTED2:b::<b>x</b>%1:G").arg(i)) +
                 frame(QStringLiteral("DELETED2:g:G%1").arg(i));
    QVERIFY(deliver(burst));
    const QString more = QStringLiteral("\n(and %1 more)").arg(QLocale().toString(2999));
    QList<QMessageBox *> boxes;
    QVERIFY(waitUntil([&] {
        boxes = rig->w->findChildren<QMessageBox *>();
        return boxes.size() == 2 && boxes.at(0)->text().endsWith(more) &&
               boxes.at(1)->text().endsWith(more);
    }));
    QStringList texts{boxes.at(0)->text(), boxes.at(1)->text()};
    texts.sort();
    QCOMPARE(texts, (QStringList{"<b>x</b>0" + more, "G0:" + more}));
    for (QMessageBox *box : boxes)
        QCOMPARE(box->textFormat(), Qt::PlainText);
    // "OK" on the buddy box opens its group box, still one of that kind.
    QMessageBox *buddy =
        boxes.at(0)->text().startsWith(QLatin1Char('<')) ? boxes.at(0) : boxes.at(1);
    buddy->button(QMessageBox::Ok)->click();
    QVERIFY(waitUntil([&] {
        boxes = rig->w->findChildren<QMessageBox *>();
        int open = 0;
        for (QMessageBox *b : boxes)
            open += b->isVisible() ? 1 : 0;
        return open == 2 && boxes.size() == 2;
    }));
    bool groupBox = false;
    for (QMessageBox *b : boxes)
        groupBox = groupBox || b->text() == QStringLiteral("G") + more;
    QVERIFY(groupBox);
    for (QMessageBox *b : rig->w->findChildren<QMessageBox *>())
        b->button(QMessageBox::Ok)->click();
}

// A provider that cannot change an open box: the count shows in the next
// box of the kind instead, and none is lost.
void TestHostileGui::boxCountWithoutInPlaceUpdates() {
    struct FixedBoxes : ScriptedDialogs {
        TextUpdate updatableMessage(QWidget *parent, const QString &title, const QString &text,
                                    std::function<void()> done) override {
            return DialogProvider::updatableMessage(parent, title, text, std::move(done));
        }
    } fixed;
    QWidget parent;
    BoxChain chain(&parent, [&fixed] { return &fixed; });
    chain.show({QStringLiteral("a1"), QStringLiteral("g1")});
    for (int i = 0; i < 3; ++i)
        chain.show({QStringLiteral("more"), QStringLiteral("more")});
    QTest::qWait(10);
    QCOMPARE(fixed.texts(QStringLiteral("message")), QStringList{"a1"});
    fixed.answerNext();
    QCOMPARE(fixed.calls.last().text, BoxChain::withCount(QStringLiteral("g1"), 3));
    chain.show({QStringLiteral("late"), QStringLiteral("late")});
    chain.show({QStringLiteral("late"), QStringLiteral("late")});
    fixed.answerNext();
    QVERIFY(!chain.isOpen());
    // The two that came while the last box showed go with the next event.
    chain.show({QStringLiteral("a2"), QStringLiteral("g2")});
    QCOMPARE(fixed.calls.last().text, BoxChain::withCount(QStringLiteral("a2"), 2));
    fixed.answerNext();
    QCOMPARE(fixed.calls.last().text, BoxChain::withCount(QStringLiteral("g2"), 2));
    fixed.answerNext();
    chain.show({QStringLiteral("a3"), QStringLiteral("g3")});
    QCOMPARE(fixed.calls.last().text, QStringLiteral("a3"));
    QCOMPARE(fixed.calls.size(), 5);
}

// Server errors never pile up alert windows: one window, the newest text,
// the main window disabled until it is closed.
void TestHostileGui::errorFlood() {
    QVERIFY(signOn());
    QByteArray burst;
    for (int i = 0; i < 10000; ++i)
        burst += frame(QStringLiteral("ERROR:901:user%1").arg(i));
    burst += frame(QByteArray("ERROR:999:") + QByteArray(60000, 'e'));
    burst += frame(QByteArray("ERROR:901:") + QByteArray(60000, 'x'));
    QVERIFY(deliver(burst));
    int alerts = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        alerts += qobject_cast<frmErr *>(top) ? 1 : 0;
    QCOMPARE(alerts, 1);
    frmErr *err = rig->w->alertWindow();
    QVERIFY(err->isVisible());
    // Cut to what the window can show, with an ellipsis.
    const QString shown = err->message();
    QVERIFY(shown.startsWith(QString(40, 'x')) && shown.endsWith(QChar(0x2026)));
    QVERIFY(shown.size() < 2 * dialogtext::kMaxText);
    QVERIFY(!rig->w->isEnabled());
    err->Command1->click();
    QVERIFY(rig->w->isEnabled());
    QCOMPARE(rig->dialogs.calls.size(), 0);
}

// Twelve rooms: twelve tabs and views (the protocol control records only
// eleven), and the twelfth room's events still reach it by its id.
void TestHostileGui::twelveRooms() {
    QVERIFY(signOn());
    frmMain &w = *rig->w;
    QByteArray burst;
    QStringList expected{QStringLiteral("Settings")};
    for (int i = 1; i <= 12; ++i) {
        burst += frame(QStringLiteral("CHAT_JOIN:%1:room%2").arg(100 + i).arg(i));
        expected << QStringLiteral("room%1.").arg(i);
    }
    QVERIFY(deliver(burst));
    QCOMPARE(tabKeys(), expected);
    QCOMPARE(w.chatViews.size(), 13);
    ctlChat *twelfth = w.chatViews.at(12);
    QCOMPARE(twelfth->Chatids, QStringLiteral("room12."));
    QCOMPARE(twelfth->Chatid2, QStringLiteral("112"));

    QVERIFY(deliver(frame("CHAT_UPDATE_BUDDY:112:T:Some One:bob") +
                    frame("CHAT_IN_ENC:112:bob:F:A:en:<b>only twelve</b>") +
                    frame("CHAT_IN_ENC:101:bob:F:A:en:only one")));
    for (int v = 1; v <= 12; ++v) {
        const QString text = transcriptOf(w.chatViews.at(v));
        QCOMPARE(text.contains(QStringLiteral("only twelve")), v == 12);
        QCOMPARE(text.contains(QStringLiteral("only one")), v == 1);
    }
    QCOMPARE(twelfth->findChild<QLabel *>(QStringLiteral("labPPL"))->text(), QStringLiteral("2"));

    // Typing in the twelfth room sends to its id.
    w.Tab1->setCurrentIndex(12);
    QVERIFY(twelfth->isVisible());
    auto *input = twelfth->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    input->setPlainText(QStringLiteral("hello twelve"));
    QTest::mouseClick(twelfth->findChild<QPushButton *>(QStringLiteral("chameleonButton1")),
                      Qt::LeftButton);
    QVERIFY(rig->server.waitForLineStartingWith(QStringLiteral("toc_chat_send \"112\" ")));

    QVERIFY(deliver(frame("CHAT_LEFT:112")));
    QVERIFY(!input->isEnabled());
    QVERIFY(w.chatViews.at(11)->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"))->isEnabled());
}

// A flood into one room: the transcript is cleared whenever it holds more
// than 2000 characters, so it never holds much more than that.
// IMs from ever new names: conversations open up to the cap, the rest are
// refused with one alert; known partners still get through, and closing a
// conversation makes room for a new one.
void TestHostileGui::conversationFloodIsCapped() {
    QVERIFY(signOn());
    frmMain &w = *rig->w;
    const int cap = frmMain::kMaxOpenIMs;
    QByteArray burst;
    for (int i = 0; i < cap + 50; ++i)
        burst += frame(QStringLiteral("IM_IN_ENC2:spam%1:F:F:T: O:F:L:en:hi %1").arg(i));
    burst += frame("IM_IN_ENC2:spam0:F:F:T: O:F:L:en:still here");
    QVERIFY(deliver(burst));
    QCOMPARE(w.Tab1->count(), 1 + cap);
    QCOMPARE(w.imViews.size(), 1 + cap);
    QVERIFY(transcriptOf(w.imViews.at(1)).contains(QStringLiteral("still here")));
    QCOMPARE(w.alertWindow()->message(),
             QStringLiteral("The IM from spam%1 was not shown: %2 conversations are open. "
                            "Close some to receive IMs from new people.")
                 .arg(cap + 49)
                 .arg(cap));
    w.alertWindow()->Command1->click();

    // "Close" on one conversation: the next new name gets its tab.
    w.imViews.at(5)->findChild<QPushButton *>(QStringLiteral("Command4"))->click();
    QVERIFY(deliver(frame("IM_IN_ENC2:newcomer:F:F:T: O:F:L:en:hello")));
    QCOMPARE(w.imViews.at(5)->IMUser, QStringLiteral("newcomer")); // the freed slot
    QVERIFY(tabKeys().contains(QStringLiteral("newcomer")));
    QCOMPARE(w.Tab1->count(), 1 + cap);
}

// Rooms joined one after another: up to the cap, the rest left again on the
// server with one alert.
void TestHostileGui::roomFloodIsCapped() {
    QVERIFY(signOn());
    frmMain &w = *rig->w;
    const int cap = frmMain::kMaxOpenRooms;
    QByteArray burst;
    for (int i = 1; i <= cap + 5; ++i)
        burst += frame(QStringLiteral("CHAT_JOIN:%1:room%1").arg(1000 + i));
    QVERIFY(deliver(burst));
    QCOMPARE(w.chatViews.size(), 1 + cap);
    QCOMPARE(w.Tab1->count(), 1 + cap);
    const auto leaves = [this] {
        QStringList out;
        for (const QString &line : rig->server.lines())
            if (line.startsWith(QLatin1String("toc_chat_leave")))
                out << line;
        return out;
    };
    QStringList expected;
    for (int i = cap + 1; i <= cap + 5; ++i)
        expected << QStringLiteral("toc_chat_leave \"%1\"").arg(1000 + i);
    QTRY_COMPARE(leaves(), expected);
    QCOMPARE(w.alertWindow()->message(),
             QStringLiteral("The room room%1 was not opened: %2 rooms are open. "
                            "Leave some to join others.")
                 .arg(1000 + cap + 5)
                 .arg(cap));
}

void TestHostileGui::chatFloodStaysBounded_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("size"); // characters of each message's text
    QTest::newRow("5000 short messages") << 5000 << 40;
    QTest::newRow("300 messages of 3000 characters") << 300 << 3000;
    QTest::newRow("20 messages of 60000 characters") << 20 << 60000;
}

void TestHostileGui::chatFloodStaysBounded() {
    QFETCH(int, count);
    QFETCH(int, size);
    QVERIFY(signOn());
    QVERIFY(deliver(frame("CHAT_JOIN:9:flood")));
    ctlChat *view = rig->w->chatViews.last();
    QByteArray burst;
    for (int i = 0; i < count; ++i) {
        QByteArray text = QByteArray::number(i) + ':';
        text += QByteArray(size - text.size(), 'm');
        burst += frame("CHAT_IN_ENC:9:bob:F:A:en:<font color=\"#ff0000\">" + text + "</font>");
    }
    QVERIFY(deliver(burst));
    // One message is "bob: " and its text with a line break; a long word
    // holds a break opportunity every 16 characters.
    const int line = 5 + size + size / 16 + 1;
    QVERIFY2(transcriptLengthOf(view) <= 2000 + line,
             qPrintable(QString::number(transcriptLengthOf(view))));
    QVERIFY(transcriptOf(view).contains(QString::number(count - 1) + QLatin1Char(':')));
    QVERIFY(!transcriptOf(view).contains(QStringLiteral("\n0:")));
    QCOMPARE(rig->w->chatViews.size(), 2);
}

// Deeply nested tags arrive as text: stripped, never interpreted, never
// recursed into. A frame holds at most 65535 bytes, so the deepest nesting
// on the wire is about 21,000 tags; 100,000 are raised as the event itself.
void TestHostileGui::nestedTags_data() {
    QTest::addColumn<bool>("wire");
    QTest::addColumn<bool>("chat");
    QTest::addColumn<int>("depth");
    QTest::newRow("IM, 21,000 open tags on the wire") << true << false << 21000;
    QTest::newRow("chat, 9,000 closed pairs on the wire") << true << true << -9000;
    QTest::newRow("IM, 100,000 nested pairs") << false << false << -100000;
    QTest::newRow("chat, 100,000 nested pairs") << false << true << -100000;
    QTest::newRow("IM, 100,000 nested open font tags") << false << false << 100000;
}

void TestHostileGui::nestedTags() {
    QFETCH(bool, wire);
    QFETCH(bool, chat);
    QFETCH(int, depth);
    QVERIFY(signOn());
    frmMain &w = *rig->w;
    QString html;
    if (depth > 0) {
        const QString open = wire ? QStringLiteral("<b>") : QStringLiteral("<font color=#00ff00>");
        html = open.repeated(depth) + QStringLiteral("deep");
    } else {
        html = QStringLiteral("<i>").repeated(-depth) + QStringLiteral("deep") +
               QStringLiteral("</i>").repeated(-depth);
    }
    if (chat)
        QVERIFY(deliver(frame("CHAT_JOIN:5:nest")));
    const QString line = chat ? QStringLiteral("CHAT_IN_ENC:5:bob:F:A:en:") + html
                              : QStringLiteral("IM_IN_ENC2:bob:F:F:T: O:F:L:en:") + html;
    if (wire) {
        QVERIFY(line.toUtf8().size() <= 65535);
        QVERIFY(deliver(frame(line)));
    } else if (chat) {
        emit w.toc->ChatMessage(5, QStringLiteral("bob"), html);
    } else {
        emit w.toc->InstantMessage(QStringLiteral("bob"), html, false, QStringLiteral(" O"));
    }
    QWidget *view = chat ? static_cast<QWidget *>(w.chatViews.last())
                         : static_cast<QWidget *>(w.imViews.last());
    QCOMPARE(transcriptOf(view), QStringLiteral("bob: deep\n"));
    // Still responsive: the next line is handled.
    QVERIFY(deliver(frame("IM_IN_ENC2:bob:F:F:T: O:F:L:en:after")));
    QVERIFY(transcriptOf(w.imViews.last()).endsWith(QStringLiteral("bob: after\n")));
}

QTEST_MAIN(TestHostileGui)
