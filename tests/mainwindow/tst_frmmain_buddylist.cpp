#include "tst_frmmain.h"

#include "client/buddyidle.h"
#include "client/clientsettings.h"
#include "dialogs/frmaddbuddy.h"
#include "manualclock.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScopeGuard>
#include <QToolTip>

namespace {

const QString kConfig = QStringLiteral("g:Co Workers\nb:Jane Doe\nb:bob\ng:Friends\nb:Carol\n"
                                       "b:jane doe\ndone:\n");

// The tree as text: "Group[child(image),child(image)]", one per top node.
QStringList treeShape(const QTreeWidget *tree) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *g = tree->topLevelItem(i);
        QStringList kids;
        for (int k = 0; k < g->childCount(); ++k)
            kids << g->child(k)->text(0) + QLatin1Char('(') +
                        QString::number(BuddyTree::imageOf(g->child(k))) + QLatin1Char(')');
        out << g->text(0) + QLatin1Char('[') + kids.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    return out;
}

void clickNode(QTreeWidget *tree, QTreeWidgetItem *node) {
    tree->scrollToItem(node);
    const QRect r = tree->visualItemRect(node);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

void TestFrmMain::treeFromConfiguration() {
    QVERIFY(rig->signOn(kConfig));
    frmMain &w = *rig->w;
    QCOMPARE(w.groups, (QStringList{"Co Workers", "Friends"}));
    QCOMPARE(w.BuddyListx.entries(), (QStringList{"Co Workers:janedoe", "Co Workers:bob",
                                                  "Friends:carol", "Friends:janedoe"}));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QCOMPARE(treeShape(tree), (QStringList{"Co Workers[]", "Friends[]"}));
    QCOMPARE(BuddyTree::keyOf(tree->topLevelItem(0)), QStringLiteral("Co Workers"));
    QCOMPARE(BuddyTree::imageOf(tree->topLevelItem(0)), 0);
}

// "Show offline buddies": the known buddies stay in sight, grey, with
// their own image, online or not (a buddy in two groups shows in the first,
// as when online); off, the tree is as before. Remembered.
void TestFrmMain::offlineBuddies() {
    auto *show = rig->find<QCheckBox>("chkOffline");
    QVERIFY(!show->isChecked());
    show->setChecked(true);
    QVERIFY(rig->signOn(kConfig));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    const QStringList allOffline{"Co Workers[Jane Doe(5),bob(5)]", "Friends[Carol(5)]"};
    QCOMPARE(treeShape(tree), allOffline);
    QVERIFY(tree->topLevelItem(0)->isExpanded() && tree->topLevelItem(1)->isExpanded());
    QCOMPARE(tree->nodeByKey("bob")->foreground(0).color(), QColor(Qt::gray));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Bob:T:0:0:0: O:"));
    QVERIFY(waitUntil([&] { return BuddyTree::imageOf(tree->nodeByKey("Bob")) == 1; }));
    QCOMPARE(treeShape(tree), (QStringList{"Co Workers[Jane Doe(5),Bob(1)]", "Friends[Carol(5)]"}));
    QVERIFY(tree->nodeByKey("Bob")->foreground(0).style() == Qt::NoBrush);
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Bob:F:0:0:0:   :"));
    QVERIFY(waitUntil([&] { return BuddyTree::imageOf(tree->nodeByKey("Bob")) == 5; }));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Carol:T:0:0:0: O:"));
    QVERIFY(waitUntil([&] { return BuddyTree::imageOf(tree->nodeByKey("Carol")) == 1; }));
    show->setChecked(false);
    QCOMPARE(treeShape(tree), (QStringList{"Co Workers[]", "Friends[Carol(1)]"}));
    QVERIFY(!ClientSettings().showOfflineBuddies());
    show->setChecked(true);
    QVERIFY(ClientSettings().showOfflineBuddies());
    QCOMPARE(treeShape(tree).size(), 2);
    QCOMPARE(treeShape(tree).at(0), QStringLiteral("Co Workers[Jane Doe(5),Bob(5)]"));
    // A buddy added now (never seen online) shows at once, as does one that
    // another session added.
    rig->w->PicLogin->buddyList->menus->bdyAdd->trigger();
    frmAddBuddy *add = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<frmAddBuddy *>(top); dialog && dialog->isVisible())
            add = dialog;
    QVERIFY(add);
    add->txtsn->setText(QStringLiteral("Dave Smith"));
    QTest::mouseClick(add->Command1, Qt::LeftButton);
    rig->server.sendLine(QStringLiteral("INSERTED2:b::Eve:Friends"));
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Eve"); }));
    QCOMPARE(treeShape(tree), (QStringList{"Co Workers[Jane Doe(5),Bob(5),Dave Smith(5)]",
                                           "Friends[Carol(1),Eve(5)]"}));
}

