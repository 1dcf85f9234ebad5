#pragma once
// Chat invitations: an invitation received is offered to the user with
// Join and Decline, one question at a time; "Invite To Chat" invites a
// buddy to the room joined last.

#include "pages/pagekit.h"

#include <QList>
#include <QObject>
#include <optional>

class ConversationViews;
class QWidget;
class ctlChat;

class ChatInvitations : public QObject {
    Q_OBJECT

  public:
    ChatInvitations(const PageKit &kit, ConversationViews *views, QWidget *parent);

    // A new sign-on: invitations of an earlier one mean nothing now.
    void signedOn() { ++m_sessions; }
    // "Invite To Chat" for a buddy.
    void invite(const QString &buddy);

  private:
    void toc_ChatInvite(const QString &strChatName, qint32 lngChatID, const QString &strFromUser,
                        const QString &strInviteMessage);
    void askInvitation();
    ctlChat *inviteRoom() const;
    void sendInvitation(const QString &buddy, qint32 id, const QString &typed);

    struct Invite {
        QString room;
        qint32 id = 0;
        QString from;
        QString message;
        int session = 0; // the sign-on it came in
    };
    PageKit m_kit;
    ConversationViews *m_views;
    QWidget *m_parent;
    QList<Invite> m_invites; // waiting for an answer, the first one asked
    std::optional<qint32> m_lastJoinedRoom;
    int m_sessions = 0;
};
