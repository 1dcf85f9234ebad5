#include "privacypage.h"

#include "client/privacystate.h"
#include "uikit/anchors.h"
#include "uikit/pagewidgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace pagewidgets;

namespace {
const char *const kOptionNames[] = {"optPrivacy0", "optPrivacy1", "optPrivacy2", "optPrivacy3",
                                    "optPrivacy4"};
const char *const kOptionCaptions[] = {"Allow All", "Block All", "Allow List", "Block List",
                                       "Buddy List"};
} // namespace

PrivacyPage::PrivacyPage(const PageKit &kit, PrivacyState *privacy, QWidget *parent)
    : QWidget(parent), m_kit(kit), m_privacy(privacy) {
    setObjectName(QStringLiteral("pagePrivacy"));
    Label4 = label(this, "Label4", QStringLiteral("Block List"), onPage(120, 360, 975, 255));
    lstBlock = list(this, "lstBlock", onPage(120, 600, 975, 1095));
    txtBlockuser = field(this, "txtBlockuser", QString(), onPage(120, 1740, 525, 285));
    cmdAddBlock = button(this, "cmdAddBlock", QStringLiteral("Add"), onPage(675, 1740, 420, 285));
    connect(cmdAddBlock, &QPushButton::clicked, this, &PrivacyPage::cmdAddBlock_Click);

    Label5 = label(this, "Label5", QStringLiteral("Allow List"), onPage(1200, 360, 975, 255));
    lstAllow = list(this, "lstAllow", onPage(1200, 600, 975, 1095));
    txtAllowUser = field(this, "txtAllowUser", QString(), onPage(1200, 1740, 525, 285));
    CmdAddAllow = button(this, "CmdAddAllow", QStringLiteral("Add"), onPage(1755, 1740, 420, 285));
    connect(CmdAddAllow, &QPushButton::clicked, this, &PrivacyPage::CmdAddAllow_Click);

    lstBlock->setAccessibleName(QStringLiteral("Block List"));
    lstAllow->setAccessibleName(QStringLiteral("Allow List"));
    txtBlockuser->setAccessibleName(QStringLiteral("Name to block"));
    cmdAddBlock->setAccessibleName(QStringLiteral("Add to the Block List"));
    txtAllowUser->setAccessibleName(QStringLiteral("Name to allow"));
    CmdAddAllow->setAccessibleName(QStringLiteral("Add to the Allow List"));
    // "user" only says what to type: it is never sent. Enter is "Add".
    for (QLineEdit *f : {txtBlockuser, txtAllowUser})
        f->setPlaceholderText(QStringLiteral("user"));
    connect(txtBlockuser, &QLineEdit::returnPressed, cmdAddBlock, &QPushButton::click);
    connect(txtAllowUser, &QLineEdit::returnPressed, CmdAddAllow, &QPushButton::click);
    addRemoveAction(lstBlock, "mnuRemoveBlock", &PrivacyPage::removeBlocked);
    addRemoveAction(lstAllow, "mnuRemoveAllow", &PrivacyPage::removeAllowed);
    // A taller page lengthens the lists; their fields stay under them.
    for (QWidget *w : {static_cast<QWidget *>(lstBlock), static_cast<QWidget *>(lstAllow)})
        anchors::stretch(w, anchors::Bottom);
    for (QWidget *w : {static_cast<QWidget *>(txtBlockuser), static_cast<QWidget *>(cmdAddBlock),
                       static_cast<QWidget *>(txtAllowUser), static_cast<QWidget *>(CmdAddAllow)})
        anchors::move(w, anchors::Bottom);

    // One exclusive row. `clicked` is emitted for a click by the user and
    // for QAbstractButton::click() by the program alike, also when the
    // option is already selected: both run the same handler.
    auto *group = new QButtonGroup(this);
    for (int i = 0; i < kPrivacyOptions; ++i) {
        optPrivacy[i] = option(this, kOptionNames[i], QLatin1String(kOptionCaptions[i]),
                               onPage(2280, 480 + i * 300, 1455, 255));
        group->addButton(optPrivacy[i], i);
        connect(optPrivacy[i], &QAbstractButton::clicked, this, [this, i] { optPrivacy_Click(i); });
    }
    // The mode in force shows selected ("Allow All" before any sign-on);
    // nothing is sent until an option is chosen.
    showMode(m_privacy->mode());
    connect(m_privacy, &PrivacyState::modeChanged, this, &PrivacyPage::showMode);
    connect(m_privacy, &PrivacyState::blockedAdded, lstBlock,
            [this](const QString &name) { lstBlock->addItem(name); });
    connect(m_privacy, &PrivacyState::allowedAdded, lstAllow,
            [this](const QString &name) { lstAllow->addItem(name); });
    const auto takeOff = [](QListWidget *list, const QString &name) {
        for (int i = list->count() - 1; i >= 0; --i)
            if (PrivacyState::sameName(list->item(i)->text(), name))
                delete list->takeItem(i);
    };
    connect(m_privacy, &PrivacyState::blockedRemoved, lstBlock,
            [this, takeOff](const QString &name) { takeOff(lstBlock, name); });
    connect(m_privacy, &PrivacyState::allowedRemoved, lstAllow,
            [this, takeOff](const QString &name) { takeOff(lstAllow, name); });
}

