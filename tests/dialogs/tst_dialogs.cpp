// The alert window, the add-buddy and add-group dialogs, the real dialog
// provider, and the tray module.
#include "../mainwindow/guitestkit.h"
#include "dialogs/frmaddbuddy.h"
#include "dialogs/frmgroups.h"
#include "dialogs/frmprofile.h"
#include "dialogs/qtdialogprovider.h"
#include "mainwindow/mdltray.h"
#include "pages/buddytree.h"
#include "uikit/twips.h"

#include <QComboBox>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QSoundEffect>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextFrame>

class TestDialogs : public QObject {
    Q_OBJECT

  private slots:
    void cleanup();

    void alertOpensOverMainWindow();
    void alertSecondMessageReplacesText();
    void alertClosesEitherWay_data();
    void alertClosesEitherWay();
    void alertPlaysSoundWithoutHanging();

    void addBuddyAddsNormalisedName_data();
    void addBuddyAddsNormalisedName();
    void addBuddyWithoutGroups();
    void addBuddyCloseBoxReenables();

    void addGroup_data();
    void addGroup();

    void providerShowsPlainText();
    void providerQuestion_data();
    void providerQuestion();
    void providerInputText_data();
    void providerInputText();
    void providerKeepsRemoteTextOnScreen_data();
    void providerKeepsRemoteTextOnScreen();

    void profileShowsTextOnly_data();
    void profileShowsTextOnly();

  private:
    std::unique_ptr<GuiRig> rig;
    QWidget *openDialog(const QString &objectName) const;
};

void TestDialogs::cleanup() {
    rig.reset();
}

QWidget *TestDialogs::openDialog(const QString &objectName) const {
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == objectName && top->isVisible())
            return top;
    return nullptr;
}

void TestDialogs::alertOpensOverMainWindow() {
    rig = std::make_unique<GuiRig>();
    frmMain &w = *rig->w;
    w.move(100, 80);
    w.Errors(QStringLiteral("Something <b>bad</b> & worse"));
    frmErr *alert = w.alertWindow();
    QVERIFY(alert->isVisible());
    QCOMPARE(alert->windowTitle(), QStringLiteral("Alert Window"));
    QCOMPARE(alert->Frame1->title(), QStringLiteral("Alert"));
    QCOMPARE(alert->Command1->text(), QStringLiteral("OK"));
    QCOMPARE(alert->txtErr->textFormat(), Qt::PlainText);
    QCOMPARE(alert->txtErr->text(), QStringLiteral("Something <b>bad</b> & worse"));
    // Its place in twips, filled at any DPI.
    QCOMPARE(alert->Image1->pixmap().deviceIndependentSize().toSize(), alert->Image1->size());
    const qint64 firstFrame = alert->Image1->pixmap().cacheKey();
    QTRY_VERIFY(alert->Image1->pixmap().cacheKey() != firstFrame); // it pulses
    QCOMPARE(alert->pos(),
             w.frameGeometry().topLeft() + QPoint(twips::toPixelsX(1000), twips::toPixelsY(1000)));
    QVERIFY(!w.isEnabled());
}

void TestDialogs::alertSecondMessageReplacesText() {
    rig = std::make_unique<GuiRig>();
    rig->w->Errors(QStringLiteral("one"));
    rig->w->alertWindow()->move(300, 300);
    rig->w->Errors(QStringLiteral("two"));
    QCOMPARE(rig->w->alertWindow()->message(), QStringLiteral("two"));
    QCOMPARE(rig->w->alertWindow()->pos(), QPoint(300, 300)); // stays where it is
}

void TestDialogs::alertClosesEitherWay_data() {
    QTest::addColumn<bool>("okButton");
    QTest::newRow("OK") << true;
    QTest::newRow("close box") << false;
}

void TestDialogs::alertClosesEitherWay() {
    QFETCH(bool, okButton);
    rig = std::make_unique<GuiRig>();
    rig->w->Errors(QStringLiteral("x"));
    frmErr *alert = rig->w->alertWindow();
    if (okButton)
        QTest::mouseClick(alert->Command1, Qt::LeftButton);
    else
        alert->close();
    QVERIFY(!alert->isVisible());
    QVERIFY(rig->w->isEnabled());
    QVERIFY(!alert->isAnimating());
}

void TestDialogs::alertPlaysSoundWithoutHanging() {
    rig = std::make_unique<GuiRig>();
    frmErr::setSoundEnabled(true);
    rig->w->Errors(QStringLiteral("with sound"));
    // The embedded clip loads; whether a device plays it does not matter.
    auto *sound = rig->w->alertWindow()->findChild<QSoundEffect *>();
    QVERIFY(sound);
    QCOMPARE(sound->source(), QUrl(QStringLiteral("qrc:/vorkle/alert.wav")));
    QVERIFY(waitUntil([&] { return sound->status() != QSoundEffect::Loading; }));
    QCOMPARE(sound->status(), QSoundEffect::Ready);
    QVERIFY(rig->w->alertWindow()->isVisible());
    QTest::mouseClick(rig->w->alertWindow()->Command1, Qt::LeftButton);
    QVERIFY(rig->w->isEnabled());
    frmErr::setSoundEnabled(false);
}

