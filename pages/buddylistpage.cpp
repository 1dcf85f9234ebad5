#include "buddylistpage.h"

#include "boxchain.h"
#include "buddymenus.h"
#include "buddytree.h"
#include "client/buddyaliases.h"
#include "client/buddybook.h"
#include "client/buddyidle.h"
#include "client/clientsettings.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/anchors.h"
#include "uikit/contextmenus.h"
#include "uikit/pagewidgets.h"
#include "uikit/pictures.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDateTime>
#include <QHelpEvent>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QToolTip>

namespace {
// Buddies show their alias where they have one; groups their name. A
// buddy's tooltip is made when it is asked for, not at every update.
class AliasDelegate : public shown::NameDelegate {
  public:
    AliasDelegate(const BuddyListPage *page, QObject *parent)
        : shown::NameDelegate(parent), m_aliases(page->aliases), m_page(page) {}

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override {
        if (event->type() != QEvent::ToolTip)
            return shown::NameDelegate::helpEvent(event, view, option, index);
        const QString tip = index.parent().isValid()
                                ? m_page->toolTipOf(index.data().toString(),
                                                    index.data(BuddyTree::ImageRole).toInt())
                                : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
        return true;
    }

  protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        shown::NameDelegate::initStyleOption(option, index);
        if (!index.parent().isValid())
            return;
        const QString alias = m_aliases->aliasOf(index.data().toString());
        if (!alias.isEmpty())
            option->text = shown::name(alias);
    }

  private:
    BuddyAliases *m_aliases;
    const BuddyListPage *m_page;
};
} // namespace

BuddyListPage::BuddyListPage(const PageKit &kit, BuddyBook *book, BuddyAliases *buddyAliases,
                             QWidget *parent)
    : QWidget(parent), aliases(buddyAliases), idle(new BuddyIdle(Clock::system(), this)),
      m_kit(kit), m_book(book) {
    setObjectName(QStringLiteral("pageBL"));
    for (const char *name : {"online", "idle", "away", "mobile", "offline"})
        ImageList1 << pictures::icon(
            QStringLiteral(":/vorkle/buddy-%1.png").arg(QLatin1String(name)));

    TreeBL = pagewidgets::named(new BuddyTree(this), "TreeBL", twips::rect(60, 60, 2640, 1680));
    TreeBL->setAccessibleName(QStringLiteral("Buddy list"));
    TreeBL->setImageList(&ImageList1);
    TreeBL->setItemDelegate(new AliasDelegate(this, TreeBL));
    connect(aliases, &BuddyAliases::changed, TreeBL->viewport(), qOverload<>(&QWidget::update));
    QPalette p = TreeBL->palette();
    p.setColor(QPalette::Base, Qt::white);
    TreeBL->setPalette(p);
    anchors::stretch(TreeBL, anchors::Both);
    // A click shows the buddy's menu once it is clear that no second click
    // follows: a double click (or Enter) opens the conversation instead.
    m_menuDelay = new QTimer(this);
    m_menuDelay->setSingleShot(true);
    m_menuDelay->setInterval(QApplication::doubleClickInterval());
    connect(m_menuDelay, &QTimer::timeout, this, &BuddyListPage::TreeBL_Click);
    connect(TreeBL, &QTreeWidget::itemClicked, m_menuDelay, qOverload<>(&QTimer::start));
    connect(TreeBL, &QTreeWidget::itemDoubleClicked, this, &BuddyListPage::openSelected);
    auto *enter = new QShortcut(Qt::Key_Return, TreeBL, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, &BuddyListPage::openSelected);
    auto *keypadEnter = new QShortcut(Qt::Key_Enter, TreeBL, nullptr, nullptr, Qt::WidgetShortcut);
    connect(keypadEnter, &QShortcut::activated, this, &BuddyListPage::openSelected);

    Command6 = pagewidgets::button(this, "Command6", QStringLiteral("Options"),
                                   twips::rect(2760, 60, 855, 300));
    connect(Command6, &QPushButton::clicked, this, &BuddyListPage::Command6_Click);

    // Two short lines: the page's right column is narrow.
    chkOffline = pagewidgets::check(this, "chkOffline", QStringLiteral("Show\noffline\nbuddies"),
                                    twips::rect(2760, 420, 1020, 720));
    chkOffline->setAccessibleName(QStringLiteral("Show offline buddies"));
    chkOffline->setChecked(kit.settings && kit.settings->showOfflineBuddies());
    connect(chkOffline, &QCheckBox::toggled, this, &BuddyListPage::setShowOffline);
    // The tree takes a larger page's room; the buttons stay at its right.
    anchors::move(Command6, anchors::Right);
    anchors::move(chkOffline, anchors::Right);

    menus = new BuddyMenus(kit, book, aliases, TreeBL, this);
    // A right click (or the menu key) on a buddy opens its menu at once;
    // elsewhere in the tree, the menu of "Options".
    contextmenus::forItems(TreeBL, [this](const QModelIndex &item, const QPoint &where) {
        m_menuDelay->stop();
        if (item.isValid())
            TreeBL->setCurrentIndex(item);
        const QTreeWidgetItem *node = item.isValid() ? menus->selectedNode() : nullptr;
        const bool buddy = node && node->parent() && !m_book->isGroup(node->text(0));
        (buddy ? menus->blClick : menus->mnuBL)->popup(where);
    });

    // What the user added or removed through the buddy book shows in the tree.
    connect(book, &BuddyBook::groupAdded, this, &BuddyListPage::addGroupNode);
    connect(book, &BuddyBook::buddyAdded, this,
            [this](const QString &group, const QString &buddy, const QString &writing) {
                if (!m_writing.contains(buddy))
                    m_writing.insert(buddy, writing);
                addOfflineNode(group, buddy);
            });
    connect(idle, &BuddyIdle::becameIdle, this, &BuddyListPage::showIdle);
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
    idle->clear();
    m_book->load(BuddyList);
    for (const QString &group : std::as_const(m_book->groups))
        TreeBL->addTopNode(group, group);
    // The first writing of a name in the configuration.
    for (const QString &entry : BuddyList)
        if (!m_writing.contains(toc::normalizeScreenName(entry)))
            m_writing.insert(toc::normalizeScreenName(entry), entry);
    if (chkOffline->isChecked())
        addOfflineNodes();
}

