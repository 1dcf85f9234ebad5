// The buddy list: built at sign-on from the configuration, then following
// the buddies' sign-on and sign-off updates.
#include "boxchain.h"
#include "buddytree.h"
#include "frmmain.h"
#include "protocol/qeltocsock.h"

#include <QFrame>
#include <QLabel>

void frmMain::toc_LoggedIn(const QString &strUserName, const QStringList &BuddyList,
                           const QStringList &BlockList, const QStringList &PrivateList,
                           const QStringList &, const QString &, qint16) {
    m_signedOn = true;
    toc->SetProfile(profileText());
    toc->SetCapability(QelTOCSock::kCapabilities);
    TreeBL->clearNodes();
    frmLogin->hide();
    fillPrivacyLists(BlockList, PrivateList);

    groups.clear();
    const QString marker = QStringLiteral("[group]");
    QString group;
    for (const QString &entry : BuddyList) {
        if (entry.contains(marker)) {
            group = entry;
            group.remove(marker);
            groups.append(group);
            TreeBL->addTopNode(group, group);
        } else {
            // Shown only once the buddy is reported online.
            BuddyListx.append(group + QLatin1Char(':') + QelTOCSock::NormalizeScreenName(entry));
        }
    }
    labHI->setText(strUserName + QStringLiteral("'s configuration."));
}

void frmMain::toc_BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16, qint32,
                              qint32 lngIdleTime, const QString &strUserClass) {
    if (!blnOnline) {
        TreeBL->removeByText(strBuddy);
        return;
    }
    const QString idle = QString::number(lngIdleTime);
    const QStringList inGroups = BuddyListx.groupsOf(QelTOCSock::NormalizeScreenName(strBuddy));
    for (const QString &group : inGroups)
        BuddyAdd(strBuddy, group, strUserClass, idle);
}

int frmMain::buddyImage(const QString &UserClass, const QString &idle) {
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
    // Refused when the buddy is shown already or its group has no node.
    QTreeWidgetItem *node = TreeBL->addChildNode(Group, buddy, buddy, image);
    if (!node)
        return false;
    TreeBL->expandGroups(node);
    return true;
}

void frmMain::toc_BuddyAdded(const QString &strGroup, const QString &strBuddy, const QString &) {
    // Two boxes, one after the other: the buddy, then the group. While
    // they are open, further events are only counted in them.
    if (!m_buddyAddedBoxes)
        m_buddyAddedBoxes = new BoxChain(this, [this] { return dialogs(); });
    m_buddyAddedBoxes->show({strBuddy, strGroup});
}

void frmMain::toc_GroupRemoved(const QString &strGroup) {
    if (!m_groupRemovedBoxes)
        m_groupRemovedBoxes = new BoxChain(this, [this] { return dialogs(); });
    m_groupRemovedBoxes->show({strGroup + QLatin1Char(':')});
}

bool frmMain::isGroup(const QString &text) const {
    const QString n = QelTOCSock::NormalizeScreenName(text);
    for (const QString &g : groups)
        if (QelTOCSock::NormalizeScreenName(g) == n)
            return true;
    return false;
}

void frmMain::addGroupNode(const QString &group) {
    TreeBL->addTopNode(QString(), group);
}
