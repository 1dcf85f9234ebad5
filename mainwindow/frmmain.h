#pragma once
// The main window: the tab strip with the settings panel and the
// conversation panels, the login frame, the buddy-list tree, the alert
// routine and the tray icon. It owns the protocol control `toc`.
//
// The class is split over several files by concern:
//   frmmain.cpp            construction, ownership, tray, closing, ViewHost
//   frmmain_layout.cpp     widgets, places, colours and fonts
//   frmmain_login.cpp      Login, the status line, Errors, Logout/logout
//   frmmain_tabs.cpp       the tab strip: Tab1_Click, hider, CloseTab, ...
//   frmmain_buddylist.cpp  LoggedIn, BuddyUpdate, BuddyAdd, ...
//   frmmain_buddymenus.cpp the tree click, "Options", "Remove Item", menus
//   frmmain_hooks.cpp      the conversation views and settings pages hooks
//   frmmain_privacy.cpp    the "privacy" page: block and allow lists, modes
//   frmmain_away.cpp       the "away" and "profile" pages, the away strip, "format"
//   frmmain_font.cpp       the "font" page, view refreshes, the colour scheme
//   frmmain_conversations.cpp  the view lists, routing, KillIM, ExitChat
//   frmmain_chatim.cpp     the "chat/im" page: "Join Chat", "Send IM"
//   frmmain_credits.cpp    the credits tab and panel
//   frmmain_history.cpp    the conversation history and its window

#include "client/awaystate.h"
#include "client/conversations.h"
#include "client/knownbuddies.h"
#include "client/notifyrules.h"
#include "views/viewhost.h"

#include <QColor>
#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <memory>
#include <optional>

class BoxChain;
class ClientSettings;
struct FormatChoice;
class BuddyBook;
class PrivacyState;
class BuddyTree;
class ClickField;
class AnimatedPicture;
class ClickLabel;
class DialogProvider;
class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTabWidget;
class QTreeWidgetItem;
class QelTOCSock;
class ctlChat;
class ctlIM;
class frmAddBuddy;
class frmErr;
class frmGroups;
class frmProfile;
class PasswordStore;
class ProfileFetch;
class mdlTray;
class HistoryStore;
struct ColourScheme;

class frmMain : public QWidget, public ViewHost {
    Q_OBJECT

  public:
    static const QString kCaption;        // "Vorkle 2.0.2"
    static const QString kDefaultServer;  // txtServer's default
    static const QString kAuthServer;     // AuthServer passed by "Login"
    static const QString kDefaultProfile; // the profile sent at sign-on
    static const QString kOffline;        // "offline..."
    // A server could open conversations without end (IMs from ever new
    // names, rooms joined one after another): past these counts new ones
    // are refused with an alert, so that memory and the tab strip stay
    // bounded. Closed conversations do not count.
    static constexpr int kMaxOpenIMs = Conversations::kMaxOpenIMs;
    static constexpr int kMaxOpenRooms = Conversations::kMaxOpenRooms;

    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // A new window holds what its first paint shows; the pages, menus,
    // conversation templates, protocol handlers and tray icon follow right
    // after that paint (or at the first pass of the event loop when the
    // window is not shown, or at "Login"). Callers that need the whole
    // window at once call finishBuilding() themselves; it runs only once.
    void finishBuilding();
    bool isFullyBuilt() const;

    // --- the protocol control and the dialog seam ---
    QelTOCSock *toc = nullptr;
    // Not owned; nullptr restores the real Qt dialogs.
    void setDialogProvider(DialogProvider *provider);

    // --- the client's state, kept apart from the widgets ---
    BuddyBook *const book;
    PrivacyState *const privacy;
    Conversations conversations;
    AwayState away;

    // --- window variables ---
    QString fontColorx = QStringLiteral("0");
    QString backColorx = QStringLiteral("16777215");
    QStringList &groups;      // the buddy book's groups
    KnownBuddies &BuddyListx; // the buddy book's known buddies
    QList<QIcon> ImageList1;  // images 1..4 at positions 0..3

    // The two view lists; index 0 of each is a hidden template that never
    // carries a conversation. Views stay in their list until the window goes.
    QList<ctlIM *> imViews;
    QList<ctlChat *> chatViews;

    // --- operations used by other parts ---
    void Errors(const QString &text) override;
    void Tab1_Click();
    void TabUpdate() override;
    void hider();
    void logout();
    bool isTab(const QString &caption) const;
    void CloseTab(const QString &caption) override;
    // Appends a tab; a '&' in the caption shows literally. The caption is
    // kept as the tab's key.
    int addTab(const QString &caption);
    enum class FixedTab { Settings = 1, Credits = 2 };
    int addFixedTab(FixedTab tab);
    bool isFixedTab(int index, FixedTab tab) const;
    int fixedTabIndex(FixedTab tab) const;
    void closeFixedTab(FixedTab tab);
    bool isConversationTab(int index, const QString &caption) const;
    QString tabCaption(int index) const;
    QString selectedTabCaption() const;

