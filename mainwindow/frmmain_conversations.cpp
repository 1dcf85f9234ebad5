// The conversation views: the two lists with their hidden templates, the
// routing of IM and room events to the views whose key matches, and the
// views' own events (KillIM, ExitChat).
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/shownname.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QTabBar>
#include <utility>

void frmMain::buildConversations() {
    // The templates at index 0: hidden, never carrying a conversation.
    newIMView();
    newChatView();
    buildChatIMPage();
    buildCredits();
}

void frmMain::connectConversations() {
    connect(toc, &QelTOCSock::InstantMessage, this, &frmMain::toc_InstantMessage);
    connect(toc, &QelTOCSock::TypingStatus, this, &frmMain::toc_TypingStatus);
    connect(toc, &QelTOCSock::JoinedChat, this, &frmMain::toc_JoinedChat);
    connect(toc, &QelTOCSock::ChatMessage, this, &frmMain::toc_ChatMessage);
    connect(toc, &QelTOCSock::ChatUserUpdate, this, &frmMain::toc_ChatUserUpdate);
    connect(toc, &QelTOCSock::ChatLeft, this, &frmMain::toc_ChatLeft);
}

// The first slot a closed view left free, or a new one at the end.
template <typename View> static int freeSlot(QList<View *> &views) {
    const qsizetype index = views.indexOf(nullptr, 1);
    if (index >= 0)
        return int(index);
    views.append(nullptr);
    return int(views.size() - 1);
}

// A closed view is freed, its slot reused: memory follows the open
// conversations, not the history of the session. The view may still be
// running the handler that closed it, hence deleteLater.
template <typename View> static void freeView(QList<View *> &views, int index) {
    if (index < 1 || index >= views.size() || !views.at(index))
        return;
    View *view = std::exchange(views[index], nullptr);
    view->hide();
    view->deleteLater();
}

// A new view at the first free index, filling its panel, hidden.
ctlIM *frmMain::newIMView() {
    const int index = imViews.isEmpty() ? 0 : freeSlot(imViews);
    auto *view = new ctlIM(this, PicIM);
    view->setObjectName(QStringLiteral("imView%1").arg(index));
    view->setIndex(index);
    view->setGeometry(PicIM->rect());
    view->hide();
    connect(view, &ctlIM::KillIM, this, &frmMain::KillIM);
    if (index < imViews.size())
        imViews[index] = view;
    else
        imViews.append(view);
    return view;
}

ctlChat *frmMain::newChatView() {
    const int index = chatViews.isEmpty() ? 0 : freeSlot(chatViews);
    auto *view = new ctlChat(this, PicChat);
    view->setObjectName(QStringLiteral("chatView%1").arg(index));
    view->setIndex(index);
    view->setGeometry(PicChat->rect());
    view->hide();
    connect(view, &ctlChat::ExitChat, this, &frmMain::ExitChat);
    if (index < chatViews.size())
        chatViews[index] = view;
    else
        chatViews.append(view);
    return view;
}

// logout: every conversation ends, and its view is freed (the templates
// stay).
void frmMain::resetViewsOnLogout() {
    for (int i = 1; i < chatViews.size(); ++i)
        freeView(chatViews, i);
    for (int i = 1; i < imViews.size(); ++i)
        freeView(imViews, i);
    conversations.clear();
}

