// Construction, the first paint, the tray icon, closing, and the ViewHost
// side of the window.
#include "frmmain.h"

#include "chatinvitations.h"
#include "client/buddyaliases.h"
#include "client/buddybook.h"
#include "client/clientsettings.h"
#include "client/dictionaries.h"
#include "client/notsenttext.h"
#include "client/personalwords.h"
#include "client/privacystate.h"
#include "client/profilefetch.h"
#include "client/session.h"
#include "client/spellchecker.h"
#include "conversationhistory.h"
#include "conversationviews.h"
#include "dialogs/frmaddbuddy.h"
#include "dialogs/frmerr.h"
#include "dialogs/frmgroups.h"
#include "dialogs/frmprofile.h"
#include "dialogs/qtdialogprovider.h"
#include "mdltray.h"
#include "messagealerts.h"
#include "pages/awaypage.h"
#include "pages/awaystrip.h"
#include "pages/buddylistpage.h"
#include "pages/buddymenus.h"
#include "pages/chatimpage.h"
#include "pages/creditspanel.h"
#include "pages/fontpage.h"
#include "pages/loginframe.h"
#include "pages/optionspage.h"
#include "pages/privacypage.h"
#include "pages/settingspanel.h"
#include "protocol/qeltocsock.h"
#include "sessionlink.h"
#include "timestampswitch.h"
#include "typingwatch.h"
#include "uikit/pagewidgets.h"
#include "uikit/pictures.h"
#include "uikit/resources.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

const QString frmMain::kCaption = QStringLiteral("Vorkle 2.0.2");
const QString frmMain::kOffline = QStringLiteral("offline...");

namespace {
constexpr int kFirstPaintWaitMs = 250;

QWidget *panel(QWidget *parent, const char *name, QRect where) {
    QWidget *p = pagewidgets::named(new QWidget(parent), name, where);
    p->setAutoFillBackground(true);
    return p;
}
} // namespace

frmMain::frmMain(QWidget *parent)
    : QWidget(parent), toc(new QelTOCSock(this)),
      session(new Session(toc, &conversations, Clock::system(), {}, this)),
      book(new BuddyBook(toc, this)), privacy(new PrivacyState(toc, this)), groups(book->groups),
      BuddyListx(book->buddies) {
    initVorkleResources();
    m_settings = std::make_unique<ClientSettings>();
    m_ownDialogs = std::make_unique<QtDialogProvider>();
    m_spell = new SpellChecker(m_settings.get(), dictionaries::searchDirs(),
                               PersonalWords::defaultPath(), this);
    m_dialogs = m_ownDialogs.get();
    m_typing = new TypingWatch(this);

    // What the first paint shows: the tab strip, the login frame and the
    // settings header with the logo.
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(pictures::icon(QStringLiteral(":/vorkle/vorkle.png")));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::Window, uicolors::windowBack());
    p.setColor(QPalette::Button, uicolors::windowBack());
    setPalette(p);
    setAutoFillBackground(true);

    Tab1 = new TabStrip(this);
    Tab1->setGeometry(twips::rect(0, 0, 5895, 360));
    connect(Tab1, &QTabBar::currentChanged, this, [this](int) { Tab1_Click(); });
    PicLogin = new SettingsPanel(kit(), this);
    // Moved at start-up under the tabs.
    PicIM = panel(this, "PicIM", twips::rect(120, 360, 5775, 2655));
    PicChat = panel(this, "PicChat", twips::rect(120, 360, 5775, 2655));
    // "Logout".
    connect(PicLogin, &SettingsPanel::logoutClicked, this, [this] {
        session->logout();
        logout();
    });
    connect(PicLogin->frmLogin, &LoginFrame::loginClicked, this, &frmMain::cmdLogin_Click);
    setAwayHeight(false);
    restorePlace();
    Tab1->addFixed(TabStrip::Fixed::Settings);

    // The rest (pages, menus, views, tray) is built right after the first
    // paint, so that the window appears sooner; at once when the window is
    // not shown.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_built)
                return;
            // The paint will come; a window that is never exposed (started
            // minimised) is completed anyway.
            if (isVisible() && !m_painted)
                QTimer::singleShot(kFirstPaintWaitMs, this, &frmMain::finishBuilding);
            else
                finishBuilding();
        },
        Qt::QueuedConnection);
}

PageKit frmMain::kit() {
    PageKit k;
    k.toc = toc;
    k.session = session;
    k.settings = m_settings.get();
    k.spell = m_spell;
    k.alert = [this](const QString &text) { Errors(text); };
    k.dialogs = [this] { return dialogs(); };
    return k;
}

