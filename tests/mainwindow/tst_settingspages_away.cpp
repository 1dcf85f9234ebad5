// The "away" and "profile" pages, the away strip and the "format" label.
#include "tst_settingspages.h"

#include "mainwindow/clicklabel.h"
#include "views/ctlim.h"
#include "views/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>

namespace {
const QString kTwoLines = QStringLiteral("I am away from my \ncomputer right now.\n");
const QString kOneLine = QStringLiteral("I am away from my computer right now.");

QStringList items(const QListWidget *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void clickRow(QListWidget *list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
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

// The client area's fixed height, away or present, in pixels.
int clientHeight(bool away) {
    return twips::toPixelsY(away ? 3840 : 3000);
}

bool awayHeight(const frmMain &w) {
    return w.minimumHeight() == w.maximumHeight() && w.height() == clientHeight(true);
}

void goAway(frmMain &w, const QString &text) {
    w.txtAway->setPlainText(text);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
}
} // namespace

void TestSettingsPages::awayListChoice_data() {
    QTest::addColumn<QString>("saved");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::newRow("Default gives the one-line text") << QString() << 0 << kOneLine;
    QTest::newRow("a saved text is copied")
        << QStringLiteral("gone\nfishing") << 1 << QStringLiteral("gone\nfishing");
    QTest::newRow("a saved text reading Default is the entry Default")
        << QStringLiteral("Default ") << 1 << QStringLiteral("Default ");
}

void TestSettingsPages::awayListChoice() {
    QFETCH(QString, saved);
    QFETCH(int, row);
    QFETCH(QString, text);
    frmMain &w = *rig->w;
    QCOMPARE(items(w.lstAway), QStringList{"Default"});
    QCOMPARE(w.txtAway->toPlainText(), kTwoLines);
    if (!saved.isEmpty()) {
        w.chkSaveAway->setChecked(true);
        goAway(w, saved);
    }
    w.tab2->setCurrentWidget(w.pageAway);
    clickRow(w.lstAway, row);
    QCOMPARE(w.txtAway->toPlainText(), text);
    // Choosing the entry already selected puts its text back.
    w.txtAway->setPlainText(QStringLiteral("scratch"));
    clickRow(w.lstAway, row);
    QCOMPARE(w.txtAway->toPlainText(), text);
}

void TestSettingsPages::setAway_data() {
    QTest::addColumn<QStringList>("texts"); // "Set Away" once per text
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<bool>("away");
    const QString lunch = QStringLiteral("out to lunch");
    const QString line = QStringLiteral("toc_set_away \"out to lunch\"");
    QTest::newRow("empty text: nothing")
        << QStringList{""} << true << QStringList{} << QStringList{"Default"} << false;
    QTest::newRow("text, Save off")
        << QStringList{lunch} << false << QStringList{line} << QStringList{"Default"} << true;
    QTest::newRow("text, Save on")
        << QStringList{lunch} << true << QStringList{line} << QStringList{"Default", lunch} << true;
    QTest::newRow("Save skips a listed text")
        << QStringList{lunch, lunch} << true << QStringList{line, line}
        << QStringList{"Default", lunch} << true;
    QTest::newRow("Save skips the entry Default")
        << QStringList{"Default"} << true << QStringList{"toc_set_away \"Default\""}
        << QStringList{"Default"} << true;
}

void TestSettingsPages::setAway() {
    QFETCH(QStringList, texts);
    QFETCH(bool, save);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, list);
    QFETCH(bool, away);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    QCOMPARE(w.height(), clientHeight(false));
    QVERIFY(!w.PicAway->isVisible());
    QVERIFY(w.Command3->isEnabled());
    QVERIFY(w.chkSaveAway->isEnabled());
    linesSent();
    w.labAwayMsgs->setText(QStringLiteral("7"));
    w.chkSaveAway->setChecked(save);
    for (const QString &text : texts)
        goAway(w, text);
    QCOMPARE(linesSent(), lines);
    QCOMPARE(items(w.lstAway), list);
    QCOMPARE(w.height(), clientHeight(away));
    QCOMPARE(w.maximumHeight(), clientHeight(away));
    QCOMPARE(w.isAway(), away);
    QCOMPARE(w.PicAway->isVisible(), away);
    QCOMPARE(w.labAwayMsgs->text(), away ? QStringLiteral("0") : QStringLiteral("7"));
    if (away) // the strip shows inside the enlarged client area
        QVERIFY(w.rect().contains(w.PicAway->geometry().topLeft()));
}

void TestSettingsPages::imBack() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    goAway(w, QStringLiteral("brb"));
    QVERIFY(awayHeight(w));
    QCOMPARE(w.Label21->text(), QStringLiteral("You are marked as away."));
    QCOMPARE(w.Command7->text(), QStringLiteral("I'm Back"));
    QVERIFY(w.chkAuto->isChecked());
    QVERIFY(!w.chkNoIm->isChecked());
    QVERIFY(!w.chkAutoWarn->isChecked());
    linesSent();
    QTest::mouseClick(w.Command7, Qt::LeftButton);
    QCOMPARE(linesSent(), QStringList{"toc_set_away \"\""});
    QCOMPARE(w.height(), clientHeight(false));
    QVERIFY(!w.isAway());
    QVERIFY(!w.PicAway->isVisible());
    // Logging out leaves the away state alone.
    goAway(w, QStringLiteral("brb"));
    QTest::mouseClick(w.Label6, Qt::LeftButton);
    QVERIFY(awayHeight(w));
}

