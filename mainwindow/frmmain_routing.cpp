// Routing: the tab strip's panel switch, closing tabs, and the events of
// the conversations from the protocol control to their views, tabs,
// notifications, away state and history.
#include "client/notifyrules.h"
#include "conversationhistory.h"
#include "conversationviews.h"
#include "frmmain.h"
#include "messagealerts.h"
#include "pages/awaypage.h"
#include "pages/creditspanel.h"
#include "pages/settingspanel.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/shownname.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

void frmMain::hider() {
    if (m_views)
        m_views->hideAll();
    PicIM->hide();
    PicLogin->hide();
    if (PicCredits)
        PicCredits->hide();
    PicChat->hide();
}

void frmMain::Tab1_Click() {
    hider();
    const int index = Tab1->currentIndex();
    Tab1->markSeen(index);
    // No tab (-1) is neither fixed nor a conversation.
    if (Tab1->isFixed(index, TabStrip::Fixed::Settings)) {
        PicLogin->show();
    } else if (Tab1->isFixed(index, TabStrip::Fixed::Credits)) {
        PicCredits->show();
    } else if (QWidget *view = m_views ? m_views->showFor(Tab1->key(index)) : nullptr) {
        // The cursor goes to the input box of the conversation on top.
        if (auto *im = qobject_cast<ctlIM *>(view))
            im->focusInput();
        else if (auto *room = qobject_cast<ctlChat *>(view))
            room->focusInput();
    }
    showTitle();
}

// The title names the conversation on top as its tab does (an alias, a
// room's caption).
void frmMain::showTitle() {
    const int index = Tab1->currentIndex();
    setWindowTitle(Tab1->key(index).isNull()
                       ? kCaption
                       : Tab1->shownText(index) + QLatin1String(" - ") + kCaption);
}

bool frmMain::isTab(const QString &partner) const {
    return Tab1->conversationIndex(ConversationKey::ofPerson(partner)) >= 0;
}

int frmMain::addTab(const QString &partner) {
    return Tab1->addConversation(ConversationKey::ofPerson(partner));
}

// A person's conversation tab goes; the fixed tabs are never conversations.
void frmMain::CloseTab(const QString &partner) {
    Tab1->removeConversation(ConversationKey::ofPerson(partner));
    Tab1_Click();
}

void frmMain::KillIM(int index) {
    m_views->closeIM(index);
    Tab1_Click();
}

void frmMain::ExitChat(int index) {
    // The view refreshes the panels itself (TabUpdate) once its keys are empty.
    const ConversationKey key = m_views->closeRoom(index);
    if (!key.isNull())
        Tab1->removeConversation(key);
}

// "Send IM" and "IM User": one conversation per person, brought forward
// with the cursor in its input box, so that what the user types next goes
// to the partner, not to the button that opened it.
void frmMain::openIM(const QString &name) {
    const ctlIM *view = m_views->imViewOf(name);
    if (!view)
        view = m_views->openIM(name);
    const int index = Tab1->conversationIndex(ConversationViews::keyOf(view));
    Tab1->setCurrentIndex(index >= 0 ? index : addTab(view->IMUser));
}

void frmMain::toc_InstantMessage(const QString &strUserName, const QString &strMessage,
                                 bool blnAutoResponse, const QString &) {
    // An empty key marks the template and closed views: a nameless sender
    // has no conversation to go to.
    if (strUserName.isEmpty())
        return;
    m_history->keepIncomingIM(strUserName, strMessage, blnAutoResponse);
    AwayPage *awayPage = PicLogin->away;
    ctlIM *view = m_views->imViewOf(strUserName);
    if (view) {
        view->receive(strUserName, strMessage, blnAutoResponse);
        imViews.first()->hide();
        m_alerts->messageOutOfSight(ConversationViews::keyOf(view), strUserName, strMessage,
                                    awayPage->holdsNewTabs() && !isTab(view->IMUser));
    } else {
        if (conversations.imsFull()) {
            Errors(QStringLiteral("The IM from %1 was not shown: %2 conversations are open. "
                                  "Close some to receive IMs from new people.")
                       .arg(shown::nameInText(strUserName))
                       .arg(kMaxOpenIMs));
            return;
        }
        view = m_views->openIM(strUserName);
        view->receive(strUserName, strMessage, blnAutoResponse);
        // Out of sight until its own tab is selected: shown at once it would
        // lie over the selected conversation, and a reply typed there would
        // go to the new partner. A held one gets its tab at "I'm Back".
        if (!awayPage->holdsNewTabs())
            addTab(strUserName);
        m_alerts->messageOutOfSight(ConversationViews::keyOf(view), strUserName, strMessage,
                                    awayPage->holdsNewTabs());
    }
    if (!away.isAway())
        return;
    if (awayPage->holdsNewTabs() && !isTab(view->IMUser))
        away.hold(view->IMUser);
    if (awayPage->incomingIM(strUserName)) {
        view->im_msg(ownScreenName(), away.message(), true);
        keepLine(HistoryLine::im(strUserName, true, HistoryLine::Kind::AutoResponse,
                                 ownScreenName(), away.message()));
    }
}

void frmMain::toc_JoinedChat(const QString &strChatName, qint32 lngChatID) {
    const QString room =
        strChatName == QLatin1String("???") ? conversations.requestedRoom : strChatName;
    // A room already open keeps its one view and tab.
    if (m_views->roomViewOf(lngChatID))
        return;
    if (conversations.roomsFull()) {
        // Out of the room again, so that the server stops sending its events.
        toc->LeaveChat(QString(), lngChatID);
        Errors(QStringLiteral("The room %1 was not opened: %2 rooms are open. "
                              "Leave some to join others.")
                   .arg(shown::nameInText(room))
                   .arg(kMaxOpenRooms));
        return;
    }
    const ctlChat *view = m_views->openRoom(room, lngChatID);
    const int index = Tab1->addConversation(ConversationViews::keyOf(view));
    // A room the user asked for comes forward; one the server put the user
    // in waits under its tab.
    if (conversations.takeAwaitedRoom(room))
        Tab1->setCurrentIndex(index);
}

void frmMain::toc_ChatMessage(qint32 lngChatID, const QString &strUserName,
                              const QString &strMessage) {
    ctlChat *view = m_views->roomViewOf(lngChatID);
    if (!view)
        return;
    view->chatMsg(strUserName, strMessage);
    const bool mine =
        toc::normalizeScreenName(strUserName) == toc::normalizeScreenName(ownScreenName());
    keepLine(HistoryLine::inRoom(view->roomName(), mine, HistoryLine::Kind::Message, strUserName,
                                 strMessage));
    // Another's line marks a room's tab out of sight; a room notifies only
    // when someone else names the user.
    if (mine)
        return;
    const ConversationKey key = ConversationViews::keyOf(view);
    if (NotifyRules::namesUser(toc::removeHtml(strMessage), ownScreenName()))
        m_alerts->messageOutOfSight(key, strUserName, strMessage, false);
    else if (!m_alerts->isOnScreen(key))
        Tab1->markUnseen(key);
}