// "Aliases User": shown on the tab and the IM's header, kept for the
// account; a cancel changes nothing, an empty alias removes it.
void TestFrmMain::aliases() {
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:0: O:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Jane Doe"); }));
    tree->nodeByKey("Jane Doe")->setSelected(true);
    BuddyMenus *menus = rig->w->PicLogin->buddyList->menus;
    const auto alias = [&](bool ok, const QString &text) {
        menus->mnuAl->trigger();
        QCOMPARE(rig->dialogs.calls.last().kind, QStringLiteral("edit"));
        rig->dialogs.calls.last().edited(ok, text);
    };
    alias(true, QStringLiteral(" Janie <3 "));
    menus->mnuIM->trigger();
    const int tab =
        rig->w->Tab1->conversationIndex(ConversationKey::ofPerson(QStringLiteral("Jane Doe")));
    QCOMPARE(rig->w->Tab1->tabText(tab), QStringLiteral("Janie <3"));
    QCOMPARE(rig->w->windowTitle(), QStringLiteral("Janie <3 - Vorkle 2.0.2"));
    auto *header = rig->w->imViews.last()->findChild<QLineEdit *>(QStringLiteral("txtuser"));
    QTRY_COMPARE(header->text(), QStringLiteral("Janie <3"));
    QVERIFY(rig->w->PicLogin->buddyList->toolTipOf(tree->nodeByKey("Jane Doe"))
                .contains(QStringLiteral("Jane Doe")));
    QCOMPARE(ClientSettings().aliases(QStringLiteral("myname")).value(QStringLiteral("janedoe")),
             QStringLiteral("Janie <3"));

    alias(false, QString()); // cancelled
    QCOMPARE(rig->w->Tab1->tabText(tab), QStringLiteral("Janie <3"));
    QCOMPARE(rig->dialogs.calls.last().initial, QStringLiteral("Janie <3"));
    alias(true, QString()); // emptied
    QCOMPARE(rig->w->Tab1->tabText(tab), QStringLiteral("Jane Doe"));
    QCOMPARE(header->text(), QStringLiteral("Jane Doe"));
    QCOMPARE(rig->w->windowTitle(), QStringLiteral("Jane Doe - Vorkle 2.0.2"));
    QVERIFY(ClientSettings().aliases(QStringLiteral("myname")).isEmpty());
}

void TestFrmMain::secondSignOnRebuildsKnownBuddies() {
    QVERIFY(rig->signOn(QStringLiteral("g:Old\nb:alice\ndone:\n")));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:alice:T:0:0:0: O:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("alice"); }));
    // Signed on, the buddy list is in front; the page the user turns to
    // is the one the next sign-on shows.
    QTabWidget *pages = rig->w->PicLogin->tab2;
    QCOMPARE(pages->currentWidget(), rig->w->PicLogin->buddyList);
    pages->setCurrentWidget(rig->w->PicLogin->away);
    QTest::mouseClick(rig->find<QLabel>("Label6"), Qt::LeftButton);
    QVERIFY(waitUntil([&] { return !rig->server.hasClient(); }));

    QVERIFY(rig->signOn(QStringLiteral("g:New\nb:bob\ndone:\n")));
    QCOMPARE(pages->currentWidget(), rig->w->PicLogin->away);
    QCOMPARE(rig->w->groups, QStringList{"New"});
    QCOMPARE(rig->w->BuddyListx.entries(), QStringList{"New:bob"});
    QCOMPARE(treeShape(tree), QStringList{"New[]"});
    QVERIFY(!tree->nodeByKey("alice"));
    QVERIFY(!rig->find<QFrame>("frmLogin")->isVisible());
}

