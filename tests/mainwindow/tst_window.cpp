// The window as people live in it: it resizes and gives the room to the
// conversations and lists, it knows the keyboard habits of tabbed chat
// windows, every control has a name for assistive technology, and the
// pages work on their own, without a main window.
#include "client/awaystate.h"
#include "client/privacystate.h"
#include "dialogs/frmprofile.h"
#include "guitestkit.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "uikit/clicklabel.h"
#include "uikit/twips.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTextEdit>

namespace {
QRect inWindow(const QWidget *w) {
    return QRect(w->mapTo(w->window(), QPoint()), w->size());
}
} // namespace

class TestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<GuiRig> rig;

    bool receive(const QString &line) {
        QSignalSpy spy(rig->w->toc, &QelTOCSock::IncomingPacket);
        rig->server.sendLine(line);
        return waitUntil([&] { return spy.count() > 0; });
    }
    // Signed on, with tabs Settings, alice, bob and "Lobby.", the window active.
    bool openConversations() {
        return rig->signOn(QStringLiteral("g:Buddies\nb:pal\ndone:\n")) &&
               receive(QStringLiteral("IM_IN_ENC2:alice:F:F:T: O:F:L:en:hi")) &&
               receive(QStringLiteral("IM_IN_ENC2:bob:F:F:T: O:F:L:en:yo")) &&
               receive(QStringLiteral("CHAT_JOIN:7:Lobby")) && rig->w->Tab1->count() == 4 &&
               activate();
    }
    bool activate() {
        rig->w->activateWindow();
        return QTest::qWaitForWindowActive(rig->w.get());
    }
    void keys(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : rig->w.get(), key, modifiers);
    }

  private slots:
    void init() { rig = std::make_unique<GuiRig>(); }
    void cleanup() { rig.reset(); }

    void resizesAndReturns() {
        QVERIFY(openConversations());
        frmMain &w = *rig->w;
        const QSize start = w.size();
        QCOMPARE(start, w.minimumSize());
        QWidget *transcript = w.imViews.at(1)->findChild<QTextEdit *>(QStringLiteral("TEXT"));
        QWidget *members = w.chatViews.at(1)->findChild<QListWidget *>(QStringLiteral("lstPPL"));
        QWidget *tree = w.PicLogin->buddyList->TreeBL;
        // Each measured on its own tab, where it is laid out.
        const auto measure = [&] {
            QList<QRect> rects;
            for (int tab : {1, 3, 0}) {
                w.Tab1->setCurrentIndex(tab);
                w.PicLogin->tab2->setCurrentIndex(5);
                QApplication::processEvents();
            }
            for (QWidget *x : {transcript, members, tree})
                rects << inWindow(x);
            return rects;
        };
        const QList<QRect> normal = measure();
        QCOMPARE(
            normal.at(2),
            twips::rect(60, 60, 2640, 1680).translated(inWindow(tree->parentWidget()).topLeft()));

        w.resize(1280, 900);
        const QList<QRect> large = measure();
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(large.at(i).width() > normal.at(i).width() + 100,
                     qPrintable(QString::number(i)));
            QVERIFY(large.at(i).height() > normal.at(i).height() + 400);
        }
        // The settings pages grow too: the tree takes the room.
        QVERIFY(large.at(2).width() > normal.at(2).width() + 400);
        QVERIFY(large.at(2).height() > normal.at(2).height() + 400);

        w.resize(start);
        QCOMPARE(measure(), normal);

        // The size is remembered for the next start.
        w.resize(700, 500);
        QVERIFY(w.close());
        rig = std::make_unique<GuiRig>(GuiRig::Build::Whole, true, GuiRig::Profile::Kept);
        QCOMPARE(rig->w->size(), QSize(700, 500));
    }

    // A remembered place off every screen is not used.
    void rememberedPlace_data() {
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<bool>("used");
        QTest::newRow("on a screen") << QPoint(40, 30) << true;
        QTest::newRow("off every screen") << QPoint(99999, 99999) << false;
    }
    void rememberedPlace() {
        QFETCH(QPoint, place);
        QFETCH(bool, used);
        rig.reset();
        ClientSettings().setWindowPosition(place);
        rig = std::make_unique<GuiRig>(GuiRig::Build::Whole, true, GuiRig::Profile::Kept);
        QCOMPARE(rig->w->pos() == place, used);
        QVERIFY(QGuiApplication::screenAt(rig->w->geometry().center()));
    }

    void tabKeys_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("to");
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        QTest::newRow("Ctrl+Tab") << 0 << int(Qt::Key_Tab) << ctrl << 1;
        QTest::newRow("Ctrl+Tab goes round") << 3 << int(Qt::Key_Tab) << ctrl << 0;
        QTest::newRow("Ctrl+Shift+Tab") << 0 << int(Qt::Key_Tab) << (ctrl | shift) << 3;
        QTest::newRow("Ctrl+Shift+Backtab") << 2 << int(Qt::Key_Backtab) << (ctrl | shift) << 1;
        QTest::newRow("Ctrl+PgDn") << 1 << int(Qt::Key_PageDown) << ctrl << 2;
        QTest::newRow("Ctrl+PgUp") << 1 << int(Qt::Key_PageUp) << ctrl << 0;
        QTest::newRow("Alt+3") << 0 << int(Qt::Key_3) << int(Qt::AltModifier) << 2;
        QTest::newRow("Alt+9 past the last tab")
            << 1 << int(Qt::Key_9) << int(Qt::AltModifier) << 1;
    }
    void tabKeys() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, to);
        QVERIFY(openConversations());
        frmMain &w = *rig->w;
        w.Tab1->setCurrentIndex(from);
        keys(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.Tab1->currentIndex(), to);
        // A conversation's tab puts the cursor in its input box and names
        // the partner in the title.
        static const QStringList titles = {"Vorkle 2.0.2", "alice - Vorkle 2.0.2",
                                           "bob - Vorkle 2.0.2", "Lobby. - Vorkle 2.0.2"};
        QCOMPARE(w.windowTitle(), titles.at(to));
        QWidget *focus = QApplication::focusWidget();
        QCOMPARE(focus && focus->objectName() == QLatin1String("txtMsg") && focus->isVisible(),
                 to > 0);
    }

    void ctrlW_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("line"); // sent by closing
        QTest::addColumn<int>("tabsLeft");
        QTest::newRow("an IM") << 1 << QString() << 3;
        QTest::newRow("a room") << 3 << QStringLiteral("toc_chat_leave \"7\"") << 3;
        QTest::newRow("Settings stays") << 0 << QString() << 4;
    }
    void ctrlW() {
        QFETCH(int, tab);
        QFETCH(QString, line);
        QFETCH(int, tabsLeft);
        QVERIFY(openConversations());
        frmMain &w = *rig->w;
        const QString caption = w.tabCaption(tab);
        w.Tab1->setCurrentIndex(tab);
        keys(Qt::Key_W, Qt::ControlModifier);
        QTRY_COMPARE(w.Tab1->count(), tabsLeft);
        QCOMPARE(w.tabCaption(0), QStringLiteral("Settings"));
        QVERIFY(tab == 0 || !w.isTab(caption));
        if (!line.isEmpty())
            QVERIFY(rig->server.waitForLine(line));
    }

    // A right click, or Shift+F10 on what has the keyboard, opens the menu
    // of a buddy, a tab, a transcript and a room's member.
    void contextMenus_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("byKey");
        QTest::addColumn<QString>("action"); // in the menu that opens
        QTest::addColumn<QString>("after");  // the selected tab, or the clipboard
        QTest::newRow("buddy") << "TreeBL" << false << "mnuIM"
                               << "pal";
        QTest::newRow("buddy, key") << "TreeBL" << true << "mnuIM"
                                    << "pal";
        QTest::newRow("IM tab") << "Tab1" << false << "mnuCloseTab"
                                << "Settings";
        QTest::newRow("room tab, key") << "Tab1" << true << "mnuCloseTab"
                                       << "alice";
        QTest::newRow("link") << "TEXT" << false << "mnuCopyLink"
                              << "http://x.example/";
        QTest::newRow("transcript, key") << "TEXT" << true << "mnuSelectAll"
                                         << "alice";
        QTest::newRow("member") << "lstPPL" << false << "mnuMemberIM"
                                << "carol";
        QTest::newRow("member, key") << "lstPPL" << true << "mnuMemberCopy"
                                     << "carol";
    }
    void contextMenus() {
        QFETCH(QString, target);
        QFETCH(bool, byKey);
        QFETCH(QString, action);
        QFETCH(QString, after);
        QVERIFY(openConversations());
        frmMain &w = *rig->w;
        QVERIFY(receive(QStringLiteral("UPDATE_BUDDY2:pal:T:0:0:0: O:")));
        QVERIFY(receive(QStringLiteral(
            "IM_IN_ENC2:alice:F:F:T: O:F:L:en:<a href=\"http://x.example/\">x</a>")));
        QVERIFY(receive(QStringLiteral("CHAT_UPDATE_BUDDY:7:T:carol")));
        QWidget *widget = nullptr;
        QRect rect; // where to click, in the widget that takes the mouse
        if (target == QLatin1String("TreeBL")) {
            w.PicLogin->tab2->setCurrentWidget(w.PicLogin->buddyList);
            BuddyTree *tree = w.PicLogin->buddyList->TreeBL;
            tree->setCurrentItem(tree->nodeByKey(QStringLiteral("pal")));
            widget = tree->viewport();
            rect = tree->visualItemRect(tree->currentItem());
        } else if (target == QLatin1String("Tab1")) {
            const int tab = byKey ? 3 : 1; // the room, or alice
            w.Tab1->setCurrentIndex(tab);
            widget = w.Tab1;
            rect = w.Tab1->tabRect(tab);
        } else {
            w.Tab1->setCurrentIndex(target == QLatin1String("TEXT") ? 1 : 3);
            auto *view = w.Tab1->currentIndex() == 1 ? static_cast<QWidget *>(w.imViews.at(1))
                                                     : w.chatViews.at(1);
            auto *items = view->findChild<QListWidget *>(target);
            auto *text = view->findChild<QTextEdit *>(target);
            if (items) {
                items->setCurrentRow(0);
                widget = items->viewport();
                rect = items->visualItemRect(items->item(0));
            } else {
                QTextCursor link = text->document()->find(QStringLiteral("x"));
                link.setPosition(link.selectionStart());
                text->setTextCursor(link);
                widget = text->viewport();
                rect = text->cursorRect().translated(2, 0); // on the "x"
            }
        }
        QWidget *focus = widget->parentWidget() && !qobject_cast<QTabBar *>(widget)
                             ? widget->parentWidget()
                             : widget;
        if (byKey) {
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
        } else {
            // What a right click gives a widget.
            QContextMenuEvent click(QContextMenuEvent::Mouse, rect.center(),
                                    widget->mapToGlobal(rect.center()));
            QApplication::sendEvent(widget, &click);
        }
        QTRY_VERIFY(QApplication::activePopupWidget());
        QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *chosen = menu ? menu->findChild<QAction *>(action) : nullptr;
        QVERIFY(chosen && chosen->isVisible());
        if (target == QLatin1String("Tab1"))
            QCOMPARE(chosen->text(), byKey ? QStringLiteral("Leave") : QStringLiteral("Close"));
        menu->close();
        chosen->trigger();
        if (action.contains(QLatin1String("Copy")))
            QCOMPARE(QGuiApplication::clipboard()->text(), after);
        else if (target == QLatin1String("Tab1"))
            QTRY_COMPARE(w.Tab1->count(), 3); // the tab closed
        else
            QTRY_COMPARE(w.selectedTabCaption(), after);
    }

    void keyboardAlone() {
        QVERIFY(openConversations());
        frmMain &w = *rig->w;
        // Tab leaves a conversation's input box instead of typing a tab.
        w.Tab1->setCurrentIndex(1);
        auto *box = qobject_cast<QPlainTextEdit *>(QApplication::focusWidget());
        QVERIFY(box);
        QTest::keyClicks(box, QStringLiteral("ab"));
        keys(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != box);
        QCOMPARE(box->toPlainText(), QStringLiteral("ab"));

        // The clickable labels act on Enter and Space.
        w.Tab1->setCurrentIndex(0);
        w.PicLogin->Label24->setFocus();
        keys(Qt::Key_Space);
        QCOMPARE(rig->dialogs.texts(QStringLiteral("input")), QStringList{"New Format"});
        QVERIFY(w.PicLogin->Label6->focusPolicy() & Qt::TabFocus);
        w.PicLogin->Label6->setFocus();
        keys(Qt::Key_Return);
        QTRY_VERIFY(w.PicLogin->frmLogin->isVisible());
        QCOMPARE(w.Tab1->count(), 1);

        // Esc closes the windows that only show something.
        frmProfile profile(&w);
        profile.show();
        profile.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&profile));
        QTest::keyClick(&profile, Qt::Key_Escape);
        QVERIFY(!profile.isVisible());
    }

    // Every control a keyboard reaches has a name a screen reader can say.
    void accessibleNames() {
        QVERIFY(openConversations());
        QStringList nameless;
        std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
            if (node->state().focusable && node->text(QAccessible::Name).trimmed().isEmpty())
                nameless << (node->object() ? node->object()->objectName() : QStringLiteral("?")) +
                                QLatin1Char('/') + QString::number(node->role());
            for (int i = 0; i < node->childCount(); ++i)
                if (QAccessibleInterface *child = node->child(i))
                    walk(child);
        };
        for (int tab = 0; tab < rig->w->Tab1->count(); ++tab) {
            rig->w->Tab1->setCurrentIndex(tab);
            walk(QAccessible::queryAccessibleInterface(rig->w.get()));
        }
        nameless.removeDuplicates();
        QVERIFY2(nameless.isEmpty(), qPrintable(nameless.join(QLatin1String(", "))));
    }

    // A message in the conversation on screen reaches a screen reader as
    // text inserted into its transcript (the transcript's own event).
    void newMessageAnnounced() {
        if (qEnvironmentVariableIsEmpty("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
            QSKIP("needs an accessibility bus (with-atspi.sh)");
        QTRY_VERIFY(QAccessible::isActive());
        QVERIFY(openConversations());
        static QStringList heard;
        heard.clear();
        QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
            if (event->type() == QAccessible::TextInserted)
                heard << event->object()->parent()->objectName() + QLatin1Char('|') +
                             static_cast<QAccessibleTextInsertEvent *>(event)->textInserted();
        });
        rig->w->Tab1->setCurrentIndex(1);
        QVERIFY(receive(QStringLiteral("IM_IN_ENC2:alice:F:F:T: O:F:L:en:<b>again</b>")));
        QAccessible::installUpdateHandler(nullptr);
        QCOMPARE(heard.join(QLatin1Char(';')), QStringLiteral("imView1|alice: again\u2029"));
    }

    // The pages need a protocol control and the client objects, no window.
    void pagesWithoutWindow() {
        rig.reset();
        ScriptedServer server;
        QelTOCSock toc;
        ClientSettings settings(QDir::temp().filePath(QStringLiteral("vorkle-pages.conf")));
        QStringList alerts;
        ScriptedDialogs dialogs;
        PageKit kit{&toc, &settings, [&](const QString &t) { alerts << t; },
                    [&] { return static_cast<DialogProvider *>(&dialogs); }};
        PrivacyState privacy(&toc);
        PrivacyPage privacyPage(kit, &privacy);
        AwayState away;
        AwayStrip strip(nullptr);
        AwayPage awayPage(kit, &away, &strip);
        QSignalSpy awayChanged(&awayPage, &AwayPage::awayChanged);

        privacyPage.blockName(QStringLiteral("carol")); // offline: nothing changes
        QCOMPARE(alerts, QStringList{"Not sent: you are offline."});
        QCOMPARE(privacyPage.lstBlock->count(), 0);

        toc.Login(QStringLiteral("me"), QStringLiteral("pw"), QStringLiteral("127.0.0.1"),
                  server.port());
        QVERIFY(server.acceptSignOn());
        privacyPage.blockName(QStringLiteral("carol"));
        QVERIFY(server.waitForLine(QStringLiteral("toc2_add_deny \"carol\"")));
        QCOMPARE(privacyPage.lstBlock->item(0)->text(), QStringLiteral("carol"));
        QVERIFY(privacyPage.optPrivacy[PrivacyState::BlockList - 1]->isChecked());

        awayPage.txtAway->setPlainText(QStringLiteral("brb"));
        awayPage.Command3->click();
        QVERIFY(server.waitForLine(QStringLiteral("toc_set_away \"brb\"")));
        QCOMPARE(awayChanged.count(), 1);
        QVERIFY(awayPage.incomingIM(QStringLiteral("Bob")));
        QVERIFY(!awayPage.incomingIM(QStringLiteral("bob"))); // answered once
        QCOMPARE(strip.labAwayMsgs->text(), QStringLiteral("2"));
        QVERIFY(server.waitForLine(QStringLiteral("toc_send_im \"bob\" \"brb\" auto")));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
