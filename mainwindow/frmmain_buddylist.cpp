// The buddy list: built at sign-on from the configuration, then following
// the buddies' sign-on and sign-off updates.
#include "boxchain.h"
#include "buddytree.h"
#include "client/buddybook.h"
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "uikit/shownname.h"

#include <QFrame>
#include <QLabel>

void frmMain::toc_LoggedIn(const QString &strUserName, const QStringList &BuddyList,
                           const QStringList &BlockList, const QStringList &PrivateList,
                           const QStringList &, const QString &, qint16 PrivacyMode) {
    m_signedOn = true;
    ++m_sessions;
    rememberSignOn();
    rememberPassword();
    startHistory(strUserName);
    sendProfile();
    toc->SetCapability(QelTOCSock::kCapabilities);
    TreeBL->clearNodes();
    frmLogin->hide();
    fillPrivacyLists(BlockList, PrivateList, PrivacyMode);
    // A window still away from the last session makes the new one away too,
    // so that the window and the server agree.
    if (away.isAway())
        toc->SetAwayMessage(away.message());

    // Buddies are shown only once they are reported online.
    book->load(BuddyList);
    for (const QString &group : std::as_const(groups))
        TreeBL->addTopNode(group, group);
    m_headerName = strUserName;
    showHeader(QStringLiteral("'s configuration."));
}

void frmMain::toc_BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16, qint32,
                              qint32 lngIdleTime, const QString &strUserClass) {
    // A nameless buddy has no node to show or remove.
    if (strBuddy.isEmpty())
        return;
    if (!blnOnline) {
        // Only buddy nodes: a group may carry the same name.
        TreeBL->removeBuddiesByText(strBuddy);
        return;
    }
    const QString idle = QString::number(lngIdleTime);
    const QStringList inGroups = book->groupsOf(strBuddy);
    for (const QString &group : inGroups)
        BuddyAdd(strBuddy, group, strUserClass, idle);
}

int frmMain::buddyImage(const QString &UserClass, const QString &idle) {
    // A "U" in the third place of the class marks an away user (servers send
    // three characters, " UU" or " OU"); away is shown before idle.
    if (UserClass.size() > 2 && UserClass.at(2) == QLatin1Char('U'))
        return 3;
    if (idle.trimmed().toLongLong() > 1)
        return 2;
    if (UserClass.contains(QLatin1Char('C')))
        return 4;
    if (UserClass.startsWith(QLatin1Char('A')))
        return 3;
    return 1;
}

bool frmMain::BuddyAdd(const QString &buddy, const QString &Group, const QString &UserClass,
                       const QString &idle) {
    TreeBL->setImageList(&ImageList1);
    const int image = buddyImage(UserClass, idle);
    // A buddy shown under this group follows its updates: away, idle, and
    // a new writing of its name ("A LiCe" for "Alice") replaces the old.
    if (QTreeWidgetItem *shownNode = TreeBL->buddyNode(Group, buddy)) {
        TreeBL->updateNode(shownNode, buddy, buddy, image);
        return true;
    }
    // Refused when the buddy is shown in another group or its group has no
    // node.
    QTreeWidgetItem *node = TreeBL->addChildNode(Group, buddy, buddy, image);
    if (!node)
        return false;
    TreeBL->expandGroups(node);
    return true;
}

void frmMain::toc_BuddyAdded(const QString &strGroup, const QString &strBuddy, const QString &) {
    rememberAddedBuddy(strGroup, strBuddy);
    // Two boxes, one after the other: the buddy, then the group. While
    // they are open, further events are only counted in them.
    if (!m_buddyAddedBoxes)
        m_buddyAddedBoxes = new BoxChain(this, [this] { return dialogs(); });
    m_buddyAddedBoxes->show({shown::name(strBuddy), shown::name(strGroup)});
}

void frmMain::toc_GroupRemoved(const QString &strGroup) {
    TreeBL->removeByText(strGroup);
    if (!m_groupRemovedBoxes)
        m_groupRemovedBoxes = new BoxChain(this, [this] { return dialogs(); });
    m_groupRemovedBoxes->show({shown::nameInText(strGroup) + QLatin1Char(':')});
}

bool frmMain::isGroup(const QString &text) const {
    return book->isGroup(text);
}

// Keyed like the groups of the configuration, so that a buddy added to it
// in this session shows at once.
void frmMain::addGroupNode(const QString &group) {
    TreeBL->addTopNode(group, group);
}
