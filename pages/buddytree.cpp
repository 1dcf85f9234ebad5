#include "buddytree.h"

#include "uikit/shownname.h"

#include "protocol/wire.h"

#include <QHeaderView>

BuddyTree::BuddyTree(QWidget *parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSortingEnabled(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    // Nodes keep the names as they arrived; they are drawn escaped.
    setItemDelegate(new shown::NameDelegate(this));
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *item) { m_collapsed.insert(item); });
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem *item) { m_collapsed.remove(item); });
}

void BuddyTree::setImageList(const QList<QIcon> *images) {
    m_images = images;
}

void BuddyTree::clearNodes() {
    m_byKey.clear();
    m_byText.clear();
    m_byName.clear();
    m_collapsed.clear();
    clear();
}

QTreeWidgetItem *BuddyTree::makeItem(const QString &key, const QString &text, int image) const {
    auto *item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, KeyRole, key);
    setImage(item, image);
    return item;
}

void BuddyTree::setImage(QTreeWidgetItem *item, int image) const {
    item->setData(0, ImageRole, image);
    if (m_images && image >= 1 && image <= m_images->size())
        item->setIcon(0, m_images->at(image - 1));
    else
        item->setIcon(0, QIcon());
}

void BuddyTree::registerItem(QTreeWidgetItem *item) {
    const QString key = keyOf(item);
    if (!key.isEmpty())
        m_byKey.insert(key, item);
    m_byText[item->text(0)].append(item);
    m_byName[toc::normalizeScreenName(item->text(0))].append(item);
}

void BuddyTree::unregisterTree(QTreeWidgetItem *item) {
    for (int i = 0; i < item->childCount(); ++i)
        unregisterTree(item->child(i));
    unregisterItem(item);
}

void BuddyTree::unregisterItem(QTreeWidgetItem *item) {
    const QString key = keyOf(item);
    if (!key.isEmpty() && m_byKey.value(key) == item)
        m_byKey.remove(key);
    m_collapsed.remove(item);
    auto it = m_byText.find(item->text(0));
    if (it != m_byText.end()) {
        it->removeOne(item);
        if (it->isEmpty())
            m_byText.erase(it);
    }
    auto named = m_byName.find(toc::normalizeScreenName(item->text(0)));
    if (named != m_byName.end()) {
        named->removeOne(item);
        if (named->isEmpty())
            m_byName.erase(named);
    }
}

QTreeWidgetItem *BuddyTree::addTopNode(const QString &key, const QString &text, int image) {
    if (!key.isEmpty() && m_byKey.contains(key))
        return nullptr;
    QTreeWidgetItem *item = makeItem(key, text, image);
    addTopLevelItem(item);
    registerItem(item);
    return item;
}

QTreeWidgetItem *BuddyTree::addChildNode(const QString &relativeKey, const QString &key,
                                         const QString &text, int image) {
    QTreeWidgetItem *parent = relativeKey.isEmpty() ? nullptr : m_byKey.value(relativeKey);
    // Only a group takes children: a buddy keyed like a group the server
    // adds later ("Friends") must not collect that group's buddies.
    if (!parent || parent->parent())
        return nullptr;
    if (!key.isEmpty() && m_byKey.contains(key))
        return nullptr;
    QTreeWidgetItem *item = makeItem(key, text, image);
    parent->addChild(item);
    registerItem(item);
    return item;
}

QTreeWidgetItem *BuddyTree::buddyNode(const QString &groupKey, const QString &name) const {
    const QList<QTreeWidgetItem *> nodes = m_byName.value(toc::normalizeScreenName(name));
    for (QTreeWidgetItem *node : nodes)
        if (node->parent() && keyOf(node->parent()) == groupKey)
            return node;
    return nullptr;
}

void BuddyTree::updateNode(QTreeWidgetItem *item, const QString &key, const QString &text,
                           int image) {
    // Most updates change nothing shown (servers repeat a buddy's line with
    // every capability or warning change): the item is left alone then.
    if (imageOf(item) != image)
        setImage(item, image);
    if (item->text(0) == text && keyOf(item) == key)
        return;
    const QTreeWidgetItem *holder = m_byKey.value(key);
    unregisterItem(item);
    if (!holder || holder == item)
        item->setData(0, KeyRole, key);
    item->setText(0, text);
    registerItem(item);
}

void BuddyTree::removeNode(QTreeWidgetItem *item) {
    if (!item)
        return;
    unregisterTree(item);
    delete item; // removes it, and its children, from the tree
}

void BuddyTree::removeAllBuddies() {
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *group = topLevelItem(i);
        while (group->childCount() > 0)
            removeNode(group->child(0));
    }
}

int BuddyTree::removeByText(const QString &text) {
    // Look the text up again after each removal: removing a group takes
    // the nodes under it along, and they leave the hash with it.
    int removed = 0;
    for (;;) {
        const auto it = m_byText.constFind(text);
        if (it == m_byText.constEnd() || it->isEmpty())
            break;
        removeNode(it->first());
        ++removed;
    }
    return removed;
}

int BuddyTree::removeBuddiesByText(const QString &text) {
    // Servers name a departing buddy normalised ("davesmith" for "Dave
    // Smith"): buddy nodes are matched on the normalised name.
    const QList<QTreeWidgetItem *> nodes = m_byName.value(toc::normalizeScreenName(text));
    int removed = 0;
    for (QTreeWidgetItem *node : nodes) {
        if (node->parent()) {
            removeNode(node);
            ++removed;
        }
    }
    return removed;
}

bool BuddyTree::removeBuddyFromGroup(const QString &group, const QString &buddy) {
    // Servers name the buddy normalised ("DELETED2:b:bob:..." for "Bob").
    const QList<QTreeWidgetItem *> nodes = m_byName.value(toc::normalizeScreenName(buddy));
    for (QTreeWidgetItem *node : nodes) {
        if (node->parent() && node->parent()->text(0) == group) {
            removeNode(node);
            return true;
        }
    }
    return false;
}

void BuddyTree::expandGroups(QTreeWidgetItem *added) {
    // Every node with children is expanded except those collapsed since
    // (by the user or by a program): those, and the new node's parent.
    if (added && added->parent() && !added->parent()->isExpanded())
        added->parent()->setExpanded(true);
    if (m_collapsed.isEmpty())
        return;
    const QList<QTreeWidgetItem *> collapsed = m_collapsed.values();
    for (QTreeWidgetItem *item : collapsed)
        if (item->childCount() > 0)
            item->setExpanded(true);
}

int BuddyTree::imageOf(const QTreeWidgetItem *item) {
    return item ? item->data(0, ImageRole).toInt() : 0;
}

QString BuddyTree::keyOf(const QTreeWidgetItem *item) {
    return item ? item->data(0, KeyRole).toString() : QString();
}
