#pragma once
// The conversation views: one IM view per partner in the IM panel and one
// room view per room in the chat panel, each list with a hidden template
// at index 0 that never carries a conversation. A closed view is freed and
// its slot reused: memory follows the open conversations, not the history
// of the session. Views fill their panel and grow with it. The views' lines
// go out through one outbox.

#include "conversationkey.h"

#include <QList>
#include <QObject>
#include <QString>
#include <utility>

class Conversations;
class Outbox;
class QWidget;
class ViewHost;
class ctlChat;
class ctlIM;

class ConversationViews : public QObject {
    Q_OBJECT

  public:
    // The lists are the window's; the views fill the two panels.
    ConversationViews(ViewHost *host, Conversations *conversations, QList<ctlIM *> &ims,
                      QList<ctlChat *> &chats, QWidget *imPanel, QWidget *chatPanel,
                      QObject *parent);

    QList<ctlIM *> &imViews;
    QList<ctlChat *> &chatViews;
    // The way out of the views' lines, paced, and who appears online.
    Outbox *const outbox;

    // A new, hidden view for a conversation with the partner.
    ctlIM *openIM(const QString &partner);
    // A new, hidden view for a room, under its caption (name and ".").
    ctlChat *openRoom(const QString &room, qint32 chatId);
    // The user closed the conversation / left the room: the view goes. A
    // room's key is returned.
    void closeIM(int index);
    ConversationKey closeRoom(int index);
    // Signing off ends every conversation (the templates stay).
    void closeAll();
    // The connection ended: the conversations stay, the rooms without
    // members or id until joined again (rejoined).
    void connectionLost();
    void rejoined(int view, qint32 chatId);
    // A line of the client's own in every open conversation / in a room.
    void noteAll(const QString &text);
    void noteRoom(int view, const QString &text);

    // The open conversation's view of a person / of a room, or nullptr.
    ctlIM *imViewOf(const QString &partner) const;
    ctlChat *roomViewOf(qint32 chatId) const;
    Conversations *conversations() const { return m_conversations; }
    // Some open room, or nullptr.
    ctlChat *anyRoom() const;

    static ConversationKey keyOf(const ctlIM *view);
    static ConversationKey keyOf(const ctlChat *view);
    // The open conversation's view, or nullptr.
    QWidget *viewFor(const ConversationKey &key) const;

    void hideAll();
    // Shows the conversation's view with its panel; the view, or nullptr.
    QWidget *showFor(const ConversationKey &key);

    // "[hh:mm]" before the lines every view shows from now on, or not.
    void setTimestamps(bool on);
    // Text smileys in the lines every view shows from now on as emoji, or
    // as typed.
    void setSmileys(bool on);

    // UpdateFonts on every chat view, then every IM view, templates included.
    void refreshAll();
    void refreshRooms();

  signals:
    // A view's own "Close" / "Leave Chat".
    void KillIM(int index);
    void ExitChat(int index);
    // An IM view's input box changed.
    void typed(const QString &partner, bool hasText);

  private:
    ctlIM *newIMView();
    ctlChat *newChatView();
    void fillPanel(QWidget *view);
    // Calls `apply` on every IM and room view, templates included.
    template <typename Apply> void forEveryView(Apply apply) {
        for (ctlIM *view : std::as_const(imViews))
            if (view)
                apply(view);
        for (ctlChat *view : std::as_const(chatViews))
            if (view)
                apply(view);
    }

    ViewHost *m_host;
    Conversations *m_conversations;
    QWidget *m_imPanel;
    QWidget *m_chatPanel;
    bool m_timestamps = false;
    bool m_smileys = true;
};