    bool BuddyAdd(const QString &buddy, const QString &Group, const QString &UserClass,
                  const QString &idle);
    // The image BuddyAdd chooses: 2 idle, 4 mobile, 3 away, else 1.
    static int buddyImage(const QString &UserClass, const QString &idle);
    // The buddy-list tree's group test: normalised text among `groups`.
    bool isGroup(const QString &text) const;
    // A keyless top-level node, as the add-group dialog adds it.
    void addGroupNode(const QString &group);

    void showAddBuddyDialog();
    void showAddGroupDialog();
    void showMe_Click();

    frmErr *alertWindow() const;
    frmAddBuddy *addBuddyDialog() const;
    frmGroups *addGroupDialog() const;
    mdlTray *tray() const { return m_tray; }

    // --- ViewHost ---
    QelTOCSock *tocControl() override { return toc; }
    DialogProvider *dialogs() override;
    FormatSettings formatSettings() const override;
    QString ownScreenName() const override;
    QString iconHost() const override;
    void blockFromView(const QString &name) override;
    void showAddBuddy() override { showAddBuddyDialog(); }
    void keepLine(const HistoryLine &line) override;

    // --- widgets, named as their objectName ---
    QTabBar *Tab1 = nullptr;
    QWidget *PicLogin = nullptr;
    QWidget *PicIM = nullptr;
    QWidget *PicChat = nullptr;
    QWidget *PicCredits = nullptr;
    QWidget *PicAway = nullptr;

    QFrame *frmLogin = nullptr;
    QLabel *labFrm = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtSn = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtPw = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtServer = nullptr;
    QLineEdit *txtPort = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *cmdLogin = nullptr;
    QLabel *labStat = nullptr;
    QCheckBox *chkRemember = nullptr; // "Remember password"

    QLabel *labHI = nullptr;
    ClickLabel *Label24 = nullptr; // "format"
    ClickLabel *Label6 = nullptr;  // "Logout"
    QPushButton *Command4 = nullptr;
    QLabel *Label23 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command8 = nullptr;
    AnimatedPicture *Image1 = nullptr;

    QTabWidget *tab2 = nullptr;
    QWidget *pagePrivacy = nullptr;
    QWidget *pageAway = nullptr;
    QWidget *pageProfile = nullptr;
    QWidget *pageChatIM = nullptr;
    QWidget *pageFont = nullptr;
    QWidget *pageBL = nullptr;
    BuddyTree *TreeBL = nullptr;
    QPushButton *Command6 = nullptr;

    QMenu *mnuBL = nullptr;
    QAction *bdyAdd = nullptr;
    QAction *rembdy = nullptr;
    QAction *addgrp = nullptr;
    QMenu *blClick = nullptr;
    QAction *mnuIM = nullptr;
    QAction *mnuProfile = nullptr;
    QAction *mnuAl = nullptr;
    QAction *mnuInvite = nullptr;
    QAction *mnublock = nullptr;
    QAction *mnuCopy = nullptr;
    QMenu *opt = nullptr;
    QAction *showMe = nullptr;
    QAction *mnuNotify = nullptr;      // "Notify on new IMs"
    QAction *mnuHistory = nullptr;     // "Keep conversation history"
    QAction *mnuViewHistory = nullptr; // "View History" in the buddy menu
    // The conversation history (benchmarks wait for its writes).
    HistoryStore *history() const { return m_history; }

    // --- settings pages: privacy, away and profile, font and colour
    //     scheme (frmmain_privacy.cpp, frmmain_away.cpp, frmmain_font.cpp) ---
    static constexpr int kPrivacyOptions = 5;
    QRadioButton *optPrivacy[kPrivacyOptions] = {}; // "Allow All" .. "Buddy List"
    QLabel *Label4 = nullptr;                       // "Block List"
    QListWidget *lstBlock = nullptr;
    QLineEdit *txtBlockuser = nullptr;
    QPushButton *cmdAddBlock = nullptr;
    QLabel *Label5 = nullptr; // "Allow List"
    QListWidget *lstAllow = nullptr;
    QLineEdit *txtAllowUser = nullptr;
    QPushButton *CmdAddAllow = nullptr;
    // Sends mode Index + 1; runs for clicks and for click() alike.
    void optPrivacy_Click(int Index);
    void CmdAddAllow_Click();
    void cmdAddBlock_Click();

