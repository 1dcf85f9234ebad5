// The conversation views: the two lists with their hidden templates, the
// routing of IM and room events to the views whose key matches, and the
// views' own events (KillIM, ExitChat).
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QTabBar>

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

// A new view at the next free index, filling its panel, hidden.
ctlIM *frmMain::newIMView() {
    const int index = int(imViews.size());
    auto *view = new ctlIM(this, PicIM);
    view->setObjectName(QStringLiteral("imView%1").arg(index));
    view->setIndex(index);
    view->setGeometry(PicIM->rect());
    view->hide();
    connect(view, &ctlIM::KillIM, this, &frmMain::KillIM);
    imViews.append(view);
    return view;
}

ctlChat *frmMain::newChatView() {
    const int index = int(chatViews.size());
    auto *view = new ctlChat(this, PicChat);
    view->setObjectName(QStringLiteral("chatView%1").arg(index));
    view->setIndex(index);
    view->setGeometry(PicChat->rect());
    view->hide();
    connect(view, &ctlChat::ExitChat, this, &frmMain::ExitChat);
    chatViews.append(view);
    return view;
}

void frmMain::toc_InstantMessage(const QString &strUserName, const QString &strMessage, bool,
                                 const QString &) {
    // An empty key marks the template and closed views: a nameless sender
    // has no conversation to go to.
    if (strUserName.isEmpty())
        return;
    ctlIM *target = nullptr;
    for (ctlIM *view : std::as_const(imViews)) {
        if (view->IMUser == strUserName) {
            target = view;
            break;
        }
    }
    if (target) {
        target->im_msg(strUserName, strMessage);
        imViews.first()->hide();
    } else {
        if (openIMs() >= kMaxOpenIMs) {
            Errors(QStringLiteral("The IM from %1 was not shown: %2 conversations are open. "
                                  "Close some to receive IMs from new people.")
                       .arg(strUserName)
                       .arg(kMaxOpenIMs));
            return;
        }
        ctlIM *view = newIMView();
        view->show();
        view->IMUser = strUserName;
        view->im_msg(strUserName, strMessage);
        if (!holdNewIMTabs())
            addTab(strUserName);
    }
    awayIncomingIM(strUserName);
}

// Conversations and rooms that are open: the templates at index 0 and the
// closed views (their keys emptied) do not count.
int frmMain::openIMs() const {
    int open = 0;
    for (int i = 1; i < imViews.size(); ++i)
        open += imViews.at(i)->IMUser.isEmpty() ? 0 : 1;
    return open;
}

int frmMain::openRooms() const {
    int open = 0;
    for (int i = 1; i < chatViews.size(); ++i)
        open += chatViews.at(i)->Chatids.isEmpty() ? 0 : 1;
    return open;
}

void frmMain::toc_TypingStatus(const QString &strUserName, qint16 intTypingStatus) {
    if (strUserName.isEmpty())
        return;
    for (int i = 1; i < imViews.size(); ++i)
        if (imViews.at(i)->IMUser == strUserName)
            imViews.at(i)->TypeStatus(intTypingStatus);
}

void frmMain::toc_JoinedChat(const QString &strChatName, qint32 lngChatID) {
    const QString room = strChatName == QLatin1String("???") ? m_lastRoom : strChatName;
    if (openRooms() >= kMaxOpenRooms) {
        // Out of the room again, so that the server stops sending its events.
        toc->LeaveChat(QString(), lngChatID);
        Errors(QStringLiteral("The room %1 was not opened: %2 rooms are open. "
                              "Leave some to join others.")
                   .arg(room)
                   .arg(kMaxOpenRooms));
        return;
    }
    const QString caption = room + QLatin1Char('.');
    addTab(caption);
    ctlChat *view = newChatView();
    view->Chatids = caption;
    view->Chatid2 = QString::number(lngChatID);
    // The view applies the formatting settings only when told to.
    view->UpdateFonts();
}

void frmMain::toc_ChatMessage(qint32 lngChatID, const QString &strUserName,
                              const QString &strMessage) {
    const QString id = QString::number(lngChatID);
    for (ctlChat *view : std::as_const(chatViews))
        if (view->Chatid2 == id)
            view->chatMsg(strUserName, strMessage);
}

void frmMain::toc_ChatUserUpdate(const QString &strUserName, bool blnInside, qint32 lngChatID) {
    const QString id = QString::number(lngChatID);
    for (ctlChat *view : std::as_const(chatViews))
        if (view->Chatid2 == id)
            view->UserUpdate(strUserName, blnInside);
}

void frmMain::toc_ChatLeft(qint32 lngChatID) {
    const QString id = QString::number(lngChatID);
    for (ctlChat *view : std::as_const(chatViews))
        if (view->Chatid2 == id)
            view->LeftChat();
}

void frmMain::KillIM(int index) {
    if (index >= 0 && index < imViews.size())
        imViews.at(index)->hide();
    Tab1_Click();
}

void frmMain::ExitChat(int index) {
    if (index < 0 || index >= chatViews.size())
        return;
    ctlChat *view = chatViews.at(index);
    view->hide();
    const QString caption = view->Chatids;
    // The view refreshes the panels itself (TabUpdate) once its keys are empty.
    for (int i = Tab1->count() - 1; i >= 0; --i)
        if (tabCaption(i) == caption)
            Tab1->removeTab(i);
}
