#pragma once
// The buddy-list menus: "Options" (add buddy, remove item, add group) and
// the menu of a buddy, with the add-buddy and add-group dialogs. The
// choices that open something in the window are signals.

#include "pagekit.h"

#include <QObject>
#include <QPointer>

class BuddyAliases;
class BuddyBook;
class BuddyTree;
class QAction;
class QMenu;
class QTreeWidgetItem;
class QWidget;
class frmAddBuddy;
class frmGroups;

class BuddyMenus : public QObject {
    Q_OBJECT

  public:
    BuddyMenus(const PageKit &kit, BuddyBook *book, BuddyAliases *aliases, BuddyTree *tree,
               QWidget *parent);
    ~BuddyMenus() override;

    void rembdy_Click();
    void mnuAl_Click();
    void mnuIM_Click();
    void mnublock_Click();
    void showAddBuddyDialog();
    void showAddGroupDialog();
    frmAddBuddy *addBuddyDialog() const;
    frmGroups *addGroupDialog() const;

    QTreeWidgetItem *selectedNode() const;
    // The selected node's text; with none, the alert and the empty text.
    QString selectedNodeText();
    // A buddy's menu, for the selected node.
    void popupBuddyMenu();

    QMenu *mnuBL = nullptr;
    QAction *bdyAdd = nullptr;
    QAction *rembdy = nullptr;
    QAction *addgrp = nullptr;
    QMenu *blClick = nullptr;
    QAction *mnuIM = nullptr;
    QAction *mnuProfile = nullptr;
    QAction *mnuAl = nullptr;
    QAction *mnuInvite = nullptr;
    QAction *mnublock = nullptr;
    QAction *mnuCopy = nullptr;
    QAction *mnuViewHistory = nullptr; // "View History"

  signals:
    // "IM User", a double click or Enter: the conversation, selected.
    void imRequested(const QString &name);
    void blockRequested(const QString &name);
    void inviteRequested(const QString &name);
    void historyRequested(const QString &name);
    // "Get Profile" sent the request: the server's answer may be fetched.
    void profileAsked(const QString &name);

  private:
    PageKit m_kit;
    BuddyBook *m_book;
    BuddyAliases *m_aliases;
    BuddyTree *m_tree;
    QWidget *m_parent;
    // Separate windows (a disabled parent would disable them): owned here.
    QPointer<frmAddBuddy> m_addBuddy;
    QPointer<frmGroups> m_addGroup;
};