    QLabel *Label20 = nullptr; // "Away Messages"
    QListWidget *lstAway = nullptr;
    QPlainTextEdit *txtAway = nullptr;
    QCheckBox *chkSaveAway = nullptr;
    QPushButton *Command3 = nullptr; // "Set Away"
    QPlainTextEdit *txtProfile = nullptr;
    QPushButton *Command9 = nullptr; // "Set Profile"
    QLabel *Label21 = nullptr;       // in PicAway
    QLabel *labAwayMsgs = nullptr;
    QLabel *Label22 = nullptr;
    QCheckBox *chkNoIm = nullptr;
    QCheckBox *chkAuto = nullptr;
    QCheckBox *chkAutoWarn = nullptr;
    QPushButton *Command7 = nullptr; // "I'm Back"
    // The away state: the enlarged window showing PicAway.
    bool isAway() const;

    QLabel *Label18 = nullptr;
    ClickField *txtFont = nullptr;
    QLabel *Label17 = nullptr;
    ClickField *txtColor = nullptr;
    QLabel *Label19 = nullptr;
    ClickField *txtBackColor = nullptr;
    QCheckBox *chkBold = nullptr;
    QCheckBox *chkIt = nullptr;
    QCheckBox *chkU = nullptr;
    QCheckBox *ChkS = nullptr;
    // UpdateFonts on every chat view, then every IM view, templates included.
    void refreshAllViews();
    void refreshChatViews();
    // The fore colour (a decimal colour text) of the settings texts.
    void SetColors(const QString &color);
    QColor schemeColor() const;

    // --- conversations: the "chat/im" page, the views' events and the
    //     credits panel ---
    // An IM view closed its conversation / a chat view left its room.
    void KillIM(int index);
    void ExitChat(int index);
    QLineEdit *txtChatName = nullptr;
    QLineEdit *txtEx = nullptr;
    QPushButton *cmdChat = nullptr;
    QLineEdit *txtIM = nullptr;
    QPushButton *cmdIM = nullptr;
    ClickLabel *Label16 = nullptr; // "Close Tab" on the credits panel

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

  private:
    int appendTab(const QString &caption, const QVariant &key);

    // layout
    void buildWindow();
    void buildPanels();
    void buildLoginFrame();
    void buildSettingsPanel();
    void buildPages();
    void buildMenus();
    void loadImages();
    void connectProtocol();
    void startTray();
    void startLogo();
    void showAddedWidgets();
    void finishBuildingUnlessPainting();
    static constexpr int kFirstPaintWaitMs = 250;
    bool m_built = false;   // finishBuilding() has run
    bool m_painted = false; // the first paint has happened

    // login and status
    void cmdLogin_Click();
    void Label6_Click();
    void toc_IncomingPacket(const QByteArray &strPacket);
    void toc_Error(qint16 intErrorCode, const QString &strError);
    void toc_LoggedOut(const QString &strUserName);
    void toc_ScreennameFormat(const QString &strFormattedSN);
    void toc_WinsockError(const QString &strError);
    void toc_Disconnected();

