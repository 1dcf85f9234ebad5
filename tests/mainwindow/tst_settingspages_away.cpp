// The "away" and "profile" pages, the away strip and the "format" label.
#include "tst_settingspages.h"

#include "uikit/clicklabel.h"
#include "uikit/twips.h"
#include "views/ctlim.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>

namespace {
QStringList items(const QListWidget *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList tabs(const frmMain &w) {
    QStringList out;
    for (int i = 0; i < w.Tab1->count(); ++i)
        out << w.tabCaption(i);
    return out;
}

QString transcript(const QWidget *view) {
    return view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->toPlainText();
}

// The fixed client height: 3000 twips, 840 more while away.
int clientHeight(bool away) {
    return twips::toPixelsY(away ? 3840 : 3000);
}

// "tray:" first: the tray menu's "Set Away" instead of the page's.
void goAway(frmMain &w, QString text) {
    const bool tray = text.startsWith(QLatin1String("tray:"));
    w.PicLogin->away->txtAway->setPlainText(text.remove(QStringLiteral("tray:")));
    if (!tray) {
        QTest::mouseClick(w.PicLogin->away->Command3, Qt::LeftButton);
        return;
    }
    for (QAction *a : w.opt->actions())
        if (a->text() == QLatin1String("Set Away"))
            a->trigger();
}
} // namespace

void TestSettingsPages::defaultEntryGivesOneLine() {
    frmMain &w = *rig->w;
    QCOMPARE(w.PicLogin->away->txtAway->toPlainText(),
             QStringLiteral("I am away from my \ncomputer right now.\n"));
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->away);
    const QRect r = w.PicLogin->away->lstAway->visualItemRect(w.PicLogin->away->lstAway->item(0));
    QTest::mouseClick(w.PicLogin->away->lstAway->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(w.PicLogin->away->txtAway->toPlainText(),
             QStringLiteral("I am away from my computer right now."));

    // Focus or a row set by the program leaves what the user typed; a key
    // that moves to another entry copies it.
    w.PicLogin->away->lstAway->addItem(QStringLiteral("brb"));
    w.PicLogin->away->txtAway->setPlainText(QStringLiteral("typed"));
    w.PicLogin->away->lstAway->setCurrentRow(-1);
    w.PicLogin->away->lstAway->setFocus();
    w.PicLogin->away->lstAway->setCurrentRow(0);
    QCOMPARE(w.PicLogin->away->txtAway->toPlainText(), QStringLiteral("typed"));
    QTest::keyClick(w.PicLogin->away->lstAway, Qt::Key_Down);
    QCOMPARE(w.PicLogin->away->txtAway->toPlainText(), QStringLiteral("brb"));
}

void TestSettingsPages::setAway_data() {
    QTest::addColumn<QStringList>("texts"); // "Set Away" once per text
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("list");
    const QString lunch = QStringLiteral("out to lunch");
    QTest::newRow("empty text: nothing") << QStringList{""} << true << QStringList{"Default"};
    QTest::newRow("Save off") << QStringList{lunch} << false << QStringList{"Default"};
    QTest::newRow("Save on") << QStringList{lunch} << true << QStringList{"Default", lunch};
    QTest::newRow("Save skips a listed text")
        << QStringList{lunch, lunch} << true << QStringList{"Default", lunch};
    // The tray sends what the away page shows, not the first saved message.
    QTest::newRow("from the tray")
        << QStringList{"tray:" + lunch} << true << QStringList{"Default", lunch};
}

void TestSettingsPages::setAway() {
    QFETCH(QStringList, texts);
    QFETCH(bool, save);
    QFETCH(QStringList, list);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    QCOMPARE(w.height(), clientHeight(false));
    QVERIFY(!w.PicAway->isVisible());
    linesSent();
    w.PicAway->labAwayMsgs->setText(QStringLiteral("7"));
    w.PicLogin->away->chkSaveAway->setChecked(save);
    for (const QString &text : texts)
        goAway(w, text);
    const bool away = !texts.first().isEmpty();
    QStringList lines;
    for (const QString &text : texts)
        if (away)
            lines << QStringLiteral("toc_set_away \"%1\"").arg(QString(text).remove("tray:"));
    QCOMPARE(linesSent(), lines);
    QCOMPARE(items(w.PicLogin->away->lstAway), list);
    QCOMPARE(w.height(), clientHeight(away));
    QCOMPARE(w.minimumHeight(), clientHeight(away));
    QCOMPARE(w.PicAway->isVisible(), away);
    QCOMPARE(w.PicAway->labAwayMsgs->text(), away ? QStringLiteral("0") : QStringLiteral("7"));
}

void TestSettingsPages::imBack() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    goAway(w, QStringLiteral("brb"));
    linesSent();
    QTest::mouseClick(w.PicAway->Command7, Qt::LeftButton);
    QCOMPARE(linesSent(), QStringList{"toc_set_away \"\""});
    QCOMPARE(w.height(), clientHeight(false));
    QVERIFY(!w.PicAway->isVisible());
}

void TestSettingsPages::awayIncomingIMs_data() {
    QTest::addColumn<bool>("autoResponse");
    QTest::addColumn<bool>("autoWarn");
    QTest::addColumn<QStringList>("lines");
    const QString answer = QStringLiteral("toc_send_im \"%1\" \"gone\" auto");
    const QString warn = QStringLiteral("toc_evil \"%1\" \"norm\"");
    QTest::newRow("auto response, once per partner")
        << true << false << QStringList{answer.arg("alice"), answer.arg("bob")};
    QTest::newRow("no auto response") << false << false << QStringList{};
    QTest::newRow("both") << true << true
                          << QStringList{answer.arg("alice"), warn.arg("alice"), answer.arg("bob"),
                                         warn.arg("bob")};
}