void TestFrmMain::buddyImages_data() {
    QTest::addColumn<QString>("userClass");
    QTest::addColumn<int>("idle");
    QTest::addColumn<int>("image");
    QTest::newRow("online") << " O" << 0 << 1;
    QTest::newRow("idle 5") << " O" << 5 << 2;
    QTest::newRow("idle 1 is not idle") << " O" << 1 << 1;
    QTest::newRow("idle 2") << " O" << 2 << 2;
    QTest::newRow("mobile") << " C" << 0 << 4;
    QTest::newRow("mobile anywhere") << "AOC" << 0 << 4;
    // An "A" first marks an AOL member, not an away one.
    QTest::newRow("AOL member is online") << "AO" << 0 << 1;
    QTest::newRow("lower-case a") << "aO" << 0 << 1;
    QTest::newRow("idle beats mobile") << " C" << 9 << 2;
    QTest::newRow("empty class") << "" << 0 << 1;
    // Three-character classes: a "U" third marks away.
    QTest::newRow("three characters away") << " UU" << 0 << 3;
    QTest::newRow("away beats idle") << " OU" << 10 << 3;
    QTest::newRow("two characters: unconfirmed") << " U" << 0 << 1;
}

void TestFrmMain::buddyImages() {
    QFETCH(QString, userClass);
    QFETCH(int, idle);
    QFETCH(int, image);
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(
        QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:%1:%2:").arg(idle).arg(userClass));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Jane Doe"); }));
    QCOMPARE(BuddyTree::imageOf(tree->nodeByKey("Jane Doe")), image);
    QVERIFY(!tree->nodeByKey("Jane Doe")->icon(0).isNull());
    QCOMPARE(BuddyListPage::buddyImage(userClass, QString::number(idle)), image);
}

// Idle time counts on from the server's report (some report it once): the
// tooltip follows it, and so does the picture once it passes one minute.
void TestFrmMain::idleCounts_data() {
    QTest::addColumn<int>("reported");
    QTest::addColumn<int>("minutesLater");
    QTest::addColumn<int>("image");
    QTest::addColumn<QString>("idleLine"); // empty: none
    QTest::newRow("idle 1, at once") << 1 << 0 << 1 << "Idle: 1 minutes";
    QTest::newRow("idle 1, a minute on") << 1 << 1 << 2 << "Idle: 2 minutes";
    QTest::newRow("idle 10, an hour on") << 10 << 60 << 2 << "Idle: 70 minutes";
    QTest::newRow("not idle stays so") << 0 << 5 << 1 << "";
    QTest::newRow("out of range: capped") << 2147483647 << 0 << 2 << "Idle: more than a year";
}

void TestFrmMain::idleCounts() {
    QFETCH(int, reported);
    QFETCH(int, minutesLater);
    QFETCH(QString, idleLine);
    ManualClock clock;
    BuddyListPage *page = rig->w->PicLogin->buddyList;
    page->idle->setClock(clock);
    // The window outlives this test's clock.
    const auto restore = qScopeGuard([page] { page->idle->setClock(Clock::system()); });
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:bob:T:0:0:%1: O:").arg(reported));
    QVERIFY(waitUntil([&] { return page->TreeBL->nodeByKey("bob"); }));
    clock.advance(qint64(minutesLater) * 60 * 1000);
    QTreeWidgetItem *node = page->TreeBL->nodeByKey("bob");
    QTEST(BuddyTree::imageOf(node), "image");
    const QString tip = page->toolTipOf(node);
    QVERIFY2(idleLine.isEmpty() ? !tip.contains(QLatin1String("Idle:")) : tip.contains(idleLine),
             qPrintable(tip));
}

