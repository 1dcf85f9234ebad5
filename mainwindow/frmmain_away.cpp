// The "away" and "profile" pages, the away strip `PicAway` with what the
// away state does to incoming IMs, and the "format" label.
#include "clicklabel.h"
#include "dialogs/dialogprovider.h"
#include "frmmain.h"
#include "pagewidgets.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"
#include "views/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <utility>

using namespace pagewidgets;

namespace {
const QString kDefaultEntry = QStringLiteral("Default");
const QString kDefaultAway = QStringLiteral("I am away from my computer right now.");
// The client area is 3000 twips high and 840 higher while away: the
// window heights 3615 and 4455 with the frame.
constexpr int kClientWidth = 5850;
constexpr int kPresentHeight = 3000;
constexpr int kAwayHeight = kPresentHeight + (4455 - 3615);
} // namespace

void frmMain::buildAwayPages() {
    QWidget *away = pageAway;
    Label20 = label(away, "Label20", QStringLiteral("Away Messages"), onPage(120, 360, 1335, 255));
    lstAway = list(away, "lstAway", onPage(120, 600, 1695, 1530));
    lstAway->addItem(kDefaultEntry);
    // A click also re-chooses the entry that is already selected.
    connect(lstAway, &QListWidget::currentRowChanged, this, [this](int) { lstAway_Click(); });
    connect(lstAway, &QListWidget::itemClicked, this, [this] { lstAway_Click(); });
    txtAway = textBox(away, "txtAway", QStringLiteral("I am away from my \ncomputer right now.\n"),
                      onPage(1920, 600, 1815, 1215));
    chkSaveAway = check(away, "chkSaveAway", QStringLiteral("Save"), onPage(1920, 1875, 735, 210));
    Command3 = button(away, "Command3", QStringLiteral("Set Away"), onPage(2760, 1850, 975, 255));
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);

    QWidget *profile = pageProfile;
    txtProfile = textBox(profile, "txtProfile", kDefaultProfile, onPage(120, 480, 3615, 1335));
    Command9 =
        button(profile, "Command9", QStringLiteral("Set Profile"), onPage(2640, 1850, 1095, 300));
    connect(Command9, &QPushButton::clicked, this, &frmMain::Command9_Click);

    connect(Label24, &ClickLabel::clicked, this, &frmMain::Label24_Click);
    buildAwayStrip();
}

void frmMain::buildAwayStrip() {
    QWidget *strip = PicAway;
    Label21 = label(strip, "Label21", QStringLiteral("You are marked as away."),
                    inPanel(120, 120, 2295, 255));
    labAwayMsgs = label(strip, "labAwayMsgs", QStringLiteral("0"), inPanel(120, 360, 375, 255));
    Label22 = label(strip, "Label22", QStringLiteral("Messages While Away"),
                    inPanel(600, 360, 1815, 255));
    chkNoIm =
        check(strip, "chkNoIm", QStringLiteral("Don't show IM's"), inPanel(2400, 120, 1575, 255));
    chkAuto = check(strip, "chkAuto", QStringLiteral("Send Auto Response"),
                    inPanel(2400, 360, 1935, 255));
    chkAuto->setChecked(true);
    chkAutoWarn =
        check(strip, "chkAutoWarn", QStringLiteral("Auto Warn"), inPanel(4560, 120, 1215, 210));
    Command7 = button(strip, "Command7", QStringLiteral("I'm Back"), inPanel(4560, 360, 1215, 375));
    connect(Command7, &QPushButton::clicked, this, &frmMain::Command7_Click);
    setAwayHeight(false);
}

bool frmMain::isAway() const {
    return m_away;
}

void frmMain::setAwayHeight(bool away) {
    m_away = away;
    setFixedSize(twips::toPixelsX(kClientWidth),
                 twips::toPixelsY(away ? kAwayHeight : kPresentHeight));
    // Out of sight below the client area anyway; hidden so that focus and
    // accessibility tools do not reach it either.
    PicAway->setVisible(away);
}

void frmMain::lstAway_Click() {
    const QListWidgetItem *item = lstAway->currentItem();
    if (!item)
        return;
    txtAway->setPlainText(item->text() == kDefaultEntry ? kDefaultAway : item->text());
}

void frmMain::Command3_Click() {
    const QString text = txtAway->toPlainText();
    if (text.isEmpty())
        return;
    setAwayHeight(true);
    labAwayMsgs->setText(QStringLiteral("0"));
    m_awayCount = 0;
    if (chkSaveAway->isChecked() && lstAway->findItems(text, Qt::MatchExactly).isEmpty())
        lstAway->addItem(text);
    // A new away period: every partner may be answered and warned again.
    m_awayMessage = text;
    m_autoAnswered.clear();
    m_autoWarned.clear();
    toc->SetAwayMessage(text);
}

void frmMain::Command7_Click() {
    toc->SetAwayMessage(QString());
    setAwayHeight(false);
    m_autoAnswered.clear();
    m_autoWarned.clear();
    // The conversations opened while away get their tabs now.
    const QStringList held = std::exchange(m_heldTabs, {});
    for (const QString &name : held)
        if (!isTab(name) && awayViewOf(name))
            addTab(name);
}

void frmMain::Command9_Click() {
    toc->SetProfile(txtProfile->toPlainText());
}

void frmMain::Label24_Click() {
    QPointer<frmMain> self(this);
    dialogs()->inputText(this, QString(), QStringLiteral("New Format"), txtSn->text(),
                         [self](const QString &text) {
                             // A cancelled box gives the empty text, sent as well.
                             if (self)
                                 self->toc->FormatUserName(text);
                         });
}

// LoggedIn: the profile sent to the server is the profile page's text.
QString frmMain::profileText() const {
    return txtProfile ? txtProfile->toPlainText() : kDefaultProfile;
}

// Routing asks before adding the tab of a conversation an IM opened.
bool frmMain::holdNewIMTabs() const {
    return m_away && chkNoIm->isChecked();
}

// Runs once for every incoming IM, after it reached its view.
void frmMain::awayIncomingIM(const QString &sender) {
    if (!m_away)
        return;
    labAwayMsgs->setText(QString::number(++m_awayCount));
    ctlIM *view = awayViewOf(sender);
    if (holdNewIMTabs() && view && !isTab(sender) && !m_heldTabs.contains(sender))
        m_heldTabs.append(sender);

    const QString partner = QelTOCSock::NormalizeScreenName(sender);
    if (chkAuto->isChecked() && !m_autoAnswered.contains(partner)) {
        m_autoAnswered.insert(partner);
        toc->SendIM(sender, m_awayMessage, true);
        if (view)
            view->im_msg(ownScreenName(), m_awayMessage);
    }
    if (chkAutoWarn->isChecked() && !m_autoWarned.contains(partner)) {
        m_autoWarned.insert(partner);
        toc->WarnUser(sender, false);
    }
}

// The conversation view whose key is the name (templates excluded).
ctlIM *frmMain::awayViewOf(const QString &name) const {
    if (name.isEmpty())
        return nullptr;
    for (int i = 1; i < imViews.size(); ++i)
        if (imViews.at(i) && imViews.at(i)->IMUser == name)
            return imViews.at(i);
    return nullptr;
}