void TestSettingsPages::awayIncomingIMs() {
    QFETCH(bool, autoResponse);
    QFETCH(bool, autoWarn);
    QFETCH(QStringList, lines);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    goAway(w, QStringLiteral("gone"));
    w.PicAway->chkAuto->setChecked(autoResponse);
    w.PicAway->chkAutoWarn->setChecked(autoWarn);
    linesSent();
    // "A Lice" is alice under another spelling.
    for (const char *sender : {"alice", "A Lice", "Bob", "bob"})
        QVERIFY(receiveIM(QLatin1String(sender), QStringLiteral("hi")));
    QCOMPARE(linesSent(), lines);
    QCOMPARE(w.PicAway->labAwayMsgs->text(), QStringLiteral("4"));
    // The answer shows once in the partner's view, under the user's name,
    // marked as automatic.
    QCOMPARE(transcript(imView(QStringLiteral("alice")))
                 .count(QStringLiteral("My Name (auto-response): gone")),
             autoResponse ? 1 : 0);

    // A new away period answers again; IMs while present are not counted.
    QTest::mouseClick(w.PicAway->Command7, Qt::LeftButton);
    QVERIFY(receiveIM(QStringLiteral("alice"), QStringLiteral("back?")));
    QCOMPARE(w.PicAway->labAwayMsgs->text(), QStringLiteral("4"));
    goAway(w, QStringLiteral("gone"));
    linesSent();
    QVERIFY(receiveIM(QStringLiteral("alice"), QStringLiteral("hi")));
    QCOMPARE(linesSent(), lines.mid(0, autoResponse + autoWarn));
    QCOMPARE(w.PicAway->labAwayMsgs->text(), QStringLiteral("1"));
}

void TestSettingsPages::heldTabsAppearAtImBack() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    QVERIFY(receiveIM(QStringLiteral("carol"), QStringLiteral("before")));
    w.PicAway->chkNoIm->setChecked(true);
    goAway(w, QStringLiteral("gone"));
    for (const char *sender : {"alice", "Bob", "alice", "carol"})
        QVERIFY(receiveIM(QLatin1String(sender), QStringLiteral("msg from ") + sender));
    QCOMPARE(tabs(w), (QStringList{"Settings", "carol"}));
    // Held conversations stay out of sight, also over the selected one.
    w.Tab1->setCurrentIndex(1);
    QVERIFY(!imView(QStringLiteral("alice"))->isVisible());
    QVERIFY(!imView(QStringLiteral("Bob"))->isVisible());

    // A new sign-on while away makes the new session away too.
    QTest::mouseClick(w.PicLogin->Label6, Qt::LeftButton);
    QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc_set_away \"gone\"")));
    QVERIFY(w.isAway());
    for (const char *sender : {"alice", "Bob"})
        QVERIFY(receiveIM(QLatin1String(sender), QStringLiteral("msg from ") + sender));

    QTest::mouseClick(w.PicAway->Command7, Qt::LeftButton);
    QCOMPARE(tabs(w), (QStringList{"Settings", "alice", "Bob"}));
    w.Tab1->setCurrentIndex(2);
    QVERIFY(imView(QStringLiteral("Bob"))->isVisible());
}

void TestSettingsPages::profileSetAndSentAtSignOn() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    const QString line = QStringLiteral("toc_set_info \"<b>new</b> profile\"");
    linesSent();
    w.PicLogin->profile->txtProfile->setPlainText(QStringLiteral("<b>new</b> profile"));
    QTest::mouseClick(w.PicLogin->profile->Command9, Qt::LeftButton);
    QCOMPARE(linesSent(), QStringList{line});

    QTest::mouseClick(w.PicLogin->Label6, Qt::LeftButton);
    QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QCOMPARE(linesSent().filter(QStringLiteral("toc_set_info")), QStringList{line});

    // Longer than servers take: the alert says so and nothing goes out.
    w.PicLogin->profile->txtProfile->setPlainText(QString(2100, QLatin1Char('p')));
    QTest::mouseClick(w.PicLogin->profile->Command9, Qt::LeftButton);
    QCOMPARE(w.alertWindow()->message(), QStringLiteral("Not sent: the profile is too long."));
    QCOMPARE(linesSent(), QStringList());
}

void TestSettingsPages::cancelledNewFormatSendsNothing() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    linesSent();
    QTest::mouseClick(rig->w->PicLogin->Label24, Qt::LeftButton);
    QCOMPARE(rig->dialogs.calls.size(), 1);
    QCOMPARE(rig->dialogs.calls[0].text, QStringLiteral("New Format"));
    QCOMPARE(rig->dialogs.calls[0].initial, QStringLiteral("My Name"));
    rig->dialogs.answerNext(); // cancel
    QCOMPARE(linesSent(), QStringList());
}

// The server refuses a new writing of the name with a bare code: the alert
// says what was refused. Another error says its code as before.
void TestSettingsPages::refusedFormatSaysWhat() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    QTest::mouseClick(rig->w->PicLogin->Label24, Qt::LeftButton);
    rig->dialogs.calls.last().textDone(QStringLiteral("Other Name"));
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc_format_nickname \"Other Name\"")));
    QVERIFY(receive(QStringLiteral("ERROR:913")));
    QCOMPARE(rig->w->alertWindow()->message(),
             QStringLiteral("The server refused to show your screen name as \"Other Name\": only "
                            "capital letters and spaces may change."));
    QVERIFY(receive(QStringLiteral("ERROR:913")));
    QCOMPARE(rig->w->alertWindow()->message(), QStringLiteral("Error code: 913"));
}
