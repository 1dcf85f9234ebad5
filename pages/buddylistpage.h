#pragma once
// The "B/L" page: the buddy-list tree and "Options". The tree is built at
// sign-on from the configuration, then follows the buddies' sign-on and
// sign-off updates and the list changes of the account's other sessions.

#include "pagekit.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QWidget>

class BoxChain;
class BuddyAliases;
class BuddyIdle;
class BuddyBook;
class BuddyMenus;
class BuddyTree;
class QCheckBox;
class QPushButton;
class QTreeWidgetItem;
class QTimer;

class BuddyListPage : public QWidget {
    Q_OBJECT

  public:
    BuddyListPage(const PageKit &kit, BuddyBook *book, BuddyAliases *aliases,
                  QWidget *parent = nullptr);

    // Sign-on: the groups of the configuration; buddies show once online.
    void load(const QStringList &BuddyList);
    // A session lost: nobody is shown online.
    void showEveryoneOffline();
    bool BuddyAdd(const QString &buddy, const QString &Group, const QString &UserClass,
                  const QString &idle);
    // "Show offline buddies": the known buddies who are not online stay
    // under their groups, grey, with the offline image.
    void setShowOffline(bool on);
    static constexpr int kOfflineImage = 5;

    // The image BuddyAdd chooses: 3 away, 2 idle, 4 mobile, else 1.
    static int buddyImage(const QString &UserClass, const QString &idle);
    // A buddy node's tooltip (rich text, everything remote escaped), made
    // when the tree asks for it; a group has none. Idle minutes above
    // BuddyIdle::kMaxMinutes show as "more than a year".
    static QString toolTip(const QString &buddy, int image, qint16 warning, qint32 onlineSince,
                           qint32 idleMinutes);
    QString toolTipOf(const QTreeWidgetItem *node) const;
    QString toolTipOf(const QString &buddy, int image) const;
    void TreeBL_Click();
    void Command6_Click();
    // Double click or Enter on a buddy: its conversation.
    void openSelected();

    QList<QIcon> ImageList1; // images 1..5 at positions 0..4
    BuddyTree *TreeBL = nullptr;
    QPushButton *Command6 = nullptr;
    QCheckBox *chkOffline = nullptr; // "Show offline buddies"
    BuddyMenus *menus = nullptr;
    BuddyAliases *const aliases;
    // The buddies' idle time, counted on from each report.
    BuddyIdle *const idle;

  private:
    void toc_BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16 intWarningLevel,
                         qint32 lngOnlineTime, qint32 lngIdleTime, const QString &strUserClass);
    void toc_BuddyAdded(const QString &strGroup, const QString &strBuddy, const QString &strAlias);
    void toc_GroupRemoved(const QString &strGroup);
    void toc_GroupAdded(const QString &strGroup);
    void addGroupNode(const QString &group);
    void addOfflineNodes();
    // A known buddy not shown yet, with "Show offline buddies" ticked.
    void addOfflineNode(const QString &group, const QString &name);
    void showOffline(QTreeWidgetItem *node);
    void markOffline(QTreeWidgetItem *node);
    // A buddy's counted idle time passed the idle mark: its picture follows.
    void showIdle(const QString &buddy);

    PageKit m_kit;
    BuddyBook *m_book;
    // The boxes of BuddyAdded and of GroupRemoved: one open box per kind.
    BoxChain *m_buddyAddedBoxes = nullptr;
    BoxChain *m_groupRemovedBoxes = nullptr;
    QTimer *m_menuDelay = nullptr;
    // The configuration's writing of each known buddy's name, by normalised
    // name: offline nodes show it unless the server's writing is known.
    QHash<QString, QString> m_writing;
    // The last update of each buddy seen online: its writing, its class
    // and the facts of its tooltip.
    struct Presence {
        QString writing;
        qint16 warning = 0;
        qint32 onlineSince = 0;
        QString userClass;
    };
    QHash<QString, Presence> m_presence;
};
