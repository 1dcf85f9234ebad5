#include "tst_frmmain.h"

#include "client/clientsettings.h"
#include "mainwindow/mdltray.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "uikit/animatedpicture.h"
#include "uikit/clicklabel.h"
#include "uikit/twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>

namespace {
const QString kOffline = QStringLiteral("offline...");
}

void TestFrmMain::init() {
    rig = std::make_unique<GuiRig>();
}

void TestFrmMain::cleanup() {
    rig.reset();
}

void TestFrmMain::startupState() {
    frmMain &w = *rig->w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorkle 2.0.2"));
    auto *tabs = rig->find<QTabBar>("Tab1");
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Settings"));
    QVERIFY(rig->find<QWidget>("PicLogin")->isVisible());
    QVERIFY(rig->find<QFrame>("frmLogin")->isVisible());
    for (const char *hidden : {"PicIM", "PicChat", "PicCredits"})
        QVERIFY2(!rig->find<QWidget>(hidden)->isVisible(), hidden);

    QCOMPARE(rig->find<QLabel>("labStat")->text(), kOffline);
    QCOMPARE(rig->find<QLabel>("labFrm")->text(), QStringLiteral("Login"));
    QVERIFY(rig->find<QLabel>("labFrm")->font().bold());
    QCOMPARE(rig->find<QLabel>("labHI")->text(), QStringLiteral("user's configuration."));
    QCOMPARE(rig->find<QLineEdit>("txtSn")->text(), QString());
    QCOMPARE(rig->find<QLineEdit>("txtPw")->echoMode(), QLineEdit::Password);
    QCOMPARE(rig->find<QLineEdit>("txtServer")->text(), QStringLiteral("localhost"));
    QCOMPARE(rig->find<QLineEdit>("txtPort")->text(), QStringLiteral("5190"));
    QCOMPARE(rig->find<QCheckBox>("Check1")->text(), QStringLiteral("Auto Block All"));
    QVERIFY(!rig->find<QCheckBox>("Check1")->isChecked());
    // "Save" and "Load" of the colour scheme are enabled.
    QVERIFY(rig->find<QPushButton>("Command5")->isEnabled());
    QVERIFY(rig->find<QPushButton>("Command8")->isEnabled());
    QCOMPARE(w.PicLogin->font->fontColorx, QStringLiteral("0"));
    QCOMPARE(w.PicLogin->font->backColorx, QStringLiteral("16777215"));
    QCOMPARE(w.palette().color(QPalette::Window), QColor(241, 242, 230));
    QCOMPARE(rig->find<QLabel>("Label1")->palette().color(QPalette::WindowText),
             QColor(61, 137, 188));
    QCOMPARE(rig->find<QLabel>("Label6")->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    auto *pages = rig->find<QTabWidget>("tab2");
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i)
        captions << pages->tabText(i);
    QCOMPARE(captions,
             (QStringList{"privacy", "away", "profile", "chat/im", "font", "B/L", "options"}));
    QCOMPARE(pages->currentIndex(), 0);
    // The buddy list page holds the tree and "Options".
    QCOMPARE(rig->find<QTreeWidget>("TreeBL")->parentWidget(), pages->widget(5));
    QCOMPARE(rig->find<QPushButton>("Command6")->text(), QStringLiteral("Options"));
}

void TestFrmMain::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twipsRect");
    const auto row = [](const char *name, int l, int t, int wd, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(l, t, wd, h);
    };
    row("PicLogin", 0, 360, 5895, 2655);
    row("PicIM", 120, 360, 5775, 2655);
    row("PicChat", 120, 360, 5775, 2655);
    row("PicCredits", 120, 360, 5895, 2655);
    row("PicAway", 0, 3120, 5895, 975);
    row("frmLogin", 0, 0, 3855, 2655);
    row("labFrm", 195, 120, 495, 255);
    row("Label1", 240, 360, 1815, 255);
    row("txtSn", 240, 600, 1455, 255);
    row("Label2", 1800, 360, 1815, 255);
    row("txtPw", 1800, 600, 1455, 255);
    row("Label3", 240, 960, 1815, 255);
    row("txtServer", 240, 1200, 2295, 255);
    row("txtPort", 2520, 1200, 735, 255);
    row("Check1", 240, 1560, 1695, 255);
    row("cmdLogin", 2400, 1560, 855, 300);
    row("labStat", 240, 1920, 3015, 255);
    row("labHI", 120, 0, 1980, 255); // ends before "format"
    row("Label24", 2160, 0, 615, 255);
    row("Label6", 3120, 0, 615, 255);
    row("Command4", 4320, 0, 1335, 300);
    row("Label23", 4320, 360, 615, 255);
    row("Command5", 4320, 600, 615, 300);
    row("Command8", 5040, 600, 615, 300);
    row("Image1", 3960, 840, 1920, 1800);
    row("tab2", 50, 240, 3810, 2220);
}

