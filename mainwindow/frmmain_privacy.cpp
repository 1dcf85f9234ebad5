// The "privacy" page: the block and allow lists with their "Add" buttons,
// and the five privacy modes.
#include "frmmain.h"
#include "pagewidgets.h"
#include "protocol/qeltocsock.h"

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
    // Shown selected at start; nothing is sent until an option is chosen.
    optPrivacy[0]->setChecked(true);
}

void frmMain::optPrivacy_Click(int Index) {
    toc->SetPrivacy(qint16(Index + 1));
}

void frmMain::CmdAddAllow_Click() {
    optPrivacy[2]->click(); // "Allow List": sends mode 3
    const QString name = txtAllowUser->text();
    lstAllow->addItem(name);
    toc->AddPrivateUser(name);
}

void frmMain::cmdAddBlock_Click() {
    const QString name = txtBlockuser->text();
    toc->BlockUser(name);
    lstBlock->addItem(name);
    optPrivacy[3]->click(); // "Block List": sends mode 4
}

// logout: empty the block list, then the allow list.
void frmMain::clearPrivacyLists() {
    lstBlock->clear();
    lstAllow->clear();
}

// LoggedIn: append the blocked names, then the permitted names, as given.
void frmMain::fillPrivacyLists(const QStringList &BlockList, const QStringList &PrivateList) {
    lstBlock->addItems(BlockList);
    lstAllow->addItems(PrivateList);
}

// An IM view's "Block": the name goes into the block field and the block
// list's "Add" runs.
void frmMain::blockFromView(const QString &name) {
    txtBlockuser->setText(name);
    cmdAddBlock_Click();
}