// Delete on the list, or "Remove" in its context menu.
void PrivacyPage::addRemoveAction(QListWidget *list, const char *name,
                                  void (PrivacyPage::*remove)()) {
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *action = new QAction(QStringLiteral("Remove"), list);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(QKeySequence::Delete);
    action->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(action);
    connect(action, &QAction::triggered, this, remove);
}

bool PrivacyPage::hasName(const QString &name, const QString &what) {
    if (!name.trimmed().isEmpty())
        return true;
    m_kit.Errors(QStringLiteral("Please type the screen name to %1.").arg(what));
    return false;
}

namespace {
// The names first: taking one off deletes its item.
QStringList selectedNames(const QListWidget *list) {
    QStringList names;
    for (const QListWidgetItem *item : list->selectedItems())
        names << item->text();
    return names;
}
} // namespace

void PrivacyPage::removeBlocked() {
    for (const QString &name : selectedNames(lstBlock))
        if (!m_privacy->unblock(name))
            return m_kit.notSent();
}

void PrivacyPage::removeAllowed() {
    for (const QString &name : selectedNames(lstAllow))
        if (!m_privacy->disallow(name))
            return m_kit.notSent();
}

void PrivacyPage::block(const QString &name) {
    if (!m_privacy->block(name))
        m_kit.notSent();
}

void PrivacyPage::showMode(qint16 mode) {
    if (mode >= 1 && mode <= kPrivacyOptions)
        optPrivacy[mode - 1]->setChecked(true);
}

void PrivacyPage::optPrivacy_Click(int Index) {
    if (!m_privacy->setMode(qint16(Index + 1))) {
        showMode(m_privacy->mode());
        m_kit.notSent();
    }
}

// "Allow List" (mode 3) is selected, then the name permitted.
void PrivacyPage::CmdAddAllow_Click() {
    if (!hasName(txtAllowUser->text(), QStringLiteral("allow")))
        return;
    // The field is emptied for the next name; a name not sent stays in it.
    if (m_privacy->allow(txtAllowUser->text()))
        txtAllowUser->clear();
    else
        m_kit.notSent();
}

// The name is denied; the mode becomes "Block List" only from "Allow All",
// never looser than what is in force.
void PrivacyPage::cmdAddBlock_Click() {
    if (!hasName(txtBlockuser->text(), QStringLiteral("block")))
        return;
    if (m_privacy->block(txtBlockuser->text()))
        txtBlockuser->clear();
    else
        m_kit.notSent();
}

void PrivacyPage::blockName(const QString &name) {
    txtBlockuser->setText(name);
    cmdAddBlock_Click();
}

void PrivacyPage::fill(const QStringList &BlockList, const QStringList &PrivateList,
                       qint16 PrivacyMode) {
    m_privacy->load(BlockList, PrivateList, PrivacyMode);
    lstBlock->addItems(m_privacy->blocked());
    lstAllow->addItems(m_privacy->allowed());
}

void PrivacyPage::clear() {
    m_privacy->clear();
    lstBlock->clear();
    lstAllow->clear();
}