void BuddyListPage::setShowOffline(bool on) {
    if (m_kit.settings)
        m_kit.settings->setShowOfflineBuddies(on);
    if (on) {
        addOfflineNodes();
        return;
    }
    QList<QTreeWidgetItem *> offline;
    for (int g = 0; g < TreeBL->topLevelItemCount(); ++g)
        for (int i = 0; i < TreeBL->topLevelItem(g)->childCount(); ++i)
            if (BuddyTree::imageOf(TreeBL->topLevelItem(g)->child(i)) == kOfflineImage)
                offline << TreeBL->topLevelItem(g)->child(i);
    for (QTreeWidgetItem *node : std::as_const(offline))
        TreeBL->removeNode(node);
}

// Every known buddy not shown yet, under its group, which is expanded.
void BuddyListPage::addOfflineNodes() {
    for (const QString &entry : m_book->buddies.entries()) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        addOfflineNode(entry.left(colon), entry.mid(colon + 1).section(QLatin1Char(':'), 0, 0));
    }
}

void BuddyListPage::addOfflineNode(const QString &group, const QString &name) {
    if (name.isEmpty() || !chkOffline->isChecked() || TreeBL->buddyNode(group, name))
        return;
    // The server's writing where the buddy was seen, else the
    // configuration's.
    const auto seen = m_presence.constFind(name);
    const QString shown = seen != m_presence.cend() ? seen->writing : m_writing.value(name, name);
    if (QTreeWidgetItem *node = TreeBL->addChildNode(group, shown, shown, kOfflineImage)) {
        markOffline(node);
        TreeBL->expandGroups(node);
    }
}

void BuddyListPage::showOffline(QTreeWidgetItem *node) {
    TreeBL->updateNode(node, BuddyTree::keyOf(node), node->text(0), kOfflineImage);
    markOffline(node);
}

void BuddyListPage::markOffline(QTreeWidgetItem *node) {
    static const QBrush grey(Qt::gray);
    node->setForeground(0, grey);
}

void BuddyListPage::showEveryoneOffline() {
    idle->clear();
    if (!chkOffline->isChecked()) {
        TreeBL->removeAllBuddies();
        return;
    }
    for (int g = 0; g < TreeBL->topLevelItemCount(); ++g)
        for (int i = 0; i < TreeBL->topLevelItem(g)->childCount(); ++i)
            showOffline(TreeBL->topLevelItem(g)->child(i));
}

void BuddyListPage::toc_BuddyUpdate(const QString &strBuddy, bool blnOnline, qint16 intWarningLevel,
                                    qint32 lngOnlineTime, qint32 lngIdleTime,
                                    const QString &strUserClass) {
    // A nameless buddy has no node to show or remove.
    if (strBuddy.isEmpty())
        return;
    if (!blnOnline) {
        idle->forget(toc::normalizeScreenName(strBuddy));
        // Only buddy nodes: a group may carry the same name.
        if (!chkOffline->isChecked())
            TreeBL->removeBuddiesByText(strBuddy);
        else
            for (const QString &group : m_book->groupsOf(strBuddy))
                if (QTreeWidgetItem *node = TreeBL->buddyNode(group, strBuddy))
                    showOffline(node);
        return;
    }
    // One normalisation serves the tooltip's facts and the group lookup.
    const QString key = toc::normalizeScreenName(strBuddy);
    m_presence.insert(key, {strBuddy, intWarningLevel, lngOnlineTime, strUserClass});
    idle->report(key, lngIdleTime);
    const QString idleText = QString::number(lngIdleTime);
    const QStringList inGroups = m_book->buddies.groupsOf(key);
    for (const QString &group : inGroups)
        BuddyAdd(strBuddy, group, strUserClass, idleText);
}