void TestFrmMain::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, twipsRect);
    QWidget *widget = rig->w->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
             twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
}

void TestFrmMain::loginThroughLoggedIn() {
    rig->pressLogin(QStringLiteral("My Name"));
    QCOMPARE(rig->find<QLabel>("labStat")->text(), QStringLiteral("Connecting..."));
    QVERIFY(rig->server.acceptSignOn(QStringLiteral("g:Buddies\nb:alice\ndone:\n")));

    const QStringList lines = rig->server.lines();
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines[0].startsWith(QStringLiteral("toc2_login login.icq.com ")));
    QVERIFY(lines[0].contains(QStringLiteral(" myname ")));
    QCOMPARE(lines[1], QStringLiteral("toc_set_info \"I use <a href='http://vorkle.invalid/'>"
                                      "Vorkle 2.0.2</a>.\""));
    QCOMPARE(lines[2], QStringLiteral("toc_set_caps \"09461345-4C7F-11D1-8222-444553540000\" "
                                      "\"09461343-4C7F-11D1-8222-444553540000\""));
    QCOMPARE(lines[3], QStringLiteral("toc_init_done"));

    QVERIFY(!rig->find<QFrame>("frmLogin")->isVisible());
    QVERIFY(rig->find<QTabWidget>("tab2")->isVisible());
    QCOMPARE(rig->find<QLabel>("labHI")->text(), QStringLiteral("myname's configuration."));
    QCOMPARE(rig->find<QLabel>("labStat")->text(), QStringLiteral("Sending information"));
}

void TestFrmMain::statusLineFollowsFrames() {
    auto *stat = rig->find<QLabel>("labStat");
    rig->pressLogin();
    QCOMPARE(stat->text(), QStringLiteral("Connecting..."));
    QVERIFY(rig->server.waitForClient());
    QVERIFY(waitUntil([&] { return rig->server.received().startsWith("FLAPON\n\n"); }));
    QCOMPARE(stat->text(), QStringLiteral("Connecting..."));
    rig->server.sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
    QVERIFY(waitUntil([&] { return stat->text() == QStringLiteral("Sending information"); }));
    // A later frame leaves the line alone, even after it was changed.
    stat->setText(QStringLiteral("other"));
    rig->server.sendLine(QStringLiteral("SIGN_ON:TOC2.0"));
    QVERIFY(rig->server.waitForLineStartingWith(QStringLiteral("toc2_login ")));
    QTest::qWait(50);
    QCOMPARE(stat->text(), QStringLiteral("other"));
}

void TestFrmMain::serverErrorDuringSignOn() {
    rig->pressLogin();
    QVERIFY(rig->server.waitForClient());
    QVERIFY(waitUntil([&] { return rig->server.received().startsWith("FLAPON\n\n"); }));
    rig->server.sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
    QVERIFY(rig->server.waitForLineStartingWith(QStringLiteral("toc2_login ")));
    rig->server.sendLine(QStringLiteral("ERROR:980"));
    rig->server.closeClient();

    QVERIFY(waitUntil([&] { return rig->w->alertWindow() && rig->w->alertWindow()->isVisible(); }));
    QTest::qWait(100); // the close arrives after the error
    QCOMPARE(rig->w->alertWindow()->message(), QStringLiteral("Invalid account or password"));
    QCOMPARE(rig->find<QLabel>("labStat")->text(), kOffline);
    QVERIFY(!rig->w->isEnabled());
    QVERIFY(rig->find<QFrame>("frmLogin")->isVisible());
    QTest::mouseClick(rig->w->alertWindow()->Command1, Qt::LeftButton);
    QVERIFY(!rig->w->alertWindow()->isVisible());
    QVERIFY(rig->w->isEnabled());
}

void TestFrmMain::badPortSendsNothing_data() {
    QTest::addColumn<QString>("port");
    for (const char *p : {"", "abc", "0", "65536", "-1", "51 90", "5190x", "99999999999"})
        QTest::newRow(p[0] ? p : "empty") << QString::fromLatin1(p);
}

