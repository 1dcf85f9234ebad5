#pragma once
// The buddy-list tree: top-level group nodes with buddy nodes under them.
// Every node may carry a key, unique in the tree; nodes are found by key
// and by text through hashes, so no operation walks the whole tree.

#include <QHash>
#include <QIcon>
#include <QList>
#include <QSet>
#include <QTreeWidget>

class BuddyTree : public QTreeWidget {
    Q_OBJECT

  public:
    // Item data: the image index (1-based, 0 = none) and the key.
    static constexpr int ImageRole = Qt::UserRole;
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit BuddyTree(QWidget *parent = nullptr);

    // The images addressed by 1-based index; not owned. Attaching again
    // is harmless.
    void setImageList(const QList<QIcon> *images);

    // Removes every node.
    void clearNodes();
    // A top-level node. An empty key means the node has none. Returns
    // nullptr, and leaves the tree unchanged, when the key is taken.
    QTreeWidgetItem *addTopNode(const QString &key, const QString &text, int image = 0);
    // A child of the top-level node whose key is `relativeKey`. Returns
    // nullptr, and leaves the tree unchanged, when that node does not exist
    // or is no top-level node, or the key is taken.
    QTreeWidgetItem *addChildNode(const QString &relativeKey, const QString &key,
                                  const QString &text, int image = 0);

    QTreeWidgetItem *nodeByKey(const QString &key) const { return m_byKey.value(key); }
    // The buddy node under the group keyed `groupKey` whose name is `name`,
    // compared normalised; nullptr when there is none.
    QTreeWidgetItem *buddyNode(const QString &groupKey, const QString &name) const;
    // Gives a node a new key and text (the key stays when another node
    // holds it) and a new image.
    void updateNode(QTreeWidgetItem *item, const QString &key, const QString &text, int image);
    QList<QTreeWidgetItem *> nodesByText(const QString &text) const { return m_byText.value(text); }
    // Removes every node whose text is exactly `text`, with its children.
    // Returns how many nodes matched.
    int removeByText(const QString &text);
    // Removes the buddy nodes (nodes under a group) whose name is `text`,
    // compared normalised; a group of that name stays.
    int removeBuddiesByText(const QString &text);
    // Removes the buddy node with that name (compared normalised) under the
    // group node with that text; false when there is none.
    bool removeBuddyFromGroup(const QString &group, const QString &buddy);
    // Removes every buddy node; the groups stay.
    void removeAllBuddies();
    // Removes one node and its children.
    void removeNode(QTreeWidgetItem *item);
    // Expands every node that has children (only group nodes can have any).
    // Only a node that just got a child and the nodes found collapsed can
    // be closed, so only those are visited, not every group.
    void expandGroups(QTreeWidgetItem *added = nullptr);

    static int imageOf(const QTreeWidgetItem *item);
    static QString keyOf(const QTreeWidgetItem *item);

  private:
    QTreeWidgetItem *makeItem(const QString &key, const QString &text, int image) const;
    void setImage(QTreeWidgetItem *item, int image) const;
    void registerItem(QTreeWidgetItem *item);
    void unregisterTree(QTreeWidgetItem *item);
    void unregisterItem(QTreeWidgetItem *item);

    const QList<QIcon> *m_images = nullptr;
    QHash<QString, QTreeWidgetItem *> m_byKey;
    QHash<QString, QList<QTreeWidgetItem *>> m_byText;
    QHash<QString, QList<QTreeWidgetItem *>> m_byName; // by normalised text
    QSet<QTreeWidgetItem *> m_collapsed;
};