void TestSettingsPages::awayIncomingIMs_data() {
    QTest::addColumn<bool>("autoResponse");
    QTest::addColumn<bool>("autoWarn");
    QTest::addColumn<QStringList>("senders");
    QTest::addColumn<QStringList>("lines");
    const QStringList three{"alice", "alice", "Bob"};
    const QString answer = QStringLiteral("toc_send_im \"%1\" \"gone\" auto");
    const QString warn = QStringLiteral("toc_evil \"%1\" \"norm\"");
    QTest::newRow("auto response, once per partner")
        << true << false << three << QStringList{answer.arg("alice"), answer.arg("bob")};
    QTest::newRow("no auto response") << false << false << three << QStringList{};
    QTest::newRow("auto warn, once per partner, not anonymous")
        << false << true << three << QStringList{warn.arg("alice"), warn.arg("bob")};
    QTest::newRow("both") << true << true << three
                          << QStringList{answer.arg("alice"), warn.arg("alice"), answer.arg("bob"),
                                         warn.arg("bob")};
    QTest::newRow("one partner under two spellings")
        << true << false << QStringList{"alice", "A Lice"} << QStringList{answer.arg("alice")};
}

void TestSettingsPages::awayIncomingIMs() {
    QFETCH(bool, autoResponse);
    QFETCH(bool, autoWarn);
    QFETCH(QStringList, senders);
    QFETCH(QStringList, lines);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    goAway(w, QStringLiteral("gone"));
    w.chkAuto->setChecked(autoResponse);
    w.chkAutoWarn->setChecked(autoWarn);
    linesSent();
    for (const QString &sender : senders)
        QVERIFY(receiveIM(sender, QStringLiteral("hi")));
    QCOMPARE(linesSent(), lines);
    QCOMPARE(w.labAwayMsgs->text(), QString::number(senders.size()));
    // The answer shows once in the partner's view, under the user's name.
    ctlIM *view = imView(QStringLiteral("alice"));
    QVERIFY(view);
    QCOMPARE(transcript(view).count(QStringLiteral("My Name: gone")), autoResponse ? 1 : 0);
    // Not held: the tabs are there.
    QVERIFY(tabs(w).contains(QStringLiteral("alice")));
}