    // buddy list
    void toc_LoggedIn(const QString &strUserName, const QStringList &BuddyList,
                      const QStringList &BlockList, const QStringList &PrivateList,
                      const QStringList &MiscData, const QString &strPreferences,
                      qint16 PrivacyMode);
    void toc_BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16 intWarningLevel,
                         qint32 lngOnlineTime, qint32 lngIdleTime, const QString &strUserClass);
    void toc_BuddyAdded(const QString &strGroup, const QString &strBuddy, const QString &strAlias);
    void toc_GroupRemoved(const QString &strGroup);
    void TreeBL_Click();
    void Command6_Click();
    void rembdy_Click();
    void mnuIM_Click();
    void mnublock_Click();
    QTreeWidgetItem *selectedNode() const;
    // The selected node's text; with none, the alert and the empty text.
    QString selectedNodeText();

    // hooks for the conversation views and the settings pages
    void hideViews();
    void showViewsFor(const QString &caption);
    void resetViewsOnLogout();
    void clearPrivacyLists();
    void fillPrivacyLists(const QStringList &BlockList, const QStringList &PrivateList,
                          qint16 PrivacyMode);
    void showPrivacyMode(qint16 mode);
    // The alert for a command that could not be sent.
    void notSent();
    // The open conversation's view of a person / of a room, or nullptr.
    ctlIM *imViewOf(const QString &partner) const;
    bool inRoom(const QString &room) const;
    ctlChat *roomViewOf(qint32 chatId) const;
    ctlIM *openIMView(const QString &partner);
    // Selects a conversation's tab, adding the tab when it has none.
    void selectTab(const QString &caption);
    QString profileText() const;
    void sendProfile();
    void openIM(const QString &name);
    // Away handling of incoming IMs: whether a new conversation's tab is
    // held back until "I'm Back", and the away steps run for each IM.
    bool holdNewIMTabs() const;
    void awayIncomingIM(const QString &sender);

    // settings pages: privacy, away and profile, font and colour scheme
    void buildPrivacyPage();
    void buildAwayPages();
    void buildAwayStrip();
    void buildFontPage();
    void setAwayHeight(bool enlarged);
    void lstAway_Click();
    void Command3_Click(); // "Set Away"
    void Command7_Click(); // "I'm Back"
    void Command9_Click(); // "Set Profile"
    void Label24_Click();  // "format"
    void txtFont_Click();
    void txtColor_Click();
    void txtBackColor_Click();
    void Command4_Click(); // "Change Colors"
    void Command5_Click(); // "Save"
    void Command8_Click(); // "Load"
    void applyColourScheme(const ColourScheme &scheme);
    void applyFormat(const FormatChoice &format);

    // remembered between runs (frmmain_remember.cpp)
    void restoreSignOn();
    void restoreChoices();
    void rememberSignOn();
    void rememberFormat();
    void rememberAwayMessages();
    void rememberPlace();
    void startPasswordStore();
    void rememberPassword();
    PasswordStore *m_passwords = nullptr;
    std::unique_ptr<ClientSettings> m_settings;
    QColor m_schemeColor; // the colour of the settings texts

    // conversations: views, routing, the "chat/im" page, credits
    void buildConversations();
    void buildChatIMPage();
    void buildCredits();
    void connectConversations();
    ctlIM *newIMView();
    ctlChat *newChatView();
    void cmdIM_Click();
    void cmdChat_Click();
    void Image1_Click();
    void Label16_Click();
    void toc_InstantMessage(const QString &strUserName, const QString &strMessage,
                            bool blnAutoResponse, const QString &strUserClass);
    void toc_TypingStatus(const QString &strUserName, qint16 intTypingStatus);
    void toc_JoinedChat(const QString &strChatName, qint32 lngChatID);
    void toc_ChatMessage(qint32 lngChatID, const QString &strUserName, const QString &strMessage);
    void toc_ChatUserUpdate(const QString &strUserName, bool blnInside, qint32 lngChatID);
    void toc_ChatLeft(qint32 lngChatID);
    QString m_lastRoom; // the last room name requested with "Join Chat"

    // notifications of messages that arrive out of sight
    void buildNotifications();
    bool isOnScreen(const QString &caption) const;
    void messageOutOfSight(const QString &caption, const QString &from, const QString &message,
                           bool held);
    void markTabSeen(int index);
    NotifyRules m_notify;
    QElapsedTimer m_clock;

    // chat invitations, received and sent
    void connectInvitations();
    void toc_ChatInvite(const QString &strChatName, qint32 lngChatID, const QString &strFromUser,
                        const QString &strInviteMessage);
    void askInvitation();
    ctlChat *inviteRoom() const;
    void mnuInvite_Click();
    struct Invite {
        QString room;
        qint32 id = 0;
        QString from;
        QString message;
        int session = 0; // the sign-on it came in
    };
    QList<Invite> m_invites; // waiting for an answer, the first one asked
    std::optional<qint32> m_lastJoinedRoom;

    // the conversation history (frmmain_history.cpp)
    void buildHistory();
    void startHistory(const QString &screenName);
    void stopHistory();
    void keepIncomingIM(const QString &sender, const QString &message, bool autoResponse);
    void mnuViewHistory_Click();
    HistoryStore *m_history = nullptr;
    QString m_historyName; // the screen name of the last sign-on

    // profiles, warnings and other sessions' list changes
    void connectServerEvents();
    frmProfile *profileWindow();
    void toc_Warned(const QString &intWarningLevel, const QString &strFromUser);
    // The settings header: the user's name followed by `rest`, a status
    // that must stay readable or the configuration text.
    void showHeader(const QString &rest, bool status = false);
    // A session lost while signed on.
    void showOffline();
    QString m_headerName; // the name the header starts with
    void toc_GroupAdded(const QString &strGroup);
    void toc_BuddyRemoved(const QString &strGroup, const QString &strBuddy);
    void rememberAddedBuddy(const QString &group, const QString &buddy);
    ProfileFetch *m_profileFetch = nullptr;
    std::unique_ptr<frmProfile> m_profile;

    // The boxes of BuddyAdded and of GroupRemoved: one open box per kind.
    BoxChain *m_buddyAddedBoxes = nullptr;
    BoxChain *m_groupRemovedBoxes = nullptr;

    std::unique_ptr<DialogProvider> m_ownDialogs;
    DialogProvider *m_dialogs = nullptr;
    // Separate windows (a disabled parent would disable them): owned here.
    std::unique_ptr<frmErr> m_err;
    QPointer<frmAddBuddy> m_addBuddy;
    QPointer<frmGroups> m_addGroup;
    mdlTray *m_tray = nullptr;
    bool m_signedOn = false; // LoggedIn seen on the current connection
    int m_sessions = 0;      // LoggedIn events seen
};
