#include "buddymenus.h"

#include "buddytree.h"
#include "client/buddyaliases.h"
#include "client/buddybook.h"
#include "dialogs/frmaddbuddy.h"
#include "dialogs/frmgroups.h"
#include "protocol/qeltocsock.h"
#include "uikit/dialogprovider.h"
#include "uikit/dialogtext.h"
#include "uikit/shownname.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>

namespace {
const QString kSelectItem = QStringLiteral("Please select an item on our buddylist");

QAction *item(QMenu *menu, const char *name, const QString &caption) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}
} // namespace

BuddyMenus::BuddyMenus(const PageKit &kit, BuddyBook *book, BuddyAliases *aliases, BuddyTree *tree,
                       QWidget *parent)
    : QObject(parent), m_kit(kit), m_book(book), m_aliases(aliases), m_tree(tree),
      m_parent(parent) {
    mnuBL = new QMenu(parent);
    mnuBL->setObjectName(QStringLiteral("mnuBL"));
    bdyAdd = item(mnuBL, "bdyAdd", QStringLiteral("Add Buddy"));
    rembdy = item(mnuBL, "rembdy", QStringLiteral("Remove Item"));
    addgrp = item(mnuBL, "addgrp", QStringLiteral("Add Group"));
    connect(bdyAdd, &QAction::triggered, this, &BuddyMenus::showAddBuddyDialog);
    connect(rembdy, &QAction::triggered, this, &BuddyMenus::rembdy_Click);
    connect(addgrp, &QAction::triggered, this, &BuddyMenus::showAddGroupDialog);

    blClick = new QMenu(parent);
    blClick->setObjectName(QStringLiteral("blClick"));
    mnuIM = item(blClick, "mnuIM", QStringLiteral("IM User"));
    mnuProfile = item(blClick, "mnuProfile", QStringLiteral("Get Profile"));
    mnuAl = item(blClick, "mnuAl", QStringLiteral("Aliases User"));
    mnuInvite = item(blClick, "mnuInvite", QStringLiteral("Invite To Chat"));
    mnublock = item(blClick, "mnublock", QStringLiteral("Block User"));
    mnuCopy = item(blClick, "mnuCopy", QStringLiteral("Copy Name To Clipboard"));
    mnuViewHistory = item(blClick, "mnuViewHistory", QStringLiteral("View History"));
    connect(mnuIM, &QAction::triggered, this, &BuddyMenus::mnuIM_Click);
    connect(mnublock, &QAction::triggered, this, &BuddyMenus::mnublock_Click);
    connect(mnuAl, &QAction::triggered, this, &BuddyMenus::mnuAl_Click);
    connect(mnuProfile, &QAction::triggered, this, [this] {
        const QString name = selectedNodeText();
        if (name.isEmpty())
            return;
        if (m_kit.toc->GetProfile(name))
            emit profileAsked(name);
        else
            m_kit.notSent();
    });
    connect(mnuCopy, &QAction::triggered, this, [this] {
        const QString name = selectedNodeText();
        if (!name.isEmpty())
            QGuiApplication::clipboard()->setText(shown::name(name));
    });
    connect(mnuInvite, &QAction::triggered, this, [this] {
        const QString name = selectedNodeText();
        if (!name.isEmpty())
            emit inviteRequested(name);
    });
    connect(mnuViewHistory, &QAction::triggered, this, [this] {
        const QTreeWidgetItem *node = selectedNode();
        if (node && !node->text(0).isEmpty() && !m_book->isGroup(node->text(0)))
            emit historyRequested(node->text(0));
    });
}

BuddyMenus::~BuddyMenus() {
    delete m_addBuddy.data();
    delete m_addGroup.data();
}

frmAddBuddy *BuddyMenus::addBuddyDialog() const {
    return m_addBuddy.data();
}

frmGroups *BuddyMenus::addGroupDialog() const {
    return m_addGroup.data();
}

QTreeWidgetItem *BuddyMenus::selectedNode() const {
    const QList<QTreeWidgetItem *> selected = m_tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString BuddyMenus::selectedNodeText() {
    const QTreeWidgetItem *node = selectedNode();
    const QString text = node ? node->text(0) : QString();
    if (text.isEmpty())
        m_kit.Errors(kSelectItem);
    return text;
}

void BuddyMenus::popupBuddyMenu() {
    blClick->popup(QCursor::pos());
}

void BuddyMenus::rembdy_Click() {
    QTreeWidgetItem *node = selectedNode();
    if (!node || node->text(0).isEmpty()) {
        m_kit.Errors(kSelectItem);
        return;
    }
    const QString text = node->text(0);
    // The name as a question shows it: neutralised and cut.
    const QString shownText = shown::nameInText(dialogtext::cut(text, dialogtext::kMaxName));
    QPointer<BuddyMenus> self(this);
    if (m_book->isGroup(text)) {
        m_kit.dialogs()->question(m_parent, QString(),
                                  QStringLiteral("Are you sure you want to remove this group: ") +
                                      shownText + QLatin1Char('?'),
                                  false, [self, text](DialogProvider::Answer a) {
                                      if (self && a == DialogProvider::Answer::Yes &&
                                          !self->m_book->removeGroup(text))
                                          self->m_kit.notSent();
                                  });
        return;
    }
    // The buddy leaves the group it is shown under, not its other groups.
    const QString group = node->parent() ? node->parent()->text(0) : QString();
    m_kit.dialogs()->question(m_parent, QString(),
                              QStringLiteral("Are you sure you want to remove this user: ") +
                                  shownText + QLatin1Char('?'),
                              false, [self, group, text](DialogProvider::Answer a) {
                                  if (self && a == DialogProvider::Answer::Yes &&
                                      !self->m_book->removeBuddy(group, text))
                                      self->m_kit.notSent();
                              });
}

// "Aliases User": a name of the user's own for the buddy; an empty one
// removes it, a cancel changes nothing.
void BuddyMenus::mnuAl_Click() {
    const QString name = selectedNodeText();
    if (name.isEmpty() || m_book->isGroup(name))
        return;
    QPointer<BuddyMenus> self(this);
    m_kit.dialogs()->editText(
        m_parent, QStringLiteral("Aliases User"),
        QStringLiteral("Alias for %1 (empty: none):").arg(shown::nameInText(name)),
        m_aliases->aliasOf(name), [self, name](bool ok, const QString &alias) {
            if (self && ok)
                self->m_aliases->set(name, alias);
        });
}

void BuddyMenus::mnuIM_Click() {
    const QString name = selectedNodeText();
    if (!name.isEmpty())
        emit imRequested(name);
}

// As the block list's "Add": the name is listed and, from "Allow All",
// the mode becomes "Block List".
void BuddyMenus::mnublock_Click() {
    const QString name = selectedNodeText();
    if (!name.isEmpty())
        emit blockRequested(name);
}

void BuddyMenus::showAddBuddyDialog() {
    if (m_addBuddy && m_addBuddy->isVisible()) {
        m_addBuddy->raise();
        m_addBuddy->activateWindow();
        return;
    }
    delete m_addBuddy.data();
    m_addBuddy = new frmAddBuddy(m_parent->window(), m_book, m_kit.alert);
    m_addBuddy->open();
}

void BuddyMenus::showAddGroupDialog() {
    if (m_addGroup && m_addGroup->isVisible()) {
        m_addGroup->raise();
        m_addGroup->activateWindow();
        return;
    }
    delete m_addGroup.data();
    m_addGroup = new frmGroups(m_parent->window(), m_book, m_kit.alert);
    m_addGroup->show();
}