void TestDialogs::addBuddyAddsNormalisedName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("groupIndex");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("line");
    QTest::newRow("spaces and case") << "Best Friend" << 0 << "Buddies:bestfriend"
                                     << "toc2_new_buddies \"g:Buddies\nb:bestfriend\n\"";
    QTest::newRow("second group") << "x Y z" << 1 << "Co Workers:xyz"
                                  << "toc2_new_buddies \"g:Co Workers\nb:xyz\n\"";
}

void TestDialogs::addBuddyAddsNormalisedName() {
    QFETCH(QString, typed);
    QFETCH(int, groupIndex);
    QFETCH(QString, entry);
    QFETCH(QString, line);
    rig = std::make_unique<GuiRig>();
    QVERIFY(rig->signOn(QStringLiteral("g:Buddies\ng:Co Workers\ndone:\n")));
    rig->server.clearReceived();
    rig->w->PicLogin->buddyList->menus->bdyAdd->trigger();

    auto *dlg = qobject_cast<frmAddBuddy *>(openDialog(QStringLiteral("frmAddBuddy")));
    QVERIFY(dlg);
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Add Buddy"));
    QCOMPARE(dlg->txtsn->text(), QStringLiteral("Screen name"));
    QCOMPARE(dlg->cmbGroup->count(), 2);
    QCOMPARE(dlg->cmbGroup->currentText(), QStringLiteral("Buddies"));
    QVERIFY(!rig->w->isEnabled());

    dlg->txtsn->setText(typed);
    dlg->cmbGroup->setCurrentIndex(groupIndex);
    QTest::mouseClick(dlg->Command1, Qt::LeftButton);
    QVERIFY(rig->server.waitForLine(line));
    QCOMPARE(rig->server.lines(), QStringList{line});
    QCOMPARE(rig->w->BuddyListx.entries(), QStringList{entry});
    QVERIFY(rig->w->isEnabled());
    QVERIFY(!openDialog(QStringLiteral("frmAddBuddy")));

    // The new buddy is shown once it signs on.
    const QString buddy = entry.section(QLatin1Char(':'), 1);
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:%1:T:0:0:0: O:").arg(buddy));
    QVERIFY(waitUntil([&] { return rig->w->PicLogin->buddyList->TreeBL->nodeByKey(buddy); }));
}

void TestDialogs::addBuddyWithoutGroups() {
    rig = std::make_unique<GuiRig>();
    rig->w->PicLogin->buddyList->menus->bdyAdd->trigger();
    QVERIFY(rig->w->alertWindow() && rig->w->alertWindow()->isVisible());
    QCOMPARE(rig->w->alertWindow()->message(),
             QStringLiteral("You don't have any groups to add buddies to, Please add a group."));
    QVERIFY(!openDialog(QStringLiteral("frmAddBuddy")));
    // The dialog's closing gave the main window back while the alert shows.
    QVERIFY(rig->w->isEnabled());
    QCOMPARE(rig->w->BuddyListx.count(), 0);
}

void TestDialogs::addBuddyCloseBoxReenables() {
    rig = std::make_unique<GuiRig>();
    rig->w->groups = QStringList{"G"};
    rig->w->showAddBuddy();
    QWidget *dlg = openDialog(QStringLiteral("frmAddBuddy"));
    QVERIFY(dlg);
    QVERIFY(!rig->w->isEnabled());
    dlg->close();
    QVERIFY(rig->w->isEnabled());
    QCOMPARE(rig->w->BuddyListx.count(), 0);
}

void TestDialogs::addGroup_data() {
    QTest::addColumn<QString>("typed"); // null: accept the initial text
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("line");
    QTest::newRow("initial text") << QString() << "buddies"
                                  << "toc2_new_group \"buddies\"";
    // Typed over the selected default: it is replaced.
    QTest::newRow("typed over the default") << "keys:Friends"
                                            << "Friends"
                                            << "toc2_new_group \"Friends\"";
    QTest::newRow("spaces kept") << "My Best Mates"
                                 << "My Best Mates"
                                 << "toc2_new_group \"My Best Mates\"";
    QTest::newRow("markup kept as text") << "<b>x</b>&y"
                                         << "<b>x</b>&y"
                                         << "toc2_new_group \"<b>x</b>&y\"";
}

