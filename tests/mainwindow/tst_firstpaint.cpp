// The window paints its login frame first and completes itself right after:
// the pages, menus, conversation templates, protocol handlers and tray icon
// must all be in place before anything can need them.
#include "guitestkit.h"

#include "mainwindow/mdltray.h"
#include "pages/buddytree.h"
#include "uikit/animatedpicture.h"
#include "uikit/clicklabel.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

// Records, at the first paint of any widget of the window, whether the
// settings pages existed yet.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(QWidget *window) : m_window(window) {}
    bool painted = false;
    bool pagesAtPaint = false;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (!painted && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window) {
            painted = true;
            pagesAtPaint = m_window->findChild<QTabWidget *>(QStringLiteral("tab2")) != nullptr;
        }
        return false;
    }

  private:
    QWidget *m_window;
};

// Every part finishBuilding() adds, and the login frame still on top.
void verifyComplete(const GuiRig &rig) {
    QVERIFY(rig.w->isFullyBuilt());
    for (const char *name : {"tab2", "TreeBL", "lstBlock", "txtAway", "txtFont", "txtChatName",
                             "imView0", "chatView0", "mnuBL", "blClick"})
        QVERIFY2(rig.w->findChild<QObject *>(QLatin1String(name)), name);
    QVERIFY(rig.w->opt);
    QVERIFY(rig.w->findChild<mdlTray *>());
    QVERIFY(rig.w->PicLogin->Image1->isAnimated());
    // The logo animates exactly while it can be seen.
    QCOMPARE(rig.w->PicLogin->Image1->isRunning(), rig.w->PicLogin->Image1->isVisible());
    QWidget *pages = rig.find<QTabWidget>("tab2");
    QWidget *login = rig.find<QFrame>("frmLogin");
    const QObjectList &order = login->parentWidget()->children();
    QVERIFY(order.indexOf(login) > order.indexOf(pages));
}

// The names of the window's widgets that are visible, sorted.
QStringList visibleWidgets(const frmMain &w) {
    QStringList names;
    for (const QWidget *child : w.findChildren<QWidget *>())
        if (!child->objectName().isEmpty() && child->isVisible())
            names << child->objectName();
    names.sort();
    return names;
}

} // namespace

class TestFirstPaint : public QObject {
    Q_OBJECT

  private slots:
    void loginFrameAloneBeforeTheFirstPass() {
        GuiRig rig(GuiRig::Build::AsAtStartUp, false);
        QVERIFY(!rig.w->isFullyBuilt());
        QVERIFY(rig.find<QFrame>("frmLogin"));
        QVERIFY(!rig.find<QTabWidget>("tab2"));
        QVERIFY(!rig.w->findChild<mdlTray *>());
        // The logo's first frame stands still until then.
        QVERIFY(!rig.w->PicLogin->Image1->isAnimated());
        QCOMPARE(rig.w->PicLogin->Image1->pixmap().size(), QSize(128, 120));
        // Closing before the rest exists must not touch what is missing.
        QVERIFY(rig.w->close());
        QVERIFY(!rig.w->isVisible());
        QVERIFY(!rig.w->tray());
    }

    // Not shown: the first pass of the event loop completes the window.
    void completedWhenNeverShown() {
        GuiRig rig(GuiRig::Build::AsAtStartUp, false);
        QTRY_VERIFY(rig.w->isFullyBuilt());
        verifyComplete(rig);
    }

    // Shown: the first paint comes before the pages, the rest follows.
    void completedRightAfterTheFirstPaint() {
        GuiRig rig(GuiRig::Build::AsAtStartUp, false);
        PaintWatch watch(rig.w.get());
        qApp->installEventFilter(&watch);
        rig.w->show();
        QTRY_VERIFY(rig.w->isFullyBuilt());
        qApp->removeEventFilter(&watch);
        QVERIFY(watch.painted);
        QVERIFY(!watch.pagesAtPaint);
        verifyComplete(rig);
        // What was added after the paint shows as if built before it.
        GuiRig whole;
        QTRY_COMPARE(visibleWidgets(*rig.w), visibleWidgets(*whole.w));
        QVERIFY(visibleWidgets(*rig.w).contains(QStringLiteral("tab2")));
        QVERIFY(visibleWidgets(*rig.w).contains(QStringLiteral("lstBlock")));
    }

    // The away strip's controls are added after the first paint, into a
    // strip that was shown then: they show with it when the user goes away.
    void awayStripControlsShowAfterTheFirstPaint() {
        GuiRig rig(GuiRig::Build::AsAtStartUp, false);
        rig.w->show();
        QTRY_VERIFY(rig.w->isFullyBuilt());
        QVERIFY(rig.signOn(QStringLiteral("done:\n")));
        rig.w->PicLogin->away->txtAway->setPlainText(QStringLiteral("out"));
        QTest::mouseClick(rig.w->PicLogin->away->Command3, Qt::LeftButton);
        QVERIFY(rig.w->PicAway->isVisible());
        for (const QWidget *w : rig.w->PicAway->findChildren<QWidget *>())
            QVERIFY2(w->isVisible(), qPrintable(w->objectName()));
        QTest::mouseClick(rig.w->PicAway->Command7, Qt::LeftButton);
        QVERIFY(!rig.w->PicAway->isVisible());
    }

    // "Login" pressed before the window completed itself: the handlers are
    // in place before the session starts, and the sign-on fills the tree.
    void loginBeforeCompletion() {
        GuiRig rig(GuiRig::Build::AsAtStartUp, false);
        QVERIFY(!rig.w->isFullyBuilt());
        rig.w->findChild<QLineEdit *>(QStringLiteral("txtSn"))->setText(QStringLiteral("me"));
        rig.w->findChild<QLineEdit *>(QStringLiteral("txtServer"))
            ->setText(QStringLiteral("127.0.0.1"));
        rig.w->findChild<QLineEdit *>(QStringLiteral("txtPort"))
            ->setText(QString::number(rig.server.port()));
        rig.w->findChild<QPushButton *>(QStringLiteral("cmdLogin"))->click();
        QVERIFY(rig.w->isFullyBuilt());
        QVERIFY(rig.server.acceptSignOn(QStringLiteral("g:Friends\nb:pal\ndone:\n")));
        QTRY_VERIFY(rig.w->PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("Friends")));
        rig.server.sendLine(QStringLiteral("UPDATE_BUDDY2:pal:T:0:0:0: O:"));
        QTRY_VERIFY(rig.w->PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("pal")));
    }
};

QTEST_MAIN(TestFirstPaint)
#include "tst_firstpaint.moc"
