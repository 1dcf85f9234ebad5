// The window as a window: its size and place (remembered), the panels
// that take the room of a larger window, the away strip's extra height,
// the keyboard shortcuts of a tabbed chat window, and the page signals
// that lead into the window's routines.
#include "chatinvitations.h"
#include "client/buddyaliases.h"
#include "client/clientsettings.h"
#include "conversationhistory.h"
#include "conversationviews.h"
#include "frmmain.h"
#include "pages/awaypage.h"
#include "pages/awaystrip.h"
#include "pages/buddylistpage.h"
#include "pages/buddymenus.h"
#include "pages/chatimpage.h"
#include "pages/creditspanel.h"
#include "pages/fontpage.h"
#include "pages/privacypage.h"
#include "pages/settingspanel.h"
#include "uikit/contextmenus.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QShortcut>

namespace {
// The client area, and what the away strip adds to its height.
constexpr int kClientWidth = 5850;
constexpr int kClientHeight = 3000;
constexpr int kAwayExtra = 4455 - 3615;

// Ctrl+W and a tab's "Close": the conversation ends as with its own
// button; the credits close as with "Close Tab".
void closeTab(frmMain *w, int index) {
    if (w->Tab1->isFixed(index, TabStrip::Fixed::Credits))
        emit w->PicCredits->closeRequested();
    const ConversationKey key = w->Tab1->key(index);
    for (ctlIM *view : std::as_const(w->imViews))
        if (view && !view->IMUser.isEmpty() && ConversationViews::keyOf(view) == key)
            return view->closeConversation();
    for (ctlChat *view : std::as_const(w->chatViews))
        if (view && !view->Chatids.isEmpty() && ConversationViews::keyOf(view) == key)
            return view->leaveRoom();
}

QSize defaultSize(bool away) {
    return {twips::toPixelsX(kClientWidth),
            twips::toPixelsY(kClientHeight + (away ? kAwayExtra : 0))};
}
} // namespace

void frmMain::connectPages() {
    SettingsPanel *pages = PicLogin;
    connect(pages->away, &AwayPage::awayChanged, this, &frmMain::setAwayHeight);
    // The conversations opened while away get their tabs now.
    connect(pages->away, &AwayPage::released, this, [this](const QStringList &held) {
        for (const QString &name : held)
            if (!isTab(name) && m_views->imViewOf(name))
                addTab(name);
    });
    connect(pages->chatIM, &ChatIMPage::imRequested, this, &frmMain::openIM);
    // "IM User", a double click or Enter: the name goes into the IM field
    // and "Send IM" runs.
    connect(pages->buddyList->menus, &BuddyMenus::imRequested, this, [pages](const QString &name) {
        pages->chatIM->txtIM->setText(name);
        pages->chatIM->cmdIM_Click();
    });
    connect(pages->buddyList->menus, &BuddyMenus::blockRequested, pages->privacy,
            &PrivacyPage::block);
    connect(pages->buddyList->menus, &BuddyMenus::inviteRequested, m_invitations,
            &ChatInvitations::invite);
    connect(pages->buddyList->menus, &BuddyMenus::historyRequested, this,
            [this](const QString &buddy) { m_history->showWindow(buddy, ownScreenName()); });
    // An IM's tab and header show the partner's alias; a room's tab its name.
    Tab1->shownAs = [this](const QString &partner) { return shownName(partner); };
    connect(pages->buddyList->aliases, &BuddyAliases::changed, this, [this] {
        Tab1->refreshCaptions();
        showTitle();
        for (ctlIM *view : std::as_const(imViews))
            if (view && !view->IMUser.isEmpty())
                view->showPartner();
    });
    connect(pages->font, &FontPage::formatChanged, m_views, &ConversationViews::refreshAll);
    connect(pages->font, &FontPage::backChanged, m_views, &ConversationViews::refreshRooms);
    connect(m_views, &ConversationViews::KillIM, this, &frmMain::KillIM);
    connect(m_views, &ConversationViews::ExitChat, this, &frmMain::ExitChat);
    // A click on the logo opens the credits in front, once.
    connect(pages, &SettingsPanel::pictureClicked, this, [this] {
        const int index = Tab1->fixedIndex(TabStrip::Fixed::Credits);
        Tab1->setCurrentIndex(index >= 0 ? index : Tab1->addFixed(TabStrip::Fixed::Credits));
    });
    connect(PicCredits, &CreditsPanel::closeRequested, this, [this] {
        PicCredits->hide();
        Tab1->removeFixed(TabStrip::Fixed::Credits);
        Tab1_Click();
    });
}

