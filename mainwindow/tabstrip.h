#pragma once
// The window's tab strip `Tab1`. A conversation's tab carries its
// conversation's key (a person, or a room by its view), never found by
// what it shows; what it shows is the caption escaped (a '&' is not a
// mnemonic, controls do not show), and a room's tab carries the room mark,
// so a room never looks like a person. The fixed tabs ("Settings",
// "Credits") carry a mark of their own, so a partner who happens to be
// called "Settings" gets a conversation like anyone else and can never take
// the real tab's place. A tab with a message not yet seen shows in the
// highlight colour until it is selected.

#include "conversationkey.h"

#include <QIcon>
#include <QTabBar>
#include <functional>

class QAction;
class QMenu;

class TabStrip : public QTabBar {
    Q_OBJECT

  public:
    enum class Fixed { Settings = 1, Credits = 2 };

    explicit TabStrip(QWidget *parent = nullptr);

    // Appends a conversation's tab.
    int addConversation(const ConversationKey &key);
    int addFixed(Fixed tab);
    bool isFixed(int index, Fixed tab) const;
    int fixedIndex(Fixed tab) const;
    void removeFixed(Fixed tab);
    bool isConversation(int index, const ConversationKey &key) const;
    // The index of a conversation's tab, or -1.
    int conversationIndex(const ConversationKey &key) const;
    void removeConversation(const ConversationKey &key);
    // The conversation of a tab (a null key for the fixed tabs and -1).
    ConversationKey key(int index) const;
    // A conversation's caption, or the fixed tab's name.
    QString caption(int index) const;
    // What the tab shows, as text (a person's alias, a room's caption).
    QString shownText(int index) const;
    QString selectedCaption() const;

    // Highlights a conversation's tab unless it is selected; true when a
    // tab changed its colour.
    bool markUnseen(const ConversationKey &key);
    void markSeen(int index);

    // Selects the next (+1) or previous (-1) tab, going round.
    void step(int by);

    // What a person's tab shows (an alias, or the name escaped); set by the
    // window. refreshCaptions() applies it again.
    std::function<QString(const QString &)> shownAs;
    void refreshCaptions();

    // The menu of a conversation's tab (and of "Credits"): "Close", or
    // "Leave" for a room.
    QMenu *tabMenu() const { return m_menu; }

  signals:
    // "Close" / "Leave" in a tab's menu.
    void closeRequested(int index);

  protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    int appendTab(const QString &shown, const QVariant &key);
    QString shownCaption(const ConversationKey &key) const;
    QIcon roomMark() const;

    mutable QIcon m_roomMark;
    QMenu *m_menu = nullptr;
    QAction *m_close = nullptr;
    QVariant m_menuTab; // the key of the tab the menu is open for
};
