#include "buddylistpage.h"

#include "boxchain.h"
#include "buddymenus.h"
#include "buddytree.h"
#include "client/buddybook.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/anchors.h"
#include "uikit/pictures.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"

#include <QCursor>
#include <QMenu>
#include <QPushButton>

BuddyListPage::BuddyListPage(const PageKit &kit, BuddyBook *book, QWidget *parent)
    : QWidget(parent), m_kit(kit), m_book(book) {
    setObjectName(QStringLiteral("pageBL"));
    for (const char *name : {"online", "idle", "away", "mobile"})
        ImageList1 << pictures::icon(
            QStringLiteral(":/vorkle/buddy-%1.png").arg(QLatin1String(name)));

    TreeBL = new BuddyTree(this);
    TreeBL->setObjectName(QStringLiteral("TreeBL"));
    TreeBL->setGeometry(twips::rect(60, 60, 2640, 1680));
    TreeBL->setAccessibleName(QStringLiteral("Buddy list"));
    TreeBL->setImageList(&ImageList1);
    QPalette p = TreeBL->palette();
    p.setColor(QPalette::Base, Qt::white);
    TreeBL->setPalette(p);
    anchors::stretch(TreeBL, anchors::Bottom);
    connect(TreeBL, &QTreeWidget::itemClicked, this, [this] { TreeBL_Click(); });

    Command6 = new QPushButton(QStringLiteral("Options"), this);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command6->setGeometry(twips::rect(2760, 60, 855, 300));
    connect(Command6, &QPushButton::clicked, this, &BuddyListPage::Command6_Click);

    menus = new BuddyMenus(kit, book, TreeBL, this);

    // What the user added or removed through the buddy book shows in the tree.
    connect(book, &BuddyBook::groupAdded, this, &BuddyListPage::addGroupNode);
    connect(book, &BuddyBook::groupRemoved, TreeBL, &BuddyTree::removeByText);
    connect(book, &BuddyBook::buddyRemoved, TreeBL, &BuddyTree::removeBuddyFromGroup);

    QelTOCSock *toc = kit.toc;
    connect(toc, &QelTOCSock::BuddyUpdate, this, &BuddyListPage::toc_BuddyUpdate);
    connect(toc, &QelTOCSock::BuddyAdded, this, &BuddyListPage::toc_BuddyAdded);
    connect(toc, &QelTOCSock::GroupRemoved, this, &BuddyListPage::toc_GroupRemoved);
    // Servers tell the acting session nothing of its own list changes, or
    // only "NEW_BUDDY_REPLY2": these come from the account's other sessions.
    connect(toc, &QelTOCSock::GroupAdded, this, &BuddyListPage::toc_GroupAdded);
    connect(toc, &QelTOCSock::BuddyRemoved, TreeBL, &BuddyTree::removeBuddyFromGroup);
}

void BuddyListPage::load(const QStringList &BuddyList) {
    TreeBL->clearNodes();
    m_book->load(BuddyList);
    for (const QString &group : std::as_const(m_book->groups))
        TreeBL->addTopNode(group, group);
}

void BuddyListPage::showEveryoneOffline() {
    TreeBL->removeAllBuddies();
}

void BuddyListPage::toc_BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16, qint32,
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
    const QStringList inGroups = m_book->groupsOf(strBuddy);
    for (const QString &group : inGroups)
        BuddyAdd(strBuddy, group, strUserClass, idle);
}

int BuddyListPage::buddyImage(const QString &UserClass, const QString &idle) {
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

bool BuddyListPage::BuddyAdd(const QString &buddy, const QString &Group, const QString &UserClass,
                             const QString &idle) {
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

void BuddyListPage::toc_BuddyAdded(const QString &strGroup, const QString &strBuddy,
                                   const QString &) {
    // Another session's buddy joins the known buddies, to show once online.
    if (!strBuddy.isEmpty() && !m_book->groupsOf(strBuddy).contains(strGroup))
        m_book->buddies.append(strGroup + QLatin1Char(':') + toc::normalizeScreenName(strBuddy));
    // Two boxes, one after the other: the buddy, then the group. While
    // they are open, further events are only counted in them.
    if (!m_buddyAddedBoxes)
        m_buddyAddedBoxes = new BoxChain(this, m_kit.dialogs);
    m_buddyAddedBoxes->show({shown::name(strBuddy), shown::name(strGroup)});
}

void BuddyListPage::toc_GroupRemoved(const QString &strGroup) {
    TreeBL->removeByText(strGroup);
    if (!m_groupRemovedBoxes)
        m_groupRemovedBoxes = new BoxChain(this, m_kit.dialogs);
    m_groupRemovedBoxes->show({shown::nameInText(strGroup) + QLatin1Char(':')});
}

void BuddyListPage::toc_GroupAdded(const QString &strGroup) {
    if (strGroup.isEmpty() || m_book->isGroup(strGroup))
        return;
    m_book->groups.append(strGroup);
    TreeBL->addTopNode(strGroup, strGroup);
}

// Keyed like the groups of the configuration, so that a buddy added to it
// in this session shows at once.
void BuddyListPage::addGroupNode(const QString &group) {
    TreeBL->addTopNode(group, group);
}

void BuddyListPage::TreeBL_Click() {
    QTreeWidgetItem *node = menus->selectedNode();
    if (!node)
        return; // no screen name to ask for
    const QString text = node->text(0);
    // A group has no profile: servers answer the request with a page that
    // is not found.
    if (m_book->isGroup(text))
        return;
    m_kit.toc->GetProfile(text);
    if (node->childCount() == 0)
        menus->popupBuddyMenu();
}

void BuddyListPage::Command6_Click() {
    menus->mnuBL->popup(QCursor::pos());
}