void frmMain::finishBuilding() {
    if (m_built)
        return;
    m_built = true;
    PicAway = new AwayStrip(this);
    PicCredits = new CreditsPanel(this);
    PicCredits->hide();
    auto *aliases = new BuddyAliases(m_settings.get(), this);
    PicLogin->buildPages({book, aliases, privacy, &away, PicAway, &conversations});
    m_views = new ConversationViews(this, &conversations, imViews, chatViews, PicIM, PicChat, this);

    // The tray's menu has no parent: "Show" must work while the alert or a
    // dialog has disabled the window. The window deletes it.
    opt = new QMenu;
    opt->setObjectName(QStringLiteral("opt"));
    showMe = opt->addAction(QStringLiteral("Show"));
    showMe->setObjectName(QStringLiteral("showMe"));
    connect(showMe, &QAction::triggered, this, &frmMain::showMe_Click);
    m_alerts = new MessageAlerts(this, Tab1, m_settings.get(), opt);
    m_history = new ConversationHistory(
        m_settings.get(), [this](const QString &text) { Errors(text); }, opt, this);
    new TimestampSwitch(m_settings.get(), opt, m_views);

    connectProtocol();
    m_invitations = new ChatInvitations(kit(), m_views, this);
    connectPages();
    PicLogin->frmLogin->startPasswordStore();
    m_tray = new mdlTray(this);
    connect(m_tray, &mdlTray::menuRequested, this, [this] { opt->popup(QCursor::pos()); });
    m_tray->addTrayIcon(windowIcon(), kCaption);
    m_alerts->setTray(m_tray);
    new SessionLink(this, m_views, m_settings.get(), this);
    bindOptions();
    // A click on a notification leads to its conversation.
    connect(m_alerts, &MessageAlerts::activated, this, [this](const ConversationKey &key) {
        showMe_Click();
        const int index = Tab1->conversationIndex(key);
        if (index >= 0)
            Tab1->setCurrentIndex(index);
    });
    buildShortcuts();
    PicLogin->startLogo();
    layoutPanels();
    // A widget added to a parent that is already shown stays hidden until
    // it is shown itself: show what was built as if it had been there
    // before, all but windows and widgets hidden on purpose.
    for (QWidget *w : findChildren<QWidget *>())
        if (!w->isWindow() && !w->testAttribute(Qt::WA_WState_ExplicitShowHide) &&
            w->parentWidget()->isVisible())
            w->show();
}

// The options page shows the tray menu's switches: each box and its menu
// entry are one option.
void frmMain::bindOptions() {
    OptionsPage *page = PicLogin->options;
    const auto action = [this](const char *name) {
        return opt->findChild<QAction *>(QLatin1String(name));
    };
    OptionsPage::bind(page->chkTimestamps, action("mnuTimestamps"));
    OptionsPage::bind(page->chkNotify, action("mnuNotify"));
    OptionsPage::bind(page->chkHistory, action("mnuHistory"));
    OptionsPage::bind(page->chkTyping, action("mnuTyping"));
    m_views->setSmileys(page->chkSmileys->isChecked());
    connect(page, &OptionsPage::smileysChanged, m_views, &ConversationViews::setSmileys);
    connect(page->cmdQuit, &QPushButton::clicked, action("mnuQuit"), &QAction::trigger);
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
    if (PicLogin->buddyList)
        delete PicLogin->buddyList->menus;
    m_err.reset();
    m_profile.reset();
    delete opt;
}

void frmMain::setDialogProvider(DialogProvider *provider) {
    m_dialogs = provider ? provider : m_ownDialogs.get();
}

HistoryStore *frmMain::history() const {
    return m_history ? m_history->store() : nullptr;
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
    if (PicLogin->buddyList) {
        if (frmAddBuddy *dialog = PicLogin->buddyList->menus->addBuddyDialog())
            dialog->hide();
        if (frmGroups *dialog = PicLogin->buddyList->menus->addGroupDialog())
            dialog->hide();
    }
    if (m_profile)
        m_profile->hide();
    event->accept();
}

QString frmMain::ownScreenName() const {
    return PicLogin->frmLogin->screenName();
}

QString frmMain::iconHost() const {
    return toc->tocServer();
}

FormatSettings frmMain::formatSettings() const {
    // Views made before the font page exists read the defaults.
    return PicLogin->font ? PicLogin->font->formatSettings() : FormatSettings();
}

void frmMain::blockFromView(const QString &name) {
    PicLogin->privacy->blockName(name);
}

void frmMain::showAddBuddy() {
    PicLogin->buddyList->menus->showAddBuddyDialog();
}

void frmMain::openIMFromView(const QString &name) {
    if (!name.isEmpty())
        openIM(name);
}

// As the buddy menu's "Get Profile".
void frmMain::profileFromView(const QString &name) {
    if (name.isEmpty())
        return;
    if (toc->GetProfile(name))
        m_profileFetch->asked(name);
    else
        Errors(notSentText(toc));
}

// A partner's alias where the user gave one, else the name escaped.
QString frmMain::shownName(const QString &name) const {
    const QString alias =
        PicLogin->buddyList ? PicLogin->buddyList->aliases->aliasOf(name) : QString();
    return shown::name(alias.isEmpty() ? name : alias);
}

Outbox *frmMain::outbox() {
    return m_views ? m_views->outbox : nullptr;
}

void frmMain::keepLine(const HistoryLine &line) {
    // Nothing is shown before the window is built; the check costs nothing.
    if (m_history)
        m_history->keep(line);
}
