// The "away" and "profile" pages, the away strip `PicAway` with what the
// away state does to incoming IMs, and the "format" label.
#include "clicklabel.h"
#include "client/notsenttext.h"
#include "frmmain.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "uikit/dialogprovider.h"
#include "uikit/pagewidgets.h"
#include "uikit/twips.h"
#include "views/ctlim.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <initializer_list>

using namespace pagewidgets;

namespace {
const QString kDefaultEntry = QStringLiteral("Default");
const QString kDefaultAway = QStringLiteral("I am away from my computer right now.");
// The client area is 3000 twips high and 840 higher while away: the
// window heights 3615 and 4455 with the frame.
constexpr int kClientWidth = 5850;
constexpr int kPresentHeight = 3000;
constexpr int kAwayHeight = kPresentHeight + (4455 - 3615);

// Runs `chosen` when a key the user pressed moved the list's current row.
// The row also changes when the list gets focus or the program sets it;
// those are not the user's choice.
class KeyChoiceWatcher : public QObject {
  public:
    KeyChoiceWatcher(QListWidget *list, std::function<void()> chosen)
        : QObject(list), m_list(list), m_chosen(std::move(chosen)) {
        list->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != m_list || event->type() != QEvent::KeyPress)
            return false;
        const int before = m_list->currentRow();
        static_cast<QObject *>(m_list)->event(event);
        if (m_list->currentRow() != before)
            m_chosen();
        return true;
    }

  private:
    QListWidget *m_list;
    std::function<void()> m_chosen;
};
} // namespace

void frmMain::buildAwayPages() {
    QWidget *away = pageAway;
    Label20 = label(away, "Label20", QStringLiteral("Away Messages"), onPage(120, 360, 1335, 255));
    lstAway = list(away, "lstAway", onPage(120, 600, 1695, 1530));
    lstAway->addItem(kDefaultEntry);
    // Only the user's choice copies an entry: a click (also on the entry
    // already selected) or a key that moves to another.
    connect(lstAway, &QListWidget::itemClicked, this, [this] { lstAway_Click(); });
    new KeyChoiceWatcher(lstAway, [this] { lstAway_Click(); });
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
    // Built after the first paint, into a strip that was shown then: its
    // controls must be shown themselves, or they stay hidden for good when
    // the strip shows again.
    for (QWidget *w : std::initializer_list<QWidget *>{Label21, labAwayMsgs, Label22, chkNoIm,
                                                       chkAuto, chkAutoWarn, Command7})
        w->show();
    setAwayHeight(false);
}

bool frmMain::isAway() const {
    return away.isAway();
}

void frmMain::setAwayHeight(bool enlarged) {
    setFixedSize(twips::toPixelsX(kClientWidth),
                 twips::toPixelsY(enlarged ? kAwayHeight : kPresentHeight));
    // Out of sight below the client area anyway; hidden so that focus and
    // accessibility tools do not reach it either.
    PicAway->setVisible(enlarged);
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
    if (!toc::cmd::fitsServer(toc::cmd::setAway(text))) {
        Errors(tooLongText(QStringLiteral("away message")));
        return;
    }
    if (!toc->SetAwayMessage(text)) {
        notSent();
        return;
    }
    setAwayHeight(true);
    labAwayMsgs->setText(QStringLiteral("0"));
    if (chkSaveAway->isChecked() && lstAway->findItems(text, Qt::MatchExactly).isEmpty()) {
        lstAway->addItem(text);
        rememberAwayMessages();
    }
    // A new away period: every partner may be answered and warned again.
    away.start(text);
}

void frmMain::Command7_Click() {
    if (!toc->SetAwayMessage(QString())) {
        notSent();
        return;
    }
    setAwayHeight(false);
    // The conversations opened while away get their tabs now.
    const QStringList held = away.end();
    for (const QString &name : held)
        if (!isTab(name) && imViewOf(name))
            addTab(name);
}

void frmMain::Command9_Click() {
    sendProfile();
}

// The profile, unless it is longer than servers take (one that is signs
// the user off on some servers): then the alert says so and nothing goes.
void frmMain::sendProfile() {
    const QString profile = profileText();
    if (!toc::cmd::fitsServer(toc::cmd::setInfo(profile)))
        Errors(tooLongText(QStringLiteral("profile")));
    else if (!toc->SetProfile(profile))
        notSent();
}

void frmMain::Label24_Click() {
    QPointer<frmMain> self(this);
    dialogs()->inputText(this, QString(), QStringLiteral("New Format"), txtSn->text(),
                         [self](const QString &text) {
                             // A cancelled box gives the empty text: nothing to send.
                             if (self && !text.isEmpty() && !self->toc->FormatUserName(text))
                                 self->notSent();
                         });
}

// LoggedIn: the profile sent to the server is the profile page's text.
QString frmMain::profileText() const {
    return txtProfile ? txtProfile->toPlainText() : kDefaultProfile;
}

// Routing asks before adding the tab of a conversation an IM opened.
bool frmMain::holdNewIMTabs() const {
    return away.isAway() && chkNoIm->isChecked();
}

// Runs once for every incoming IM, after it reached its view.
void frmMain::awayIncomingIM(const QString &sender) {
    if (!away.isAway())
        return;
    labAwayMsgs->setText(QString::number(away.countIM()));
    ctlIM *view = imViewOf(sender);
    if (holdNewIMTabs() && view && !isTab(view->IMUser))
        away.hold(view->IMUser);

    if (chkAuto->isChecked() && away.firstAnswer(sender)) {
        toc->SendIM(sender, away.message(), true);
        if (view)
            view->im_msg(ownScreenName(), away.message());
        keepLine(HistoryLine::im(sender, true, HistoryLine::Kind::AutoResponse, ownScreenName(),
                                 away.message()));
    }
    if (chkAutoWarn->isChecked() && away.firstWarning(sender))
        toc->WarnUser(sender, false);
}