void TestFrmMain::buddyUpdates_data() {
    QTest::addColumn<QString>("config");
    QTest::addColumn<QStringList>("updates");
    QTest::addColumn<QStringList>("shape");
    const auto on = [](const QString &name, const QString &cls = " O", int idle = 0) {
        return QStringLiteral("UPDATE_BUDDY2:%1:T:0:0:%2:%3:").arg(name).arg(idle).arg(cls);
    };
    const auto off = [](const QString &name) {
        return QStringLiteral("UPDATE_BUDDY2:%1:F:0:0:0: O:").arg(name);
    };
    QTest::newRow("sign-on shows under first group")
        << kConfig << QStringList{on("Jane Doe")}
        << QStringList{"Co Workers[Jane Doe(1)]", "Friends[]"};
    QTest::newRow("server's writing kept") << kConfig << QStringList{on("JaneDoe")}
                                           << QStringList{"Co Workers[JaneDoe(1)]", "Friends[]"};
    QTest::newRow("unknown buddy adds nothing")
        << kConfig << QStringList{on("stranger")} << QStringList{"Co Workers[]", "Friends[]"};
    QTest::newRow("second update keeps the node, shows idle")
        << kConfig << QStringList{on("bob"), on("bob", " O", 30)}
        << QStringList{"Co Workers[bob(2)]", "Friends[]"};
    // The real server's lines for a buddy going away, then idle.
    QTest::newRow("away, then idle, follow")
        << kConfig << QStringList{on("bob", " U "), on("bob", " UU"), on("bob", " U ", 10)}
        << QStringList{"Co Workers[bob(2)]", "Friends[]"};
    QTest::newRow("another session removes the buddy, named normalised")
        << kConfig << QStringList{on("Bob"), "DELETED2:b:bob:Co Workers"}
        << QStringList{"Co Workers[]", "Friends[]"};
    QTest::newRow("formatted name shown once")
        << kConfig << QStringList{on("Carol", " U "), on("C aroL", " U ")}
        << QStringList{"Co Workers[]", "Friends[C aroL(1)]"};
    QTest::newRow("sign-off removes exact text")
        << kConfig << QStringList{on("bob"), on("Carol"), off("bob")}
        << QStringList{"Co Workers[]", "Friends[Carol(1)]"};
    QTest::newRow("sign-off names the buddy normalised")
        << kConfig << QStringList{on("Carol"), on("Jane Doe"), off("carol"), off("janedoe")}
        << QStringList{"Co Workers[]", "Friends[]"};
    QTest::newRow("sign-off then sign-on changes image")
        << kConfig << QStringList{on("bob"), off("bob"), on("bob", " C")}
        << QStringList{"Co Workers[bob(4)]", "Friends[]"};
    QTest::newRow("sign-off of a group's name keeps the group")
        << QStringLiteral("g:bob\nb:alice\ng:Other\ndone:\n")
        << QStringList{on("alice"), off("bob")} << QStringList{"bob[alice(1)]", "Other[]"};
    QTest::newRow("nameless buddy makes no node")
        << QStringLiteral("g:G\nb:\ndone:\n") << QStringList{on("")} << QStringList{"G[]"};
    QTest::newRow("buddy before any group is not shown")
        << QStringLiteral("b:early\ng:G\ndone:\n") << QStringList{on("early")}
        << QStringList{"G[]"};
    QTest::newRow("hostile names are plain text")
        << QStringLiteral("g:<b>G</b>&\nb:<i>x</i>&amp;\ndone:\n")
        << QStringList{on("<i>x</i>&amp;")} << QStringList{"<b>G</b>&[<i>x</i>&amp;(1)]"};
}

void TestFrmMain::buddyUpdates() {
    QFETCH(QString, config);
    QFETCH(QStringList, updates);
    QFETCH(QStringList, shape);
    QVERIFY(rig->signOn(config));
    for (const QString &line : updates)
        rig->server.sendLine(line);
    rig->server.sendLine(QStringLiteral("NICK:sync"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return rig->w->ownScreenName() == QStringLiteral("sync"); }));
    QCOMPARE(treeShape(tree), shape);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->childCount() > 0)
            QVERIFY(tree->topLevelItem(i)->isExpanded());
}

