// The "privacy" page: the block and allow lists with their "Add" buttons,
// and the five privacy modes.
#include "client/privacystate.h"
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "uikit/pagewidgets.h"

#include <QAbstractButton>
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

void frmMain::buildPrivacyPage() {
    QWidget *page = pagePrivacy;
    Label4 = label(page, "Label4", QStringLiteral("Block List"), onPage(120, 360, 975, 255));
    lstBlock = list(page, "lstBlock", onPage(120, 600, 975, 1095));
    txtBlockuser = field(page, "txtBlockuser", QStringLiteral("user"), onPage(120, 1740, 525, 285));
    cmdAddBlock = button(page, "cmdAddBlock", QStringLiteral("Add"), onPage(675, 1740, 420, 285));
    connect(cmdAddBlock, &QPushButton::clicked, this, &frmMain::cmdAddBlock_Click);

    Label5 = label(page, "Label5", QStringLiteral("Allow List"), onPage(1200, 360, 975, 255));
    lstAllow = list(page, "lstAllow", onPage(1200, 600, 975, 1095));
    txtAllowUser =
        field(page, "txtAllowUser", QStringLiteral("user"), onPage(1200, 1740, 525, 285));
    CmdAddAllow = button(page, "CmdAddAllow", QStringLiteral("Add"), onPage(1755, 1740, 420, 285));
    connect(CmdAddAllow, &QPushButton::clicked, this, &frmMain::CmdAddAllow_Click);

    // One exclusive row. `clicked` is emitted for a click by the user and
    // for QAbstractButton::click() by the program alike, also when the
    // option is already selected: both run the same handler.
    auto *group = new QButtonGroup(page);
    for (int i = 0; i < kPrivacyOptions; ++i) {
        optPrivacy[i] = option(page, kOptionNames[i], QLatin1String(kOptionCaptions[i]),
                               onPage(2280, 480 + i * 300, 1455, 255));
        group->addButton(optPrivacy[i], i);
        connect(optPrivacy[i], &QAbstractButton::clicked, this, [this, i] { optPrivacy_Click(i); });
    }
    // The mode in force shows selected ("Allow All" before any sign-on);
    // nothing is sent until an option is chosen.
    showPrivacyMode(privacy->mode());
    connect(privacy, &PrivacyState::modeChanged, this, &frmMain::showPrivacyMode);
    connect(privacy, &PrivacyState::blockedAdded, lstBlock,
            [this](const QString &name) { lstBlock->addItem(name); });
    connect(privacy, &PrivacyState::allowedAdded, lstAllow,
            [this](const QString &name) { lstAllow->addItem(name); });
}

void frmMain::showPrivacyMode(qint16 mode) {
    if (mode >= 1 && mode <= kPrivacyOptions && optPrivacy[mode - 1])
        optPrivacy[mode - 1]->setChecked(true);
}

void frmMain::optPrivacy_Click(int Index) {
    if (!privacy->setMode(qint16(Index + 1))) {
        showPrivacyMode(privacy->mode());
        notSent();
    }
}

// "Allow List" (mode 3) is selected, then the name permitted.
void frmMain::CmdAddAllow_Click() {
    if (!privacy->allow(txtAllowUser->text()))
        notSent();
}

// The name is denied; the mode becomes "Block List" only from "Allow All",
// never looser than what is in force.
void frmMain::cmdAddBlock_Click() {
    if (!privacy->block(txtBlockuser->text()))
        notSent();
}

// logout: empty the block list, then the allow list.
void frmMain::clearPrivacyLists() {
    privacy->clear();
    lstBlock->clear();
    lstAllow->clear();
}

// LoggedIn: append the blocked names, then the permitted names, as given,
// and show the mode the server keeps.
void frmMain::fillPrivacyLists(const QStringList &BlockList, const QStringList &PrivateList,
                               qint16 PrivacyMode) {
    lstBlock->addItems(BlockList);
    lstAllow->addItems(PrivateList);
    privacy->load(BlockList, PrivateList, PrivacyMode);
}

// An IM view's "Block": the name goes into the block field and the block
// list's "Add" runs.
void frmMain::blockFromView(const QString &name) {
    txtBlockuser->setText(name);
    cmdAddBlock_Click();
}
