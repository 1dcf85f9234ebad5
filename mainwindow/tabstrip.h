#pragma once
// The window's tab strip `Tab1`. A conversation's tab carries its caption
// as its key; what it shows is the caption escaped (a '&' is not a
// mnemonic, controls do not show). The fixed tabs ("Settings", "Credits")
// carry a mark of their own instead of a caption key, so a partner who
// happens to be called "Settings" gets a conversation like anyone else and
// can never take the real tab's place. A tab with a message not yet seen
// shows in the highlight colour until it is selected.

#include <QTabBar>
#include <functional>

class TabStrip : public QTabBar {
    Q_OBJECT

  public:
    enum class Fixed { Settings = 1, Credits = 2 };

    explicit TabStrip(QWidget *parent = nullptr);

    // Appends a conversation's tab; its caption is kept as its key.
    int addCaption(const QString &caption);
    int addFixed(Fixed tab);
    bool isFixed(int index, Fixed tab) const;
    int fixedIndex(Fixed tab) const;
    void removeFixed(Fixed tab);
    bool isConversation(int index, const QString &caption) const;
    // The index of a conversation's tab, or -1.
    int conversationIndex(const QString &caption) const;
    void removeConversation(const QString &caption);
    // The key of a tab: a conversation's caption, or the fixed tab's name.
    QString caption(int index) const;
    QString selectedCaption() const;

    // Highlights a conversation's tab unless it is selected; true when a
    // tab changed its colour.
    bool markUnseen(const QString &caption);
    void markSeen(int index);

    // Selects the next (+1) or previous (-1) tab, going round.
    void step(int by);

    // What a conversation's tab shows for its caption (an alias, or the
    // name escaped); set by the window. refreshCaptions() applies it again.
    std::function<QString(const QString &)> shownAs;
    void refreshCaptions();

  private:
    int appendTab(const QString &shown, const QVariant &key);
    QString shownCaption(const QString &caption) const;
};
