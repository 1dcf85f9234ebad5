#pragma once

#include "guitestkit.h"

#include <QObject>

class QTextEdit;
class ctlChat;
class ctlIM;

class TestConversations : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    // IMs, typing status, the "chat/im" page, credits (tst_conversations.cpp)
    void chatImPage_data();
    void chatImPage();
    void incomingIMs_data();
    void incomingIMs();
    void newViewStaysHiddenUnderSelectedConversation();
    void outOfSightMessagesNotify();
    void closedTabThenNewIMGetsNewView();
    void sendIMTwiceSelectsTheOneConversation();
    void sendIMWithoutName();
    void imUserFromBuddyTree();
    void typingStatus_data();
    void typingStatus();
    void offlineNoteWhenKnown_data();
    void offlineNoteWhenKnown();
    void waitingLineNotSentWhenConnectionLost();
    void alertsWhileTyping();
    void timestampsFromTheTrayMenu();
    void smileysSwitch();
    void creditsTab();

    // rooms and logout (tst_conversations_chat.cpp)
    void joinChat_data();
    void joinChat();
    void joinedChatNamesTab_data();
    void joinedChatNamesTab();
    void alreadyInThisChat();
    void chatEventsRoutedById_data();
    void chatEventsRoutedById();
    void leaveChatClosesTab();
    void logoutResetsViews();
    void chatInvitation_data();
    void chatInvitation();
    void inviteBuddyToChat();

    // the conversation history (tst_conversations_history.cpp)
    void historyKeepsWhatTheWindowShows();
    void unusableHistoryIsSaid();

  private:
    // The server sends a line; returns once the window has handled it.
    bool receive(const QString &line);
    bool receiveIM(const QString &sender, const QString &message);
    // Lines the client sent, up to a marker line sent after them: anything
    // the client would have sent is on the wire before the marker.
    QStringList linesSent();
    // Joins the room with the given id as the server reports it.
    ctlChat *joined(const QString &room, qint32 id);
    // The keys of the tabs, first to last.
    QStringList tabKeys() const;

    std::unique_ptr<GuiRig> rig;
};

// What a view's transcript shows.
QString transcriptOf(const QWidget *view);
