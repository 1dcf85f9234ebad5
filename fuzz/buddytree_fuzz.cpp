// The buddy tree's list changes in any order: groups and buddies added,
// renamed, removed by key, by text and by name, with names from a tiny
// alphabet so that keys, texts and normalised names collide often. After
// every change the tree's lookups must agree with a walk of the tree.
#include "pages/buddytree.h"
#include "protocol/wire.h"

#include <QApplication>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok)
        abort();
}

// "a", "A", "a b", "ab", "A B", "b", ... : equal normalised, different text.
QString nameOf(uint8_t byte) {
    static const char *const kNames[] = {"a", "A", "a b", "ab", "A B", "b", "B", "", "g", "G g"};
    return QString::fromLatin1(kNames[byte % (sizeof kNames / sizeof *kNames)]);
}

void checkConsistent(const BuddyTree &tree) {
    QSet<QString> keys;
    for (int g = 0; g < tree.topLevelItemCount(); ++g) {
        QTreeWidgetItem *group = tree.topLevelItem(g);
        QList<QTreeWidgetItem *> nodes{group};
        for (int c = 0; c < group->childCount(); ++c) {
            QTreeWidgetItem *child = group->child(c);
            check(child->childCount() == 0); // buddies have no children
            nodes << child;
            check(tree.buddyNode(BuddyTree::keyOf(group), child->text(0)) != nullptr ||
                  BuddyTree::keyOf(group).isEmpty());
        }
        for (QTreeWidgetItem *node : nodes) {
            const QString key = BuddyTree::keyOf(node);
            if (!key.isEmpty()) {
                check(!keys.contains(key)); // keys are unique
                keys.insert(key);
                check(tree.nodeByKey(key) == node);
            }
            check(tree.nodesByText(node->text(0)).contains(node));
        }
    }
    // Nothing found by key that is not in the tree any more.
    for (const QString &key : {QStringLiteral("a"), QStringLiteral("ab"), QStringLiteral("g")})
        check(tree.nodeByKey(key) == nullptr || keys.contains(key));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 3;
    static char name[] = "fuzz_buddytree", opt[] = "-platform", platform[] = "offscreen";
    static char *argv[] = {name, opt, platform, nullptr};
    static QApplication app(argc, argv);
    BuddyTree tree;
    // Each change: an operation byte and two name bytes.
    for (size_t at = 0; at + 3 <= size; at += 3) {
        const QString first = nameOf(data[at + 1]);
        const QString second = nameOf(data[at + 2]);
        switch (data[at] % 11) {
        case 0:
            tree.addTopNode(first, first);
            break;
        case 1:
            tree.addChildNode(first, second, second, data[at + 2] % 6);
            break;
        case 2:
            if (QTreeWidgetItem *node = tree.nodeByKey(first))
                tree.updateNode(node, second, second, data[at + 1] % 6);
            break;
        case 3:
            tree.removeByText(first);
            break;
        case 4:
            tree.removeBuddiesByText(first);
            break;
        case 5:
            tree.removeBuddyFromGroup(first, second);
            break;
        case 6:
            tree.removeAllBuddies();
            break;
        case 7:
            if (QTreeWidgetItem *node = tree.nodeByKey(first))
                tree.removeNode(node);
            break;
        case 8:
            tree.expandGroups(tree.nodeByKey(first));
            break;
        case 9:
            if (data[at + 1] == 0xFF)
                tree.clearNodes();
            break;
        default:
            // A buddy keyed by group and name, as offline buddies are.
            tree.addChildNode(first, first + QLatin1Char(':') + toc::normalizeScreenName(second),
                              second, 6);
            break;
        }
        checkConsistent(tree);
    }
    return 0;
}
