// The "privacy" page: the lines its buttons send, in order, and the lists.
#include "tst_settingspages.h"

#include "dialogs/frmerr.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "uikit/clicklabel.h"
#include "views/ctlim.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>

namespace {
const QString kMarker = QStringLiteral("toc_get_info \"marker\"");

QStringList items(const QListWidget *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

int selectedOption(const frmMain &w) {
    int selected = -1;
    for (int i = 0; i < PrivacyPage::kPrivacyOptions; ++i)
        if (w.PicLogin->privacy->optPrivacy[i]->isChecked())
            selected = selected == -1 ? i : -2; // two selected: wrong
    return selected;
}
} // namespace

void TestSettingsPages::init() {
    rig = std::make_unique<GuiRig>();
}

void TestSettingsPages::cleanup() {
    rig.reset();
}

bool TestSettingsPages::receive(const QString &line) {
    QSignalSpy spy(rig->w->toc, &QelTOCSock::IncomingPacket);
    rig->server.sendLine(line);
    return waitUntil([&] { return spy.count() > 0; });
}

bool TestSettingsPages::receiveIM(const QString &sender, const QString &message) {
    return receive(QStringLiteral("IM_IN_ENC2:") + sender + QStringLiteral(":F:F:T: O:F:L:en:") +
                   message);
}

QStringList TestSettingsPages::linesSent() {
    rig->w->toc->GetProfile(QStringLiteral("marker"));
    if (!rig->server.waitForLine(kMarker))
        return {QStringLiteral("no marker")};
    QStringList lines = rig->server.lines();
    lines.removeLast();
    rig->server.clearReceived();
    return lines;
}

ctlIM *TestSettingsPages::imView(const QString &partner) const {
    for (ctlIM *view : std::as_const(rig->w->imViews))
        if (view->IMUser == partner)
            return view;
    return nullptr;
}

void TestSettingsPages::privacyLines_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("allowName");
    QTest::addColumn<QString>("blockName");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("allowList");
    QTest::addColumn<QStringList>("blockList");
    QTest::addColumn<int>("selected");
    const QString jane = QStringLiteral("Jane Doe");
    const QString mode = QStringLiteral("toc2_set_pdmode %1");
    const QString permit = QStringLiteral("toc2_add_permit \"janedoe\"");
    const QString deny = QStringLiteral("toc2_add_deny \"janedoe\"");

    QTest::newRow("allow Add: mode 3 first, then permit")
        << QStringList{"CmdAddAllow"} << jane << QString() << QStringList{mode.arg(3), permit}
        << QStringList{jane} << QStringList{} << 2;
    QTest::newRow("block Add: deny first, then mode 4")
        << QStringList{"cmdAddBlock"} << QString() << jane << QStringList{deny, mode.arg(4)}
        << QStringList{} << QStringList{jane} << 3;
    QTest::newRow("allow Add twice: mode again, the name once")
        << QStringList{"CmdAddAllow", "CmdAddAllow"} << jane << QString()
        << QStringList{mode.arg(3), permit, mode.arg(3)} << QStringList{jane} << QStringList{} << 2;
    QTest::newRow("block Add twice in two writings: listed once")
        << QStringList{"cmdAddBlock", "cmdAddBlock"} << QString() << jane
        << QStringList{deny, mode.arg(4)} << QStringList{} << QStringList{jane} << 3;
    QTest::newRow("empty name: nothing added or sent")
        << QStringList{"cmdAddBlock", "CmdAddAllow"} << QString() << QStringLiteral("  ")
        << QStringList{} << QStringList{} << QStringList{} << 0;
    QTest::newRow("markup name stays literal")
        << QStringList{"CmdAddAllow"} << QStringLiteral("<b>X&Y") << QString()
        << QStringList{mode.arg(3), "toc2_add_permit \"<b>x&y\""} << QStringList{"<b>X&Y"}
        << QStringList{} << 2;
    const QStringList captions{"Allow All", "Block All", "Allow List", "Block List", "Buddy List"};
    for (int i = 0; i < 5; ++i)
        QTest::addRow("%s sends %d", qPrintable(captions[i]), i + 1)
            << QStringList{QStringLiteral("optPrivacy%1").arg(i)} << QString() << QString()
            << QStringList{mode.arg(i + 1)} << QStringList{} << QStringList{} << i;
    // A block never loosens a stricter mode.
    QTest::newRow("Buddy List, then block Add: mode stays")
        << QStringList{"optPrivacy4", "cmdAddBlock"} << QString() << jane
        << QStringList{mode.arg(5), deny} << QStringList{} << QStringList{jane} << 4;
    QTest::newRow("Allow List, then block Add: mode stays")
        << QStringList{"optPrivacy2", "cmdAddBlock"} << QString() << jane
        << QStringList{mode.arg(3), deny} << QStringList{} << QStringList{jane} << 2;
}

