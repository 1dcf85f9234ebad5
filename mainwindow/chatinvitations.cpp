#include "chatinvitations.h"

#include "client/conversations.h"
#include "conversationviews.h"
#include "protocol/qeltocsock.h"
#include "uikit/dialogprovider.h"
#include "uikit/dialogtext.h"
#include "uikit/shownname.h"
#include "views/ctlchat.h"
#include "views/messagescan.h"

#include <QPointer>
#include <QWidget>

namespace {
// A server could send invitations without end; those beyond wait nowhere.
constexpr int kMaxWaitingInvites = 20;

// Names as a question shows them: neutralised and cut.
QString shownRoom(const QString &room) {
    return shown::nameInText(dialogtext::cut(room, dialogtext::kMaxRoom));
}
QString shownPerson(const QString &name) {
    return shown::nameInText(dialogtext::cut(name, dialogtext::kMaxName));
}
} // namespace

ChatInvitations::ChatInvitations(const PageKit &kit, ConversationViews *views, QWidget *parent)
    : QObject(parent), m_kit(kit), m_views(views), m_parent(parent) {
    connect(kit.toc, &QelTOCSock::ChatInvite, this, &ChatInvitations::toc_ChatInvite);
    // Runs after the window's own handler: only an opened room counts.
    connect(kit.toc, &QelTOCSock::JoinedChat, this, [this](const QString &, qint32 lngChatID) {
        if (m_views->roomViewOf(lngChatID))
            m_lastJoinedRoom = lngChatID;
    });
}

void ChatInvitations::toc_ChatInvite(const QString &strChatName, qint32 lngChatID,
                                     const QString &strFromUser, const QString &strInviteMessage) {
    // The id is this connection's own: a room open under it is joined already.
    if (m_views->roomViewOf(lngChatID) || m_invites.size() >= kMaxWaitingInvites)
        return;
    for (const Invite &waiting : std::as_const(m_invites))
        if (waiting.id == lngChatID && waiting.from == strFromUser)
            return;
    m_invites.append({strChatName, lngChatID, strFromUser, strInviteMessage, m_sessions});
    if (m_invites.size() == 1)
        askInvitation();
}

// One question at a time, the oldest invitation first.
void ChatInvitations::askInvitation() {
    const Invite &invite = m_invites.constFirst();
    // The invitation text is HTML: shown as the transcript reads it, as text.
    const QString message =
        dialogtext::cut(render::plainText(invite.message), dialogtext::kMaxMessage);
    QString text = QStringLiteral("%1 invites you to the chat room %2.")
                       .arg(shownPerson(invite.from), shownRoom(invite.room));
    if (!message.trimmed().isEmpty())
        text += QStringLiteral("\n\n") + shown::line(message);
    QPointer<ChatInvitations> self(this);
    m_kit.dialogs()->choose(
        m_parent, QStringLiteral("Chat Invitation"), text, QStringLiteral("Join"),
        QStringLiteral("Decline"), [self](DialogProvider::Answer a) {
            if (!self || self->m_invites.isEmpty())
                return;
            const Invite invite = self->m_invites.takeFirst();
            // An id of an earlier session means nothing now.
            if (a == DialogProvider::Answer::Yes && invite.session == self->m_sessions) {
                // Named by the invitation should the server answer "???";
                // its tab comes forward once joined.
                self->m_views->conversations()->awaitRoom(invite.room);
                if (!self->m_kit.toc->AcceptChatInvite(invite.id))
                    self->m_kit.notSent();
            }
            // Declining sends nothing: servers have no command for it.
            if (!self->m_invites.isEmpty())
                self->askInvitation();
        });
}

// The room joined last, or else any open room.
ctlChat *ChatInvitations::inviteRoom() const {
    if (ctlChat *last = m_lastJoinedRoom ? m_views->roomViewOf(*m_lastJoinedRoom) : nullptr)
        return last;
    return m_views->anyRoom();
}

void ChatInvitations::invite(const QString &buddy) {
    const ctlChat *room = inviteRoom();
    if (!room) {
        m_kit.Errors(
            QStringLiteral("Join a chat room first: the invitation is to a room you are in."));
        return;
    }
    bool ok = false;
    const qint32 id = room->Chatid2.toInt(&ok);
    if (!ok)
        return;
    const QString name = room->roomName();
    QPointer<ChatInvitations> self(this);
    m_kit.dialogs()->inputText(m_parent, QStringLiteral("Invite To Chat"),
                               QStringLiteral("Invite %1 to %2 with the message:")
                                   .arg(shownPerson(buddy), shownRoom(name)),
                               QStringLiteral("Join me in this chat room."),
                               [self, buddy, id](const QString &text) {
                                   // Cancelled, or the room was left meanwhile.
                                   if (!self || text.isEmpty() || !self->m_views->roomViewOf(id))
                                       return;
                                   if (!self->m_kit.toc->InviteUsers(QString(), text, buddy, id))
                                       self->m_kit.notSent();
                               });
}