void TestFrmMain::badPortSendsNothing() {
    QFETCH(QString, port);
    rig->pressLogin(QStringLiteral("me"), port);
    QVERIFY(rig->w->alertWindow());
    QCOMPARE(rig->w->alertWindow()->message(),
             QStringLiteral("The port must be a number from 1 to 65535."));
    QCOMPARE(rig->find<QLabel>("labStat")->text(), kOffline);
    QTest::qWait(50);
    QVERIFY(!rig->server.hasClient());
    QVERIFY(!rig->w->toc->isConnected());
}

void TestFrmMain::refusedConnectionShowsSocketError() {
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QString freePort = QString::number(probe.serverPort());
    probe.close();

    rig->pressLogin(QStringLiteral("me"), freePort);
    QCOMPARE(rig->find<QLabel>("labStat")->text(), QStringLiteral("Connecting..."));
    QVERIFY(waitUntil([&] { return rig->w->alertWindow() && rig->w->alertWindow()->isVisible(); }));
    QVERIFY(!rig->w->alertWindow()->message().isEmpty());
    QCOMPARE(rig->find<QLabel>("labStat")->text(), kOffline);
}

void TestFrmMain::serverCloseWhileSignedOn() {
    QVERIFY(rig->signOn(QStringLiteral("g:Buddies\nb:bob\ndone:\n")));
    QVERIFY(!rig->w->alertWindow());
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Bob:T:0:0:0: U :"));
    QVERIFY(waitUntil(
        [&] { return rig->w->PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("Bob")); }));
    auto *labHI = rig->find<QLabel>("labHI");
    rig->server.sendLine(QStringLiteral("EVILED:10:Carol"));
    // A status stays whole before the "format" link, the name giving way.
    const auto fits = [labHI] {
        return QFontMetrics(labHI->font()).horizontalAdvance(labHI->text()) <= labHI->width();
    };
    QVERIFY(waitUntil([&] { return labHI->text().endsWith(": warning level 10%"); }));
    QVERIFY(fits());
    // A server's error while signed on is shown; the session goes on.
    const QString status = rig->find<QLabel>("labStat")->text();
    rig->server.sendLine(QStringLiteral("ERROR:913:internal server error"));
    QVERIFY(waitUntil([&] { return rig->w->alertWindow() && rig->w->alertWindow()->isVisible(); }));
    QCOMPARE(rig->find<QLabel>("labStat")->text(), status);
    QTest::mouseClick(rig->w->alertWindow()->Command1, Qt::LeftButton);
    rig->server.closeClient();
    // No alert: the session comes back by itself, the status line says when.
    const QString retry = QStringLiteral("offline... reconnecting in ");
    QVERIFY(waitUntil([&] { return rig->find<QLabel>("labStat")->text().startsWith(retry); }));
    QVERIFY(!rig->w->alertWindow()->isVisible());
    // The signed-on layout stays until "Logout", plainly offline: no buddy
    // is shown online.
    QVERIFY(!rig->find<QFrame>("frmLogin")->isVisible());
    QCOMPARE(rig->find<QTreeWidget>("TreeBL")->topLevelItemCount(), 1);
    QCOMPARE(rig->w->PicLogin->buddyList->TreeBL->topLevelItem(0)->childCount(), 0);
    QVERIFY(labHI->text().contains(QStringLiteral(": offline, retry in ")));
    QVERIFY(fits());
}

// The server's writing of the name is shown; the name typed is what is
// remembered and what signs on again.
void TestFrmMain::screennameFormatReplacesField() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n"), QStringLiteral("Someone Else")));
    QCOMPARE(rig->find<QLineEdit>("txtSn")->text(), QStringLiteral("Someone Else"));
    QCOMPARE(ClientSettings().lastSignOn()->screenName, QStringLiteral("My Name"));
    QCOMPARE(rig->w->ownScreenName(), QStringLiteral("Someone Else"));
    QTest::mouseClick(rig->find<QLabel>("Label6"), Qt::LeftButton);
    rig->server.clearReceived();
    QTest::mouseClick(rig->find<QPushButton>("cmdLogin"), Qt::LeftButton);
    QVERIFY(rig->server.acceptSignOn(QStringLiteral("done:\n")));
    QVERIFY(rig->server.lines().constFirst().contains(QStringLiteral(" myname 0x")));
}