void TestSettingsPages::privacyLines() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, allowName);
    QFETCH(QString, blockName);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, allowList);
    QFETCH(QStringList, blockList);
    QFETCH(int, selected);
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->privacy);
    // "Allow All" shows selected, and signing on sent no mode.
    QCOMPARE(selectedOption(w), 0);
    for (const QString &line : linesSent())
        QVERIFY2(!line.startsWith(QStringLiteral("toc2_set_pdmode")), qPrintable(line));
    // "user" only shows what to type.
    for (QLineEdit *field : {w.PicLogin->privacy->txtAllowUser, w.PicLogin->privacy->txtBlockuser})
        QVERIFY(field->text().isEmpty() && field->placeholderText() == QLatin1String("user"));

    for (const QString &name : clicks) {
        // The name typed again for each Add (an added one leaves its field).
        if (name == QLatin1String("CmdAddAllow"))
            w.PicLogin->privacy->txtAllowUser->setText(allowName);
        if (name == QLatin1String("cmdAddBlock"))
            w.PicLogin->privacy->txtBlockuser->setText(blockName);
        auto *button = w.PicLogin->privacy->findChild<QAbstractButton *>(name);
        QVERIFY2(button && button->isVisible(), qPrintable(name));
        // On the option's round mark, as a user would.
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    QCOMPARE(linesSent(), lines);
    QCOMPARE(items(w.PicLogin->privacy->lstAllow), allowList);
    QCOMPARE(items(w.PicLogin->privacy->lstBlock), blockList);
    QCOMPARE(selectedOption(w), selected);
    // A field whose name was added is empty for the next; a name refused stays.
    QCOMPARE(w.PicLogin->privacy->txtAllowUser->text(),
             clicks.contains("CmdAddAllow") && !allowList.isEmpty() ? QString() : allowName);
    QCOMPARE(w.PicLogin->privacy->txtBlockuser->text(),
             clicks.contains("cmdAddBlock") && !blockList.isEmpty() ? QString() : blockName);
}