void TestFrmMain::collapsedGroupReopensAtNextSignOn() {
    QVERIFY(rig->signOn(kConfig));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:bob:T:0:0:0: O:"));
    QVERIFY(waitUntil([&] { return tree->nodeByKey("bob"); }));
    QTreeWidgetItem *coWorkers = tree->nodeByKey("Co Workers");
    QVERIFY(coWorkers->isExpanded());
    tree->collapseItem(coWorkers);
    QVERIFY(!coWorkers->isExpanded());
    // A buddy of another group signs on: every group is expanded again.
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Carol:T:0:0:0: O:"));
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Carol"); }));
    QVERIFY(coWorkers->isExpanded());
    QVERIFY(tree->nodeByKey("Friends")->isExpanded());
}

void TestFrmMain::treeClick_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("menu");
    QTest::newRow("group: no profile asked") << "Co Workers" << QString() << false;
    // The menu only: the profile is asked for by its "Get Profile".
    QTest::newRow("buddy") << "Jane Doe" << QString() << true;
}

void TestFrmMain::treeClick() {
    QFETCH(QString, node);
    QFETCH(QString, line);
    QFETCH(bool, menu);
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:0: O:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Jane Doe"); }));
    rig->w->PicLogin->tab2->setCurrentIndex(5);
    rig->server.clearReceived();

    clickNode(tree, tree->nodeByKey(node));
    // A later line of ours: what the click sent arrives before it.
    const QString marker = QStringLiteral("toc_get_status \"zzmarker\"");
    rig->w->toc->GetStatus(QStringLiteral("zzmarker"));
    QVERIFY(rig->server.waitForLine(marker));
    const QStringList expected = line.isEmpty() ? QStringList{marker} : QStringList{line, marker};
    QCOMPARE(rig->server.lines(), expected);
    auto *blClick = rig->w->findChild<QMenu *>(QStringLiteral("blClick"));
    QTRY_COMPARE(blClick->isVisible(), menu);
    blClick->hide();
}

void TestFrmMain::buddyActions_data() {
    QTest::addColumn<QString>("action"); // a menu entry, "double click" or "Enter"
    QTest::addColumn<QString>("line");   // sent
    QTest::addColumn<bool>("opens");     // the conversation, selected, the cursor in it
    QTest::newRow("Get Profile") << "mnuProfile"
                                 << "toc_get_info \"janedoe\"" << false;
    QTest::newRow("IM User") << "mnuIM" << QString() << true;
    QTest::newRow("double click") << "double click" << QString() << true;
    QTest::newRow("Enter") << "Enter" << QString() << true;
    QTest::newRow("Copy Name To Clipboard") << "mnuCopy" << QString() << false;
}

void TestFrmMain::buddyActions() {
    QFETCH(QString, action);
    QFETCH(QString, line);
    QFETCH(bool, opens);
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:3:1796700222:5: UU:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Jane Doe"); }));
    QTreeWidgetItem *node = tree->nodeByKey("Jane Doe");
    // The tooltip tells the state in words.
    for (const char *part : {"Jane Doe", "Status: Away", "Idle: 5 minutes", "Warning level: 3%",
                             "Online since: 2026-"})
        QVERIFY2(rig->w->PicLogin->buddyList->toolTipOf(node).contains(QLatin1String(part)), part);
    rig->w->PicLogin->tab2->setCurrentIndex(5);
    rig->w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(rig->w.get()));
    // ... and shows it when the mouse rests on the buddy.
    const QPoint on = tree->visualItemRect(node).center();
    QHelpEvent help(QEvent::ToolTip, on, tree->viewport()->mapToGlobal(on));
    QApplication::sendEvent(tree->viewport(), &help);
    QTRY_VERIFY(QToolTip::text().contains(QLatin1String("Status: Away")));
    QToolTip::hideText();
    tree->setCurrentItem(node);
    rig->server.clearReceived();
    if (action == QLatin1String("double click")) {
        // A click first, as a mouse gives it: its menu must not follow.
        const QPoint at = tree->visualItemRect(node).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    } else if (action == QLatin1String("Enter")) {
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Return);
    } else {
        rig->w->findChild<QAction *>(action)->trigger();
    }
    if (!line.isEmpty())
        QVERIFY(rig->server.waitForLine(line));
    QCOMPARE(rig->w->selectedTabCaption(), opens ? QStringLiteral("Jane Doe") : "Settings");
    if (opens)
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtMsg"));
    if (action == QLatin1String("mnuCopy"))
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Jane Doe"));
    // The menu never popped up over it.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(!rig->w->findChild<QMenu *>(QStringLiteral("blClick"))->isVisible());
}