void TestFrmMain::hostileNamesShowLiterally() {
    const QString evil = QStringLiteral("<b>R&amp;D</b> & <img src=x>");
    // Server error text in the alert.
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    rig->server.sendLine(QStringLiteral("ERROR:951:") + evil + QStringLiteral(":24"));
    QVERIFY(waitUntil([&] { return rig->w->alertWindow() && rig->w->alertWindow()->isVisible(); }));
    QLabel *txtErr = rig->w->alertWindow()->txtErr;
    QCOMPARE(txtErr->textFormat(), Qt::PlainText);
    QCOMPARE(txtErr->text(),
             QStringLiteral("Could not join chat '") + evil + QStringLiteral("': Chat Full"));

    // A screen name in the header and a tab caption with '&'.
    rig->w->alertWindow()->close();
    const int tab = rig->w->addTab(QStringLiteral("Tom & Jerry"));
    QCOMPARE(rig->w->Tab1->tabText(tab), QStringLiteral("Tom && Jerry"));
    QCOMPARE(rig->w->tabCaption(tab), QStringLiteral("Tom & Jerry"));
    QVERIFY(rig->w->isTab(QStringLiteral("Tom & Jerry")));
    QVERIFY(!rig->w->isTab(QStringLiteral("Tom && Jerry")));
}

void TestFrmMain::alertKeepsOneWindowWithNewestText() {
    frmMain &w = *rig->w;
    w.Errors(QStringLiteral("first"));
    frmErr *alert = w.alertWindow();
    QVERIFY(alert && alert->isVisible());
    QVERIFY(!w.isEnabled());
    const QPoint where = alert->pos();
    w.Errors(QStringLiteral("second"));
    QCOMPARE(w.alertWindow(), alert);
    QCOMPARE(alert->message(), QStringLiteral("second"));
    QCOMPARE(alert->pos(), where);
    int alerts = 0;
    for (QWidget *top : QApplication::topLevelWidgets())
        alerts += top->isVisible() && top->windowTitle() == QStringLiteral("Alert Window");
    QCOMPARE(alerts, 1);

    // Keys and clicks do not reach the disabled window.
    auto *txtSn = rig->find<QLineEdit>("txtSn");
    QTest::keyClicks(txtSn, QStringLiteral("abc"));
    QCOMPARE(txtSn->text(), QString());

    // The close box re-enables like "OK"; the next error opens it again.
    alert->close();
    QVERIFY(w.isEnabled());
    w.Errors(QStringLiteral("third"));
    QVERIFY(alert->isVisible());
    QVERIFY(!w.isEnabled());
}

void TestFrmMain::logoutResetsLayout() {
    QVERIFY(rig->signOn(QStringLiteral("g:Buddies\nb:alice\ndone:\n")));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:alice:T:0:0:0: O:"));
    auto *tree = rig->find<BuddyTree>("TreeBL");
    QVERIFY(waitUntil([&] { return tree->nodeByKey("alice"); }));
    rig->w->addTab(QStringLiteral("bob"));
    rig->w->addTab(QStringLiteral("Credits"));
    // A larger window: its pages grow.
    rig->w->resize(rig->w->size() + QSize(200, 300));

    QTest::mouseClick(rig->find<QLabel>("Label6"), Qt::LeftButton);
    QCOMPARE(rig->find<QLabel>("labStat")->text(), kOffline);
    QVERIFY(rig->find<QFrame>("frmLogin")->isVisible());
    QCOMPARE(rig->w->Tab1->count(), 1);
    QCOMPARE(rig->w->tabCaption(0), QStringLiteral("Settings"));
    QVERIFY(rig->find<QWidget>("PicLogin")->isVisible());
    // The login frame covers the pages behind it: none of them can be reached.
    QVERIFY(
        rig->find<QFrame>("frmLogin")->geometry().contains(rig->find<QWidget>("tab2")->geometry()));
    QVERIFY(!rig->w->toc->isConnected());
    // The tree and the header keep what they showed.
    QVERIFY(tree->nodeByKey("alice"));
    QCOMPARE(rig->find<QLabel>("labHI")->text(), QStringLiteral("myname's configuration."));
    QVERIFY(!rig->w->alertWindow());
}

void TestFrmMain::tabsSwitchPanels() {
    frmMain &w = *rig->w;
    const int credits = w.Tab1->addFixed(TabStrip::Fixed::Credits);
    w.addTab(QStringLiteral("someone"));
    QVERIFY(w.PicLogin->isVisible()); // appended tabs are not selected

    w.Tab1->setCurrentIndex(credits);
    QVERIFY(w.PicCredits->isVisible());
    QVERIFY(!w.PicLogin->isVisible());
    w.Tab1->setCurrentIndex(2);
    for (QWidget *p :
         std::initializer_list<QWidget *>{w.PicLogin, w.PicCredits, w.PicIM, w.PicChat})
        QVERIFY(!p->isVisible());
    // The logo animates only while it shows: nothing runs behind another tab.
    QVERIFY(!w.PicLogin->Image1->isRunning());

    w.Tab1->setCurrentIndex(credits);
    // CloseTab closes conversations only; the credits panel's own "Close Tab" closes it.
    w.CloseTab(QStringLiteral("Credits"));
    QCOMPARE(w.Tab1->count(), 3);
    QTest::mouseClick(w.PicCredits->Label16, Qt::LeftButton);
    QVERIFY(w.Tab1->fixedIndex(TabStrip::Fixed::Credits) < 0);
    QCOMPARE(w.Tab1->count(), 2);
    w.Tab1->setCurrentIndex(0);
    QVERIFY(w.PicLogin->isVisible());
    QVERIFY(!w.PicCredits->isVisible());
    QVERIFY(w.PicLogin->Image1->isRunning());
}