void TestSettingsPages::blockUserMenuBlocks() {
    QVERIFY(rig->signOn(QStringLiteral("g:Friends\nb:Jane Doe\nd:eve\ndone:\n")));
    frmMain &w = *rig->w;
    QVERIFY(receive(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:0: O:")));
    auto *node = w.PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("Jane Doe"));
    QVERIFY(node);
    linesSent();
    node->setSelected(true);
    // As the block list's "Add": listed once, and "Allow All" becomes "Block List".
    w.PicLogin->buddyList->menus->mnublock->trigger();
    w.PicLogin->buddyList->menus->mnublock->trigger();
    QCOMPARE(linesSent(), (QStringList{"toc2_add_deny \"janedoe\"", "toc2_set_pdmode 4"}));
    QCOMPARE(items(w.PicLogin->privacy->lstBlock), (QStringList{"eve", "Jane Doe"}));
    QCOMPARE(selectedOption(w), 3);
}

void TestSettingsPages::removeFromLists_data() {
    QTest::addColumn<bool>("allowList");
    QTest::addColumn<bool>("byKey"); // Delete, else the context menu's "Remove"
    QTest::addColumn<bool>("online");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("block list, Delete")
        << false << true << true << QStringList{"toc2_remove_deny \"eve\""};
    QTest::newRow("allow list, Remove")
        << true << false << true << QStringList{"toc2_remove_permit \"carolann\""};
    QTest::newRow("offline: the alert, the entries stay")
        << false << true << false << QStringList{};
}

void TestSettingsPages::removeFromLists() {
    QFETCH(bool, allowList);
    QFETCH(bool, byKey);
    QFETCH(bool, online);
    QFETCH(QStringList, lines);
    // A server listing a name twice shows it once.
    QVERIFY(rig->signOn(QStringLiteral("d:eve\nd:EVE\np:Carol Ann\ndone:\n")));
    linesSent();
    PrivacyPage *page = rig->w->PicLogin->privacy;
    QCOMPARE(items(page->lstBlock), QStringList{"eve"});
    QListWidget *list = allowList ? page->lstAllow : page->lstBlock;
    rig->w->PicLogin->tab2->setCurrentIndex(0);
    if (!online) {
        rig->server.closeClient();
        QVERIFY(waitUntil([&] { return !rig->w->toc->isConnected(); }));
        QVERIFY(!rig->w->alertWindow()); // a lost connection is retried without an alert
    }
    const QStringList before = items(list);
    list->item(0)->setSelected(true);
    rig->w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig->w.get()));
    list->setFocus();
    if (byKey)
        QTest::keyClick(list, Qt::Key_Delete);
    else
        list->findChild<QAction *>(allowList ? "mnuRemoveAllow" : "mnuRemoveBlock")->trigger();
    if (!online) {
        QCOMPARE(rig->w->alertWindow()->message(), QStringLiteral("Not sent: you are offline."));
        QCOMPARE(items(list), before);
        return;
    }
    QCOMPARE(linesSent(), lines);
    QCOMPARE(items(list), QStringList{});
}

void TestSettingsPages::signOnFillsAndSignOffClears() {
    // Records before groups, in configuration order; names as plain text;
    // the server's mode shows selected, and nothing is sent for it.
    const QString config = QStringLiteral("m:2\np:dave\nd:eve\ng:Friends\nb:bob\nd:<b>X&y\n"
                                          "p:Carol Ann\ndone:\n");
    frmMain &w = *rig->w;
    for (int round = 0; round < 2; ++round) {
        QVERIFY(rig->signOn(config));
        QCOMPARE(items(w.PicLogin->privacy->lstBlock), (QStringList{"eve", "<b>X&y"}));
        QCOMPARE(items(w.PicLogin->privacy->lstAllow), (QStringList{"dave", "Carol Ann"}));
        QCOMPARE(selectedOption(w), 1);
        QVERIFY(linesSent().filter(QStringLiteral("toc2_set_pdmode")).isEmpty());
        QTest::mouseClick(w.PicLogin->Label6, Qt::LeftButton);
        QVERIFY(items(w.PicLogin->privacy->lstBlock).isEmpty());
        QVERIFY(items(w.PicLogin->privacy->lstAllow).isEmpty());
        QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));
    }
}

void TestSettingsPages::offlineActionsChangeNothing_data() {
    QTest::addColumn<QString>("button");
    for (const char *name :
         {"cmdAddBlock", "CmdAddAllow", "optPrivacy1", "Command3", "Command9", "cmdChat"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSettingsPages::offlineActionsChangeNothing() {
    QFETCH(QString, button);
    frmMain &w = *rig->w; // never signed on
    auto *b = w.findChild<QAbstractButton *>(button);
    QVERIFY(b);
    w.PicLogin->privacy->txtBlockuser->setText(QStringLiteral("eve"));
    w.PicLogin->privacy->txtAllowUser->setText(QStringLiteral("dave"));
    b->click();
    QVERIFY(w.alertWindow());
    QCOMPARE(w.alertWindow()->message(), QStringLiteral("Not sent: you are offline."));
    // A name not sent stays in its field.
    QCOMPARE(w.PicLogin->privacy->txtBlockuser->text(), QStringLiteral("eve"));
    QVERIFY(items(w.PicLogin->privacy->lstBlock).isEmpty() &&
            items(w.PicLogin->privacy->lstAllow).isEmpty());
    QCOMPARE(selectedOption(w), 0);
    QVERIFY(!w.isAway());
}

QTEST_MAIN(TestSettingsPages)