void TestSettingsPages::newAwayPeriodAnswersAgain() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    const QString answer = QStringLiteral("toc_send_im \"alice\" \"%1\" auto");
    goAway(w, QStringLiteral("one"));
    QVERIFY(receiveIM(QStringLiteral("alice"), QStringLiteral("hi")));
    QTest::mouseClick(w.Command7, Qt::LeftButton);
    // Present: IMs are neither counted nor answered.
    QVERIFY(receiveIM(QStringLiteral("alice"), QStringLiteral("back?")));
    QCOMPARE(w.labAwayMsgs->text(), QStringLiteral("1"));
    goAway(w, QStringLiteral("two"));
    QCOMPARE(w.labAwayMsgs->text(), QStringLiteral("0"));
    QVERIFY(receiveIM(QStringLiteral("alice"), QStringLiteral("hi again")));
    const QStringList sent = linesSent();
    QCOMPARE(sent.filter(QStringLiteral(" auto")),
             (QStringList{answer.arg("one"), answer.arg("two")}));
    QCOMPARE(w.labAwayMsgs->text(), QStringLiteral("1"));
}

void TestSettingsPages::heldTabsAppearAtImBack() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    QVERIFY(receiveIM(QStringLiteral("carol"), QStringLiteral("before")));
    w.chkNoIm->setChecked(true);
    goAway(w, QStringLiteral("gone"));
    for (const char *sender : {"alice", "Bob", "alice", "carol"})
        QVERIFY(receiveIM(QLatin1String(sender), QStringLiteral("msg from ") + sender));
    QCOMPARE(tabs(w), (QStringList{"Settings", "carol"}));
    QCOMPARE(w.labAwayMsgs->text(), QStringLiteral("4"));

    QTest::mouseClick(w.Command7, Qt::LeftButton);
    QCOMPARE(tabs(w), (QStringList{"Settings", "carol", "alice", "Bob"}));
    // Nothing was lost while the tabs were held.
    const QString alice = transcript(imView(QStringLiteral("alice")));
    QCOMPARE(alice.count(QStringLiteral("alice: msg from alice")), 2);
    QVERIFY(
        transcript(imView(QStringLiteral("Bob"))).contains(QStringLiteral("Bob: msg from Bob")));
    w.Tab1->setCurrentIndex(2);
    QVERIFY(imView(QStringLiteral("alice"))->isVisible());
}

void TestSettingsPages::profileSetAndSentAtSignOn() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    QCOMPARE(w.txtProfile->toPlainText(), frmMain::kDefaultProfile);
    const QString profile = QStringLiteral("<b>new</b> profile");
    const QString line = QStringLiteral("toc_set_info \"<b>new</b> profile\"");
    linesSent();
    w.txtProfile->setPlainText(profile);
    w.tab2->setCurrentWidget(w.pageProfile);
    QTest::mouseClick(w.Command9, Qt::LeftButton);
    QCOMPARE(linesSent(), QStringList{line});

    QTest::mouseClick(w.Label6, Qt::LeftButton);
    QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    const QStringList signOn = linesSent();
    QCOMPARE(signOn.filter(QStringLiteral("toc_set_info")), QStringList{line});
}

void TestSettingsPages::newFormat_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("line");
    QTest::newRow("cancelled: the empty format") << QString() << "toc_format_nickname \"\"";
    QTest::newRow("a format, sent unchanged")
        << QStringLiteral("My  NAME") << "toc_format_nickname \"My  NAME\"";
}

void TestSettingsPages::newFormat() {
    QFETCH(QString, answer);
    QFETCH(QString, line);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    linesSent();
    QTest::mouseClick(w.Label24, Qt::LeftButton);
    QCOMPARE(rig->dialogs.calls.size(), 1);
    const ScriptedDialogs::Call &call = rig->dialogs.calls.first();
    QCOMPARE(call.kind, QStringLiteral("input"));
    QCOMPARE(call.text, QStringLiteral("New Format"));
    QCOMPARE(call.title, QString());
    QCOMPARE(call.initial, QStringLiteral("My Name"));
    if (answer.isNull())
        rig->dialogs.answerNext();
    else
        rig->dialogs.answerNextText(answer);
    QCOMPARE(linesSent(), QStringList{line});
}