void frmMain::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layoutPanels();
}

// At the default size every panel sits where it was designed; the extra
// room of a larger window goes to the panels' width and height, and the
// away strip stays at the bottom with its own height.
void frmMain::layoutPanels() {
    const QSize base = defaultSize(m_awayShown);
    const int dx = qMax(0, width() - base.width());
    const int dy = qMax(0, height() - base.height());
    Tab1->setGeometry(twips::rect(0, 0, 5895, 360).adjusted(0, 0, dx, 0));
    PicLogin->setGeometry(twips::rect(0, 360, 5895, 2655).adjusted(0, 0, dx, dy));
    PicIM->setGeometry(twips::rect(120, 360, 5775, 2655).adjusted(0, 0, dx, dy));
    PicChat->setGeometry(twips::rect(120, 360, 5775, 2655).adjusted(0, 0, dx, dy));
    if (PicCredits)
        PicCredits->setGeometry(twips::rect(120, 360, 5895, 2655).adjusted(0, 0, dx, dy));
    if (PicAway)
        PicAway->setGeometry(twips::rect(0, 3120, 5895, 975).adjusted(0, dy, dx, dy));
}

// The away state enlarges the window by the strip's height, and back.
void frmMain::setAwayHeight(bool enlarged) {
    const bool changed = enlarged != m_awayShown;
    const int extra = twips::toPixelsY(kAwayExtra);
    const int height = this->height() + (!changed ? 0 : enlarged ? extra : -extra);
    m_awayShown = enlarged;
    setMinimumSize(defaultSize(enlarged));
    if (changed && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        resize(width(), qMax(height, minimumHeight()));
    if (PicAway)
        PicAway->setVisible(enlarged);
    layoutPanels();
}

// A remembered place off every screen (a screen since removed, a damaged
// file) is no place: the window manager places the window instead.
void frmMain::restorePlace() {
    resize(defaultSize(false).expandedTo(m_settings->windowSize().value_or(QSize())));
    const auto place = m_settings->windowPosition();
    if (place && QGuiApplication::screenAt(QRect(*place, size()).center()))
        move(*place);
    if (m_settings->windowMaximized())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void frmMain::rememberPlace() {
    const bool maximized = windowState() & Qt::WindowMaximized;
    QSize size = maximized ? normalGeometry().size() : this->size();
    if (m_awayShown)
        size.rheight() -= twips::toPixelsY(kAwayExtra);
    m_settings->setWindowSize(size.expandedTo(defaultSize(false)), maximized);
    if (!maximized)
        m_settings->setWindowPosition(pos());
}

void frmMain::buildShortcuts() {
    const auto shortcut = [this](QKeySequence keys, auto action) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_W), [this] { closeTab(this, Tab1->currentIndex()); });
    connect(Tab1, &TabStrip::closeRequested, this, [this](int index) { closeTab(this, index); });
    contextmenus::addShiftF10(this);
    for (const QKeyCombination next : {Qt::CTRL | Qt::Key_Tab, Qt::CTRL | Qt::Key_PageDown})
        shortcut(QKeySequence(next), [this] { Tab1->step(1); });
    for (const QKeyCombination previous :
         {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab,
          Qt::CTRL | Qt::Key_Backtab, Qt::CTRL | Qt::Key_PageUp})
        shortcut(QKeySequence(previous), [this] { Tab1->step(-1); });
    for (int n = 1; n <= 9; ++n)
        shortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + n)), [this, n] {
            if (n <= Tab1->count())
                Tab1->setCurrentIndex(n - 1);
        });
}