void TestDialogs::addGroup() {
    QFETCH(QString, typed);
    QFETCH(QString, group);
    QFETCH(QString, line);
    rig = std::make_unique<GuiRig>();
    QVERIFY(rig->signOn(QStringLiteral("g:Buddies\ndone:\n")));
    rig->server.clearReceived();
    rig->w->PicLogin->buddyList->menus->addgrp->trigger();
    auto *dlg = qobject_cast<frmGroups *>(openDialog(QStringLiteral("frmGroups")));
    QVERIFY(dlg);
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Add Group"));
    QCOMPARE(dlg->txtGroup->text(), QStringLiteral("buddies"));
    QVERIFY(rig->w->isEnabled()); // this dialog leaves the window usable
    if (typed.startsWith(QLatin1String("keys:")))
        QTest::keyClicks(dlg->txtGroup, typed.mid(5));
    else if (!typed.isNull())
        dlg->txtGroup->setText(typed);
    QTest::mouseClick(dlg->Command1, Qt::LeftButton);

    QVERIFY(rig->server.waitForLine(line));
    QCOMPARE(rig->w->groups, (QStringList{"Buddies", group}));
    BuddyTree *tree = rig->w->PicLogin->buddyList->TreeBL;
    QCOMPARE(tree->topLevelItemCount(), 2);
    QCOMPARE(tree->topLevelItem(1)->text(0), group);
    QCOMPARE(BuddyTree::keyOf(tree->topLevelItem(1)), group);
    QVERIFY(!openDialog(QStringLiteral("frmGroups")));

    // A buddy added to it now shows at once (the real server's lines).
    rig->server.clearReceived();
    rig->w->BuddyListx.append(group + QStringLiteral(":pal"));
    rig->server.sendLine(QStringLiteral("NEW_BUDDY_REPLY2:pal:added"));
    rig->server.sendLine(QStringLiteral("UPDATE_BUDDY2:Pal:T:0:1796704633:0: U :"));
    QVERIFY(waitUntil([&] { return tree->nodeByKey(QStringLiteral("Pal")); }));
    QCOMPARE(tree->nodeByKey(QStringLiteral("Pal"))->parent(), tree->topLevelItem(1));
}

void TestDialogs::providerShowsPlainText() {
    QWidget parent;
    parent.show();
    QtDialogProvider provider;
    bool done = false;
    provider.message(&parent, QStringLiteral("t"), QStringLiteral("<b>x</b> & y"),
                     [&] { done = true; });
    auto *box = parent.findChild<QMessageBox *>();
    QVERIFY(box && box->isVisible());
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), QStringLiteral("<b>x</b> & y"));
    QVERIFY(!done); // the call returned before the answer
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QVERIFY(done);
}

void TestDialogs::providerQuestion_data() {
    QTest::addColumn<bool>("withCancel");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("answer");
    using A = DialogProvider::Answer;
    QTest::newRow("yes") << false << int(QMessageBox::Yes) << int(A::Yes);
    QTest::newRow("no") << false << int(QMessageBox::No) << int(A::No);
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << int(A::Cancel);
    QTest::newRow("yes of three") << true << int(QMessageBox::Yes) << int(A::Yes);
    // chooseOrCancel: buttons with their own words; 0: Enter, which cancels.
    QTest::newRow("choose: first action") << true << int(QMessageBox::Yes) << int(A::Yes);
    QTest::newRow("choose: second action") << true << int(QMessageBox::No) << int(A::No);
    QTest::newRow("choose: Enter cancels") << true << 0 << int(A::Cancel);
}

void TestDialogs::providerQuestion() {
    QFETCH(bool, withCancel);
    QFETCH(int, button);
    QFETCH(int, answer);
    QWidget parent;
    parent.show();
    QtDialogProvider provider;
    int got = -1;
    const auto done = [&](DialogProvider::Answer a) { got = int(a); };
    const bool choose = QByteArray(QTest::currentDataTag()).startsWith("choose");
    if (choose)
        provider.chooseOrCancel(&parent, QString(), QStringLiteral("<i>sure</i>?"),
                                QStringLiteral("Do this"), QStringLiteral("Do that"), done);
    else
        provider.question(&parent, QString(), QStringLiteral("<i>sure</i>?"), withCancel, done);
    auto *box = parent.findChild<QMessageBox *>();
    QVERIFY(box);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->button(QMessageBox::Cancel) != nullptr, withCancel);
    if (choose)
        QCOMPARE(box->button(QMessageBox::No)->text(), QStringLiteral("Do that"));
    QCOMPARE(got, -1);
    if (button == 0)
        QTest::keyClick(box, Qt::Key_Return);
    else
        QTest::mouseClick(box->button(QMessageBox::StandardButton(button)), Qt::LeftButton);
    QCOMPARE(got, answer);
}

