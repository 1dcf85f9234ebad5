// Construction, ownership, the tray icon, closing, and the ViewHost side.
#include "frmmain.h"

#include "dialogs/dialogprovider.h"
#include "dialogs/frmaddbuddy.h"
#include "dialogs/frmerr.h"
#include "dialogs/frmgroups.h"
#include "dialogs/mdltray.h"
#include "protocol/qeltocsock.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>

// The widgets library is static: its embedded files must be registered
// explicitly, outside any namespace.
static void initVorkleResources() {
    Q_INIT_RESOURCE(resources);
}

const QString frmMain::kCaption = QStringLiteral("Vorkle 2.0.2");
const QString frmMain::kDefaultServer = QStringLiteral("localhost");
const QString frmMain::kAuthServer = QStringLiteral("login.icq.com");
const QString frmMain::kDefaultProfile =
    QStringLiteral("I use <a href=\"http://vorkle.invalid/\">Vorkle 2.0.2</a>.");
const QString frmMain::kOffline = QStringLiteral("offline...");

frmMain::frmMain(QWidget *parent) : QWidget(parent) {
    initVorkleResources();
    m_ownDialogs = std::make_unique<QtDialogProvider>();
    m_dialogs = m_ownDialogs.get();
    toc = new QelTOCSock(this);

    loadImages();
    buildWindow();
    buildPanels();
    buildLoginFrame();
    buildSettingsPanel();
    buildPages();
    buildMenus();
    buildConversations();
    connectProtocol();

    // Start-up: the first tab, the outgoing colours, the panel switch and
    // the tray icon.
    addTab(QStringLiteral("Settings"));
    fontColorx = QStringLiteral("0");
    backColorx = QStringLiteral("16777215");
    Tab1_Click();
    startTray();
}

frmMain::~frmMain() {
    // The separate windows go first: they hold pointers into this one.
    delete m_addBuddy.data();
    delete m_addGroup.data();
    m_err.reset();
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
    m_tray->deleteTrayIcon();
    // Our other windows have no parent; close them so the program ends.
    if (m_err)
        m_err->hide();
    if (m_addBuddy)
        m_addBuddy->hide();
    if (m_addGroup)
        m_addGroup->hide();
    event->accept();
}

QString frmMain::ownScreenName() const {
    return txtSn->text();
}

QString frmMain::iconHost() const {
    return toc->tocServer();
}