void TestFrmMain::clickWithoutSelectionSendsNothing() {
    QVERIFY(rig->signOn(kConfig));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    rig->w->PicLogin->tab2->setCurrentIndex(5);
    rig->server.clearReceived();
    // Clicking the empty part of the tree selects nothing.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      QPoint(5, tree->viewport()->height() - 3));
    QTest::qWait(50);
    QCOMPARE(rig->server.lines(), QStringList());
    QVERIFY(!rig->w->PicLogin->buddyList->menus->blClick->isVisible());
}

void TestFrmMain::removeItem_data() {
    QTest::addColumn<QString>("node");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("shape");
    QTest::newRow("group, yes") << "Co Workers" << true
                                << "Are you sure you want to remove this group: Co Workers?"
                                << QStringList{"toc2_del_group \"Co Workers\""}
                                << QStringList{"Friends[Carol(1)]"};
    QTest::newRow("group, no") << "Co Workers" << false
                               << "Are you sure you want to remove this group: Co Workers?"
                               << QStringList{}
                               << QStringList{"Co Workers[Jane Doe(1)]", "Friends[Carol(1)]"};
    QTest::newRow("buddy, yes: from the group it is shown under")
        << "Jane Doe" << true << "Are you sure you want to remove this user: Jane Doe?"
        << QStringList{"toc2_remove_buddy \"Jane Doe\" \"Co Workers\""}
        << QStringList{"Co Workers[]", "Friends[Carol(1)]"};
    QTest::newRow("buddy, no") << "Carol" << false
                               << "Are you sure you want to remove this user: Carol?"
                               << QStringList{}
                               << QStringList{"Co Workers[Jane Doe(1)]", "Friends[Carol(1)]"};
}

void TestFrmMain::removeItem() {
    QFETCH(QString, node);
    QFETCH(bool, yes);
    QFETCH(QString, question);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, shape);
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:0: O:"));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Carol:T:0:0:0: O:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Carol"); }));
    const QStringList groupsBefore = rig->w->groups;
    const QStringList knownBefore = rig->w->BuddyListx.entries();
    tree->nodeByKey(node)->setSelected(true);
    rig->server.clearReceived();

    rig->w->PicLogin->buddyList->menus->rembdy->trigger();
    QCOMPARE(rig->dialogs.texts("question"), QStringList{question});
    QCOMPARE(rig->dialogs.calls.first().title, QString());
    rig->server.sendLine(QStringLiteral("NICK:before"));
    QVERIFY(waitUntil([&] { return rig->w->ownScreenName() == QStringLiteral("before"); }));
    QCOMPARE(rig->server.lines(), QStringList()); // nothing before the answer

    rig->dialogs.answerNext(yes ? DialogProvider::Answer::Yes : DialogProvider::Answer::No);
    for (const QString &l : lines)
        QVERIFY(rig->server.waitForLine(l));
    QTest::qWait(30);
    QCOMPARE(rig->server.lines(), lines);
    QCOMPARE(treeShape(tree), shape);
    QCOMPARE(rig->w->groups, groupsBefore);
    QCOMPARE(rig->w->BuddyListx.entries(), knownBefore);
}