void TestFrmMain::logoShowsWholeFramesOnlyWhileSeen() {
    frmMain &w = *rig->w;
    AnimatedPicture *logo = w.PicLogin->Image1;
    QVERIFY(logo->isRunning());
    // A step repaints only what changed, yet the screen shows the whole
    // frame, once round the animation and on.
    for (int step = 0; step < 9; ++step) {
        const qint64 shownKey = logo->currentFrame().cacheKey();
        QVERIFY(QTest::qWaitFor([&] { return logo->currentFrame().cacheKey() != shownKey; }));
        // The window's edge cuts the logo: what shows of it is compared.
        const QRect seen = logo->visibleRegion().boundingRect();
        const QPoint at = logo->mapTo(&w, seen.topLeft());
        const QImage onScreen =
            w.screen()
                ->grabWindow(w.winId(), at.x(), at.y(), seen.width(), seen.height())
                .toImage();
        QCOMPARE(onScreen.convertToFormat(QImage::Format_RGB32),
                 logo->currentFrame().copy(seen).toImage().convertToFormat(QImage::Format_RGB32));
    }
    // The wave runs a few times, then rests until the logo is seen again.
    QTRY_VERIFY_WITH_TIMEOUT(!logo->isRunning(), 10000);
    w.setWindowState(Qt::WindowMinimized);
    QVERIFY(!logo->isRunning());
    w.setWindowState(Qt::WindowNoState);
    QVERIFY(logo->isRunning());
    w.hide();
    QVERIFY(!logo->isRunning());
}

void TestFrmMain::trayMenu_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("opens");
    QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << true;
    QTest::newRow("right click") << int(QSystemTrayIcon::Context) << true;
    QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << false;
    QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
    QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << false;
}

void TestFrmMain::trayMenu() {
    QFETCH(int, reason);
    QFETCH(bool, opens);
    frmMain &w = *rig->w;
    QVERIFY(w.tray());
    QStringList texts;
    for (const QAction *a : w.opt->actions())
        texts << a->text() + (a->isChecked() ? "+" : "") + (a->isEnabled() ? "" : "-");
    // Nothing to reconnect, nobody signed on to set away.
    QCOMPARE(texts, (QStringList{"Show", "Notify on new IMs+", "Keep conversation history+",
                                 "Show timestamps", "", "Reconnect now-", "Set Away-", "I'm Back-",
                                 "Send typing notifications+", "", "Quit"}));
    QCOMPARE(w.opt->actions().first()->text(), QStringLiteral("Show"));
    QCOMPARE(w.opt->actions().first()->objectName(), QStringLiteral("showMe"));

    w.tray()->activation(QSystemTrayIcon::ActivationReason(reason));
    QCOMPARE(w.opt->isVisible(), opens);
    w.opt->hide();

    // "Show" brings the window back, also while the alert disables it.
    w.Errors(QStringLiteral("open"));
    QVERIFY(!w.isEnabled());
    QVERIFY(w.opt->isEnabled());
    w.hide();
    w.showMe->trigger();
    QVERIFY(w.isVisible());
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        QVERIFY(w.tray()->isShown());
        QCOMPARE(w.tray()->icon()->toolTip(), QStringLiteral("Vorkle 2.0.2"));
    } else {
        QVERIFY(!w.tray()->isShown());
    }
}

void TestFrmMain::closingRemovesTrayIcon() {
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.Errors(QStringLiteral("still open"));
    QVERIFY(w.close());
    QVERIFY(!w.tray()->isShown());
    // Our separate windows go with the main window, so the program can end.
    QVERIFY(!w.alertWindow()->isVisible());
    // Closing signs nothing off: the connection ends with the process.
    QTest::qWait(50);
    QVERIFY(w.toc->isConnected());
    QVERIFY(rig->server.hasClient());
}

QTEST_MAIN(TestFrmMain)