void TestDialogs::providerInputText_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::newRow("accepted") << true << "New Name";
    QTest::newRow("cancelled") << false << "";
}

void TestDialogs::providerInputText() {
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QWidget parent;
    parent.show();
    QtDialogProvider provider;
    QString got = QStringLiteral("unset");
    provider.inputText(&parent, QString(), QStringLiteral("New Format"), QStringLiteral("New Name"),
                       [&](const QString &t) { got = t; });
    auto *dlg = parent.findChild<QInputDialog *>();
    QVERIFY(dlg);
    QCOMPARE(dlg->labelText(), QStringLiteral("New Format"));
    QCOMPARE(got, QStringLiteral("unset"));
    accept ? dlg->accept() : dlg->reject();
    QCOMPARE(got, result);
}

// A question or prompt holding a 60 KB room name stays plain text, on the
// screen, buttons included.
void TestDialogs::providerKeepsRemoteTextOnScreen_data() {
    QTest::addColumn<bool>("prompt");
    QTest::addColumn<QString>("room");
    const QString words = QStringLiteral("Lobby <img src=/dev/zero> ").repeated(2400);
    QTest::newRow("question, words") << false << words;
    QTest::newRow("prompt, words") << true << words;
    QTest::newRow("question, one word") << false << QString(60000, u'r');
    QTest::newRow("prompt, lines") << true << QStringLiteral("r\n").repeated(30000);
}

void TestDialogs::providerKeepsRemoteTextOnScreen() {
    QFETCH(bool, prompt);
    QFETCH(QString, room);
    QWidget parent;
    parent.show();
    QtDialogProvider provider;
    const QString text = QStringLiteral("Invite bob to ") + room;
    if (prompt)
        provider.inputText(&parent, QString(), text, QString(), [](const QString &) {});
    else
        provider.question(&parent, QString(), text, false, [](DialogProvider::Answer) {});
    QDialog *dialog = prompt ? static_cast<QDialog *>(parent.findChild<QInputDialog *>())
                             : parent.findChild<QMessageBox *>();
    QVERIFY(dialog);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    const QList<QLabel *> labels = dialog->findChildren<QLabel *>();
    const auto label = std::find_if(labels.begin(), labels.end(), [](QLabel *l) {
        return l->text().startsWith(QStringLiteral("Invite bob to"));
    });
    QVERIFY(label != labels.end());
    QCOMPARE((*label)->textFormat(), Qt::PlainText);
    QVERIFY((*label)->text().size() < 3000);
    const QRect screen = dialog->screen()->availableGeometry();
    QVERIFY2(screen.contains(dialog->frameGeometry()),
             qPrintable(QStringLiteral("%1x%2").arg(dialog->width()).arg(dialog->height())));
}

// A profile page shows its text; pictures are never read, tables, lists
// and blocks never laid out as such, however deep. Shown again in the open
// window, the page goes in as one change of the document, laid out once
// rather than after each of its runs.
void TestDialogs::profileShowsTextOnly_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a picture of /dev/zero") << "<img src=\"/dev/zero\">"
                                            << "";
    QTest::newRow("file pictures, text kept")
        << "a<img src=file:///dev/zero><IMG SRC='/etc/passwd'>b<input type=image src=/x>"
        << "ab";
    QTest::newRow("3,500 nested tables")
        << QStringLiteral("<table><tr><td>").repeated(3500) + QStringLiteral("deep") << "deep";
    QTest::newRow("250 KB of nested lists and blocks")
        << QStringLiteral("<ul><li>x<div>").repeated(18000)
        << QStringLiteral("x\n").repeated(17999) + u'x';
    QTest::newRow("1,000 styled runs") << QStringLiteral("<b>run</b> <i>on</i> ").repeated(500)
                                       << QStringLiteral("run on ").repeated(500).chopped(1);
}

void TestDialogs::profileShowsTextOnly() {
    QFETCH(QString, page);
    frmProfile profile(nullptr);
    profile.showPage(QUrl(QStringLiteral("http://127.0.0.1/info")), page);
    QTextDocument *doc = profile.page()->document();
    QTEST(doc->toPlainText(), "shown");
    QVERIFY(doc->rootFrame()->childFrames().isEmpty());
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        QVERIFY(!b.textList());
        for (auto it = b.begin(); !it.atEnd(); ++it)
            QVERIFY(!it.fragment().charFormat().isImageFormat());
    }
    QVERIFY(QTest::qWaitForWindowExposed(&profile)); // laid out and painted
    QSignalSpy changes(doc, &QTextDocument::contentsChange);
    profile.showPage(QUrl(QStringLiteral("http://127.0.0.1/info")), page);
    QTEST(doc->toPlainText(), "shown");
    QVERIFY2(changes.size() <= 2, qPrintable(QString::number(changes.size())));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
