// The buddy-list menus: the tree click with the buddy menu, "Options" with
// add buddy, remove item and add group, and the two dialogs.
#include "buddytree.h"
#include "client/buddybook.h"
#include "dialogs/frmaddbuddy.h"
#include "dialogs/frmgroups.h"
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "uikit/dialogprovider.h"

#include <QCursor>
#include <QMenu>

namespace {
const QString kSelectItem = QStringLiteral("Please select an item on our buddylist");

QAction *item(QMenu *menu, const char *name, const QString &caption) {
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}
} // namespace

void frmMain::buildMenus() {
    mnuBL = new QMenu(this);
    mnuBL->setObjectName(QStringLiteral("mnuBL"));
    bdyAdd = item(mnuBL, "bdyAdd", QStringLiteral("Add Buddy"));
    rembdy = item(mnuBL, "rembdy", QStringLiteral("Remove Item"));
    addgrp = item(mnuBL, "addgrp", QStringLiteral("Add Group"));
    connect(bdyAdd, &QAction::triggered, this, &frmMain::showAddBuddyDialog);
    connect(rembdy, &QAction::triggered, this, &frmMain::rembdy_Click);
    connect(addgrp, &QAction::triggered, this, &frmMain::showAddGroupDialog);

    blClick = new QMenu(this);
    blClick->setObjectName(QStringLiteral("blClick"));
    mnuIM = item(blClick, "mnuIM", QStringLiteral("IM User"));
    mnuProfile = item(blClick, "mnuProfile", QStringLiteral("Get Profile"));
    mnuAl = item(blClick, "mnuAl", QStringLiteral("Aliases User"));
    mnuInvite = item(blClick, "mnuInvite", QStringLiteral("Invite To Chat"));
    mnublock = item(blClick, "mnublock", QStringLiteral("Block User"));
    mnuCopy = item(blClick, "mnuCopy", QStringLiteral("Copy Name To Clipboard"));
    connect(mnuIM, &QAction::triggered, this, &frmMain::mnuIM_Click);
    connect(mnublock, &QAction::triggered, this, &frmMain::mnublock_Click);

    // The tray's menu has no parent: "Show" must work while the alert or a
    // dialog has disabled the window. The window deletes it.
    opt = new QMenu;
    opt->setObjectName(QStringLiteral("opt"));
    showMe = item(opt, "showMe", QStringLiteral("Show"));
    connect(showMe, &QAction::triggered, this, &frmMain::showMe_Click);
    buildNotifications();
    buildHistory();

    // What the user added or removed through the buddy book shows in the tree.
    connect(book, &BuddyBook::groupAdded, this, &frmMain::addGroupNode);
    connect(book, &BuddyBook::groupRemoved, TreeBL, &BuddyTree::removeByText);
    connect(book, &BuddyBook::buddyRemoved, TreeBL, &BuddyTree::removeBuddyFromGroup);
}

QTreeWidgetItem *frmMain::selectedNode() const {
    const QList<QTreeWidgetItem *> selected = TreeBL->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void frmMain::TreeBL_Click() {
    QTreeWidgetItem *node = selectedNode();
    if (!node)
        return; // no screen name to ask for
    const QString text = node->text(0);
    // A group has no profile: servers answer the request with a page that
    // is not found.
    if (isGroup(text))
        return;
    toc->GetProfile(text);
    if (node->childCount() == 0)
        blClick->popup(QCursor::pos());
}

void frmMain::Command6_Click() {
    mnuBL->popup(QCursor::pos());
}

void frmMain::rembdy_Click() {
    QTreeWidgetItem *node = selectedNode();
    if (!node || node->text(0).isEmpty()) {
        Errors(kSelectItem);
        return;
    }
    const QString text = node->text(0);
    QPointer<frmMain> self(this);
    if (isGroup(text)) {
        dialogs()->question(this, QString(),
                            QStringLiteral("Are you sure you want to remove this group: ") + text +
                                QLatin1Char('?'),
                            false, [self, text](DialogProvider::Answer a) {
                                if (self && a == DialogProvider::Answer::Yes &&
                                    !self->book->removeGroup(text))
                                    self->notSent();
                            });
        return;
    }
    // The buddy leaves the group it is shown under, not its other groups.
    const QString group = node->parent() ? node->parent()->text(0) : QString();
    dialogs()->question(
        this, QString(),
        QStringLiteral("Are you sure you want to remove this user: ") + text + QLatin1Char('?'),
        false, [self, group, text](DialogProvider::Answer a) {
            if (self && a == DialogProvider::Answer::Yes && !self->book->removeBuddy(group, text))
                self->notSent();
        });
}

QString frmMain::selectedNodeText() {
    const QTreeWidgetItem *node = selectedNode();
    const QString text = node ? node->text(0) : QString();
    if (text.isEmpty())
        Errors(kSelectItem);
    return text;
}

void frmMain::mnuIM_Click() {
    const QString name = selectedNodeText();
    if (!name.isEmpty())
        openIM(name);
}

void frmMain::mnublock_Click() {
    const QString name = selectedNodeText();
    // The block list and the privacy mode stay as they are.
    if (!name.isEmpty() && !toc->BlockUser(name))
        notSent();
}

void frmMain::showAddBuddyDialog() {
    if (m_addBuddy && m_addBuddy->isVisible()) {
        m_addBuddy->raise();
        m_addBuddy->activateWindow();
        return;
    }
    delete m_addBuddy.data();
    m_addBuddy = new frmAddBuddy(this, book, [this](const QString &text) { Errors(text); });
    m_addBuddy->open();
}

void frmMain::showAddGroupDialog() {
    if (m_addGroup && m_addGroup->isVisible()) {
        m_addGroup->raise();
        m_addGroup->activateWindow();
        return;
    }
    delete m_addGroup.data();
    m_addGroup = new frmGroups(this, book, [this](const QString &text) { Errors(text); });
    m_addGroup->show();
}