void TestFrmMain::removeItemWithoutSelection() {
    QVERIFY(rig->signOn(kConfig));
    rig->w->PicLogin->buddyList->menus->rembdy->trigger();
    QVERIFY(rig->w->alertWindow());
    QCOMPARE(rig->w->alertWindow()->message(),
             QStringLiteral("Please select an item on our buddylist"));
    QVERIFY(rig->dialogs.calls.isEmpty());
}

void TestFrmMain::blockUserFromMenu() {
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Jane Doe:T:0:0:0: O:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("Jane Doe"); }));
    auto *menu = rig->w->findChild<QMenu *>(QStringLiteral("blClick"));
    QStringList captions;
    for (QAction *a : menu->actions())
        captions << a->objectName() + QLatin1Char('=') + a->text();
    QCOMPARE(captions,
             (QStringList{"mnuIM=IM User", "mnuProfile=Get Profile", "mnuAl=Aliases User",
                          "mnuInvite=Invite To Chat", "mnublock=Block User",
                          "mnuCopy=Copy Name To Clipboard", "mnuViewHistory=View History"}));

    // Without a selection: the alert, nothing sent.
    rig->server.clearReceived();
    rig->w->PicLogin->buddyList->menus->mnublock->trigger();
    QCOMPARE(rig->w->alertWindow()->message(),
             QStringLiteral("Please select an item on our buddylist"));
    rig->w->alertWindow()->close();

    tree->nodeByKey("Jane Doe")->setSelected(true);
    rig->w->PicLogin->buddyList->menus->mnublock->trigger();
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc2_set_pdmode 4")));
    QCOMPARE(rig->server.lines(), (QStringList{"toc2_add_deny \"janedoe\"", "toc2_set_pdmode 4"}));
}

void TestFrmMain::buddyAddedAndGroupRemovedBoxes() {
    QVERIFY(rig->signOn(kConfig));
    rig->server.sendLine(QStringLiteral("INSERTED2:b:alias:Jane <Doe>:Co & Workers"));
    QVERIFY(waitUntil([&] { return rig->dialogs.calls.size() == 1; }));
    QCOMPARE(rig->dialogs.texts("message"), QStringList{"Jane <Doe>"});
    rig->dialogs.answerNext();
    QCOMPARE(rig->dialogs.texts("message"), (QStringList{"Jane <Doe>", "Co & Workers"}));

    rig->server.sendLine(QStringLiteral("DELETED2:g:Friends"));
    QVERIFY(waitUntil([&] { return rig->dialogs.calls.size() == 3; }));
    QCOMPARE(rig->dialogs.calls.last().text, QStringLiteral("Friends:"));
    QCOMPARE(rig->dialogs.calls.last().title, QString());
    // The tree follows them too: they may come from another session of the
    // account, and the acting session is told nothing.
    QCOMPARE(treeShape(rig->find<BuddyTree>("TreeBL")), QStringList{"Co Workers[]"});
    QCOMPARE(rig->w->BuddyListx.groupsOf(u"jane<doe>"), QStringList{"Co & Workers"});
    rig->server.sendLine(QStringLiteral("INSERTED2:g:Later"));
    QVERIFY(waitUntil([&] { return rig->w->groups.contains(QStringLiteral("Later")); }));
    QCOMPARE(treeShape(rig->find<BuddyTree>("TreeBL")), (QStringList{"Co Workers[]", "Later[]"}));
}

void TestFrmMain::optionsMenuOpens() {
    QVERIFY(rig->signOn(kConfig));
    rig->w->PicLogin->tab2->setCurrentIndex(5);
    QTest::mouseClick(rig->find<QPushButton>("Command6"), Qt::LeftButton);
    auto *menu = rig->w->findChild<QMenu *>(QStringLiteral("mnuBL"));
    QVERIFY(menu->isVisible());
    QStringList captions;
    for (QAction *a : menu->actions())
        captions << a->objectName() + QLatin1Char('=') + a->text();
    QCOMPARE(captions, (QStringList{"bdyAdd=Add Buddy", "rembdy=Remove Item", "addgrp=Add Group"}));
    menu->hide();
}