void frmMain::toc_InstantMessage(const QString &strUserName, const QString &strMessage,
                                 bool blnAutoResponse, const QString &) {
    // An empty key marks the template and closed views: a nameless sender
    // has no conversation to go to.
    if (strUserName.isEmpty())
        return;
    keepIncomingIM(strUserName, strMessage, blnAutoResponse);
    if (ctlIM *target = imViewOf(strUserName)) {
        target->receive(strUserName, strMessage);
        imViews.first()->hide();
        messageOutOfSight(target->IMUser, strUserName, strMessage,
                          holdNewIMTabs() && !isTab(target->IMUser));
    } else {
        if (conversations.imsFull()) {
            Errors(QStringLiteral("The IM from %1 was not shown: %2 conversations are open. "
                                  "Close some to receive IMs from new people.")
                       .arg(shown::nameInText(strUserName))
                       .arg(kMaxOpenIMs));
            return;
        }
        ctlIM *view = openIMView(strUserName);
        view->receive(strUserName, strMessage);
        // Out of sight until its own tab is selected: shown at once it would
        // lie over the selected conversation, and a reply typed there would
        // go to the new partner. A held one gets its tab at "I'm Back".
        if (!holdNewIMTabs())
            addTab(strUserName);
        messageOutOfSight(strUserName, strUserName, strMessage, holdNewIMTabs());
    }
    awayIncomingIM(strUserName);
}

ctlIM *frmMain::imViewOf(const QString &partner) const {
    const int index = conversations.imView(partner);
    return index > 0 && index < imViews.size() ? imViews.at(index) : nullptr;
}

ctlChat *frmMain::roomViewOf(qint32 chatId) const {
    const int index = conversations.roomView(chatId);
    return index > 0 && index < chatViews.size() ? chatViews.at(index) : nullptr;
}

// A new, hidden view for a conversation with the partner.
ctlIM *frmMain::openIMView(const QString &partner) {
    ctlIM *view = newIMView();
    view->IMUser = partner;
    conversations.openIM(partner, view->index());
    return view;
}

void frmMain::toc_TypingStatus(const QString &strUserName, qint16 intTypingStatus) {
    if (ctlIM *view = imViewOf(strUserName))
        view->TypeStatus(intTypingStatus);
}

void frmMain::toc_JoinedChat(const QString &strChatName, qint32 lngChatID) {
    const QString room = strChatName == QLatin1String("???") ? m_lastRoom : strChatName;
    // A room already open keeps its one view and tab.
    if (roomViewOf(lngChatID))
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
    const QString caption = room + QLatin1Char('.');
    addTab(caption);
    ctlChat *view = newChatView();
    view->Chatids = caption;
    view->Chatid2 = QString::number(lngChatID);
    conversations.openRoom(lngChatID, view->index());
    // The view applies the formatting settings only when told to.
    view->UpdateFonts();
}

void frmMain::toc_ChatMessage(qint32 lngChatID, const QString &strUserName,
                              const QString &strMessage) {
    ctlChat *view = roomViewOf(lngChatID);
    if (!view)
        return;
    view->chatMsg(strUserName, strMessage);
    const bool mine =
        toc::normalizeScreenName(strUserName) == toc::normalizeScreenName(ownScreenName());
    keepLine(HistoryLine::inRoom(view->roomName(), mine, HistoryLine::Kind::Message, strUserName,
                                 strMessage));
    // A room notifies only when someone else names the user.
    if (!mine && NotifyRules::namesUser(toc::removeHtml(strMessage), ownScreenName()))
        messageOutOfSight(view->Chatids, strUserName, strMessage, false);
}

void frmMain::toc_ChatUserUpdate(const QString &strUserName, bool blnInside, qint32 lngChatID) {
    if (ctlChat *view = roomViewOf(lngChatID))
        view->UserUpdate(strUserName, blnInside);
}

void frmMain::toc_ChatLeft(qint32 lngChatID) {
    if (ctlChat *view = roomViewOf(lngChatID))
        view->LeftChat();
}

void frmMain::KillIM(int index) {
    conversations.closeIM(index);
    freeView(imViews, index);
    Tab1_Click();
}

void frmMain::ExitChat(int index) {
    conversations.closeRoom(index);
    if (index < 0 || index >= chatViews.size())
        return;
    ctlChat *view = chatViews.at(index);
    if (!view)
        return;
    const QString caption = view->Chatids;
    freeView(chatViews, index);
    // The view refreshes the panels itself (TabUpdate) once its keys are empty.
    for (int i = Tab1->count() - 1; i >= 0; --i)
        if (isConversationTab(i, caption))
            Tab1->removeTab(i);
}