void BuddyListPage::showIdle(const QString &buddy) {
    const auto seen = m_presence.constFind(buddy);
    if (seen == m_presence.cend())
        return;
    const int image = buddyImage(seen->userClass, QString::number(idle->minutes(buddy)));
    for (const QString &group : m_book->buddies.groupsOf(buddy)) {
        QTreeWidgetItem *node = TreeBL->buddyNode(group, buddy);
        if (node && BuddyTree::imageOf(node) != kOfflineImage)
            TreeBL->updateNode(node, BuddyTree::keyOf(node), node->text(0), image);
    }
}

QString BuddyListPage::toolTipOf(const QTreeWidgetItem *node) const {
    return node && node->parent() ? toolTipOf(node->text(0), BuddyTree::imageOf(node)) : QString();
}

QString BuddyListPage::toolTipOf(const QString &buddy, int image) const {
    if (image == kOfflineImage)
        return toolTip(buddy, image, 0, 0, 0);
    const QString key = toc::normalizeScreenName(buddy);
    const Presence p = m_presence.value(key);
    return toolTip(buddy, image, p.warning, p.onlineSince, idle->minutes(key));
}

// The screen name, the status in words, idle time, warning level and
// sign-on time. The name is remote text: escaped, in a tooltip that is
// rich text on purpose so that nothing in the name is read as markup.
QString BuddyListPage::toolTip(const QString &buddy, int image, qint16 warning, qint32 onlineSince,
                               qint32 idleMinutes) {
    static const char *const kStatus[] = {"Online", "Idle", "Away", "Mobile", "Offline"};
    QStringList lines{shown::name(buddy),
                      QStringLiteral("Status: ") +
                          QLatin1String(kStatus[qBound(1, image, kOfflineImage) - 1])};
    if (idleMinutes > BuddyIdle::kMaxMinutes)
        lines << QStringLiteral("Idle: more than a year");
    else if (idleMinutes > 0)
        lines << QStringLiteral("Idle: %1 minutes").arg(idleMinutes);
    if (image != kOfflineImage)
        lines << QStringLiteral("Warning level: %1%").arg(warning);
    if (onlineSince > 0)
        lines << QStringLiteral("Online since: ") +
                     QDateTime::fromSecsSinceEpoch(onlineSince)
                         .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    return QStringLiteral("<qt>") +
           lines.join(QLatin1Char('\n'))
               .toHtmlEscaped()
               .replace(QLatin1Char('\n'), QLatin1String("<br>")) +
           QStringLiteral("</qt>");
}

int BuddyListPage::buddyImage(const QString &UserClass, const QString &idle) {
    // A "U" in the third place of the class marks an away user (servers send
    // three characters, " UU" or " OU"); away is shown before idle.
    if (UserClass.size() > 2 && UserClass.at(2) == QLatin1Char('U'))
        return 3;
    if (idle.trimmed().toLongLong() > 1)
        return 2;
    // An "A" in the first place marks an AOL member: online like any other.
    if (UserClass.contains(QLatin1Char('C')))
        return 4;
    return 1;
}

bool BuddyListPage::BuddyAdd(const QString &buddy, const QString &Group, const QString &UserClass,
                             const QString &idle) {
    const int image = buddyImage(UserClass, idle);
    // A buddy shown under this group follows its updates: away, idle, and
    // a new writing of its name ("A LiCe" for "Alice") replaces the old.
    if (QTreeWidgetItem *shownNode = TreeBL->buddyNode(Group, buddy)) {
        const bool wasOffline = BuddyTree::imageOf(shownNode) == kOfflineImage;
        TreeBL->updateNode(shownNode, buddy, buddy, image);
        if (wasOffline)
            shownNode->setForeground(0, QBrush());
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
    if (!strBuddy.isEmpty() && !m_book->groupsOf(strBuddy).contains(strGroup)) {
        const QString name = toc::normalizeScreenName(strBuddy);
        m_book->buddies.append(strGroup + QLatin1Char(':') + name);
        m_writing.insert(name, strBuddy);
        addOfflineNode(strGroup, name);
    }
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

// A buddy's menu; the profile only when the menu asks for it.
void BuddyListPage::TreeBL_Click() {
    const QTreeWidgetItem *node = menus->selectedNode();
    if (node && node->childCount() == 0 && !m_book->isGroup(node->text(0)))
        menus->popupBuddyMenu();
}

void BuddyListPage::openSelected() {
    m_menuDelay->stop();
    const QTreeWidgetItem *node = menus->selectedNode();
    if (node && node->childCount() == 0 && !m_book->isGroup(node->text(0)))
        emit menus->imRequested(node->text(0));
}

void BuddyListPage::Command6_Click() {
    menus->mnuBL->popup(QCursor::pos());
}
