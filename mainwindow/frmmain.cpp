// Construction, ownership, the tray icon, closing, and the ViewHost side.
#include "frmmain.h"

#include "clicklabel.h"

#include "client/buddybook.h"
#include "client/clientsettings.h"
#include "client/notsenttext.h"
#include "client/privacystate.h"
#include "dialogs/frmaddbuddy.h"
#include "dialogs/frmerr.h"
#include "dialogs/frmgroups.h"
#include "dialogs/frmprofile.h"
#include "dialogs/qtdialogprovider.h"
#include "mainwindow/mdltray.h"
#include "protocol/qeltocsock.h"
#include "uikit/resources.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

const QString frmMain::kCaption = QStringLiteral("Vorkle 2.0.2");
const QString frmMain::kDefaultServer = QStringLiteral("localhost");
const QString frmMain::kAuthServer = QStringLiteral("login.icq.com");
const QString frmMain::kDefaultProfile =
    QStringLiteral("I use <a href=\"http://vorkle.invalid/\">Vorkle 2.0.2</a>.");
const QString frmMain::kOffline = QStringLiteral("offline...");

frmMain::frmMain(QWidget *parent)
    : QWidget(parent), toc(new QelTOCSock(this)), book(new BuddyBook(toc, this)),
      privacy(new PrivacyState(toc, this)), groups(book->groups), BuddyListx(book->buddies) {
    initVorkleResources();
    m_settings = std::make_unique<ClientSettings>();
    m_ownDialogs = std::make_unique<QtDialogProvider>();
    m_dialogs = m_ownDialogs.get();

    // What the first paint shows: the tab strip, the login frame and the
    // settings header with the logo.
    buildWindow();
    buildPanels();
    buildLoginFrame();
    restoreSignOn();
    buildSettingsPanel();
    addFixedTab(FixedTab::Settings);
    fontColorx = QStringLiteral("0");
    backColorx = QStringLiteral("16777215");
    Tab1_Click();

    // The rest (pages, menus, views, tray) is built right after the first
    // paint, so that the window appears sooner; at once when the window is
    // not shown.
    QMetaObject::invokeMethod(this, &frmMain::finishBuildingUnlessPainting, Qt::QueuedConnection);
}

void frmMain::finishBuildingUnlessPainting() {
    if (m_built)
        return;
    if (isVisible() && !m_painted) {
        // The paint will come; a window that is never exposed (started
        // minimised) is completed anyway.
        QTimer::singleShot(kFirstPaintWaitMs, this, &frmMain::finishBuilding);
        return;
    }
    finishBuilding();
}

void frmMain::finishBuilding() {
    if (m_built)
        return;
    m_built = true;
    loadImages();
    buildPages();
    restoreChoices();
    buildMenus();
    buildConversations();
    connectProtocol();
    startPasswordStore();
    startTray();
    startLogo();
    showAddedWidgets();
}

// A widget added to a parent that is already shown stays hidden until it is
// shown itself. What finishBuilding() added after the first paint is shown
// here as it would have been had it been built before: all but windows and
// widgets hidden on purpose.
void frmMain::showAddedWidgets() {
    for (QWidget *w : findChildren<QWidget *>())
        if (!w->isWindow() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
            w->parentWidget()->isVisible())
            w->show();
}

bool frmMain::isFullyBuilt() const {
    return m_built;
}

bool frmMain::event(QEvent *event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        QMetaObject::invokeMethod(this, &frmMain::finishBuilding, Qt::QueuedConnection);
    }
    return handled;
}

frmMain::~frmMain() {
    // The separate windows go first: they hold pointers into this one.
    delete m_addBuddy.data();
    delete m_addGroup.data();
    m_err.reset();
    m_profile.reset();
    delete opt;
}

void frmMain::setDialogProvider(DialogProvider *provider) {
    m_dialogs = provider ? provider : m_ownDialogs.get();
}

DialogProvider *frmMain::dialogs() {
    return m_dialogs;
}

frmErr *frmMain::alertWindow() const {
    return m_err.get();
}
frmAddBuddy *frmMain::addBuddyDialog() const {
    return m_addBuddy.data();
}
frmGroups *frmMain::addGroupDialog() const {
    return m_addGroup.data();
}

void frmMain::startTray() {
    m_tray = new mdlTray(this);
    connect(m_tray, &mdlTray::menuRequested, this, [this] { opt->popup(QCursor::pos()); });
    m_tray->addTrayIcon(windowIcon(), kCaption);
}

void frmMain::showMe_Click() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void frmMain::closeEvent(QCloseEvent *event) {
    rememberPlace();
    if (m_tray)
        m_tray->deleteTrayIcon();
    // Our other windows have no parent; close them so the program ends.
    if (m_err)
        m_err->hide();
    if (m_addBuddy)
        m_addBuddy->hide();
    if (m_addGroup)
        m_addGroup->hide();
    if (m_profile)
        m_profile->hide();
    event->accept();
}

void frmMain::notSent() {
    Errors(notSentText(toc));
}

QString frmMain::ownScreenName() const {
    return txtSn->text();
}

QString frmMain::iconHost() const {
    return toc->tocServer();
}
