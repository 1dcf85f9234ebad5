#pragma once
// The main window: the tab strip `Tab1` over its panels and the away strip, routing between the
// protocol control, the pages and the conversations, the tray and the alert. Pages and views own
// their widgets; the named routines delegate. frmmain.cpp: construction, ViewHost; _session:
// sign-on and off; _routing: panels and conversations; _window: size, keys.

#include "client/awaystate.h"
#include "client/conversations.h"
#include "client/knownbuddies.h"
#include "tabstrip.h"
#include "views/viewhost.h"

#include <QWidget>
#include <memory>

struct PageKit;
class AwayStrip;
class BuddyBook;
class ChatInvitations;
class ClientSettings;
class SpellChecker;
class ConversationHistory;
class ConversationViews;
class CreditsPanel;
class HistoryStore;
class MessageAlerts;
class PrivacyState;
class ProfileFetch;
class QAction;
class QMenu;
class QelTOCSock;
class Session;
class SettingsPanel;
class TypingWatch;
class ctlChat;
class ctlIM;
class frmErr;
class frmProfile;
class mdlTray;

class frmMain : public QWidget, public ViewHost {
    Q_OBJECT

  public:
    static const QString kCaption, kOffline; // "Vorkle 2.0.2", "offline..."
    // Past these counts new conversations are refused with an alert.
    static constexpr int kMaxOpenIMs = Conversations::kMaxOpenIMs;
    static constexpr int kMaxOpenRooms = Conversations::kMaxOpenRooms;

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // A new window holds what its first paint shows; the pages, menus,
    // views and tray follow right after that paint (or at the first pass
    // of the event loop when not shown, or at "Login"). It runs only once.
    void finishBuilding();
    bool isFullyBuilt() const { return m_built; }

    QelTOCSock *toc = nullptr;
    Session *const session; // signs on, and again after a lost connection
    // Not owned; nullptr restores the real Qt dialogs.
    void setDialogProvider(DialogProvider *provider);

    BuddyBook *const book;
    PrivacyState *const privacy;
    Conversations conversations;
    AwayState away;
    QStringList &groups;      // the buddy book's groups
    KnownBuddies &BuddyListx; // the buddy book's known buddies
    // Index 0 of each is a hidden template that never carries a conversation.
    QList<ctlIM *> imViews;
    QList<ctlChat *> chatViews;

    void Errors(const QString &text) override;
    void Tab1_Click();
    void showTitle();
    void TabUpdate() override { Tab1_Click(); }
    void hider();
    void logout();
    bool isTab(const QString &partner) const;
    void CloseTab(const QString &partner) override;
    int addTab(const QString &partner);
    QString tabCaption(int index) const { return Tab1->caption(index); }
    QString selectedTabCaption() const { return Tab1->selectedCaption(); }
    void KillIM(int index);
    void ExitChat(int index);
    void showMe_Click();
    bool isAway() const { return away.isAway(); }
    frmErr *alertWindow() const { return m_err.get(); }
    mdlTray *tray() const { return m_tray; }
    HistoryStore *history() const;

    QelTOCSock *tocControl() override { return toc; }
    DialogProvider *dialogs() override { return m_dialogs; }
    FormatSettings formatSettings() const override;
    QString ownScreenName() const override;
    QString iconHost() const override;
    void blockFromView(const QString &name) override;
    void showAddBuddy() override;
    void openIMFromView(const QString &name) override;
    void profileFromView(const QString &name) override;
    void keepLine(const HistoryLine &line) override;
    QString shownName(const QString &name) const override;
    Outbox *outbox() override;
    SpellChecker *spellChecker() override { return m_spell; }

    TabStrip *Tab1 = nullptr;
    SettingsPanel *PicLogin = nullptr;
    QWidget *PicIM = nullptr;
    QWidget *PicChat = nullptr;
    CreditsPanel *PicCredits = nullptr;
    AwayStrip *PicAway = nullptr;
    QMenu *opt = nullptr; // the tray's menu
    QAction *showMe = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    PageKit kit();
    void connectProtocol();
    void connectPages();
    void buildShortcuts();
    void bindOptions();
    void layoutPanels();
    void setAwayHeight(bool enlarged);
    void restorePlace();
    void rememberPlace();

    void cmdLogin_Click();
    void toc_Disconnected(const QString &why);
    void toc_LoggedIn(const QString &strUserName, const QStringList &BuddyList,
                      const QStringList &BlockList, const QStringList &PrivateList,
                      qint16 PrivacyMode);

    void toc_InstantMessage(const QString &strUserName, const QString &strMessage,
                            bool blnAutoResponse, const QString &strUserClass);
    void toc_JoinedChat(const QString &strChatName, qint32 lngChatID);
    void toc_ChatMessage(qint32 lngChatID, const QString &strUserName, const QString &strMessage);
    void openIM(const QString &name);

    std::unique_ptr<ClientSettings> m_settings;
    std::unique_ptr<DialogProvider> m_ownDialogs;
    SpellChecker *m_spell = nullptr;
    DialogProvider *m_dialogs = nullptr;
    std::unique_ptr<frmErr> m_err;
    std::unique_ptr<frmProfile> m_profile;
    mdlTray *m_tray = nullptr;
    ConversationViews *m_views = nullptr;
    MessageAlerts *m_alerts = nullptr;
    ConversationHistory *m_history = nullptr;
    ChatInvitations *m_invitations = nullptr;
    ProfileFetch *m_profileFetch = nullptr; // fetches the profiles the user asks for
    TypingWatch *m_typing = nullptr;        // whether the user is typing, for alerts
    bool m_built = false;                   // finishBuilding() has run
    bool m_painted = false;                 // the first paint has happened
    bool m_awayShown = false;               // the away strip enlarges the window
};
