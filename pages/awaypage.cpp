#include "awaypage.h"

#include "awaystrip.h"
#include "client/awaystate.h"
#include "client/clientsettings.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "uikit/anchors.h"
#include "uikit/pagewidgets.h"
#include "views/spellmenu.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace pagewidgets;

namespace {
const QString kDefaultEntry = QStringLiteral("Default");
const QString kDefaultAway = QStringLiteral("I am away from my computer right now.");

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

AwayPage::AwayPage(const PageKit &kit, AwayState *away, AwayStrip *awayStrip, QWidget *parent)
    : QWidget(parent), strip(awayStrip), m_kit(kit), m_away(away) {
    setObjectName(QStringLiteral("pageAway"));
    Label20 = label(this, "Label20", QStringLiteral("Away Messages"), onPage(120, 360, 1335, 255));
    lstAway = list(this, "lstAway", onPage(120, 600, 1695, 1530));
    lstAway->addItem(kDefaultEntry);
    lstAway->setAccessibleName(QStringLiteral("Away Messages"));
    anchors::stretch(lstAway, anchors::Both);
    // Only the user's choice copies an entry: a click (also on the entry
    // already selected) or a key that moves to another.
    connect(lstAway, &QListWidget::itemClicked, this, [this] { lstAway_Click(); });
    new KeyChoiceWatcher(lstAway, [this] { lstAway_Click(); });
    txtAway = textBox(this, "txtAway", QStringLiteral("I am away from my \ncomputer right now.\n"),
                      onPage(1920, 600, 1815, 1215));
    txtAway->setAccessibleName(QStringLiteral("Away message"));
    spelling::attach(txtAway, kit.spell);
    chkSaveAway = check(this, "chkSaveAway", QStringLiteral("Save"), onPage(1920, 1875, 735, 210));
    Command3 = button(this, "Command3", QStringLiteral("Set Away"), onPage(2760, 1850, 975, 255));
    connect(Command3, &QPushButton::clicked, this, &AwayPage::Command3_Click);
    // The list takes a larger page's room; the message and its buttons
    // keep their size at the right edge.
    anchors::move(txtAway, anchors::Right);
    anchors::move(chkSaveAway, anchors::Right);
    anchors::move(Command3, anchors::Right);
    connect(strip->Command7, &QPushButton::clicked, this, &AwayPage::Command7_Click);

    // The entries after "Default", as saved.
    if (const auto messages = m_kit.settings ? m_kit.settings->awayMessages() : std::nullopt)
        for (const QString &text : *messages)
            if (lstAway->findItems(text, Qt::MatchExactly).isEmpty())
                lstAway->addItem(text);
}

void AwayPage::lstAway_Click() {
    const QListWidgetItem *item = lstAway->currentItem();
    if (!item)
        return;
    txtAway->setPlainText(item->text() == kDefaultEntry ? kDefaultAway : item->text());
}

void AwayPage::Command3_Click() {
    const QString text = txtAway->toPlainText();
    if (text.isEmpty())
        return;
    if (!toc::cmd::fitsServer(toc::cmd::setAway(text))) {
        m_kit.Errors(tooLongText(QStringLiteral("away message")));
        return;
    }
    if (!m_kit.toc->SetAwayMessage(text)) {
        m_kit.notSent();
        return;
    }
    strip->labAwayMsgs->setText(QStringLiteral("0"));
    if (chkSaveAway->isChecked() && lstAway->findItems(text, Qt::MatchExactly).isEmpty()) {
        lstAway->addItem(text);
        rememberMessages();
    }
    // A new away period: every partner may be answered and warned again.
    m_away->start(text);
    emit awayChanged(true);
}

void AwayPage::Command7_Click() {
    if (!m_kit.toc->SetAwayMessage(QString())) {
        m_kit.notSent();
        return;
    }
    emit awayChanged(false);
    // The conversations opened while away get their tabs now.
    emit released(m_away->end());
}

void AwayPage::rememberMessages() {
    if (!m_kit.settings)
        return;
    QStringList saved;
    for (int i = 1; i < lstAway->count(); ++i)
        saved << lstAway->item(i)->text();
    m_kit.settings->setAwayMessages(saved);
}

bool AwayPage::holdsNewTabs() const {
    return m_away->isAway() && strip->chkNoIm->isChecked();
}

bool AwayPage::incomingIM(const QString &sender) {
    if (!m_away->isAway())
        return false;
    strip->labAwayMsgs->setText(QString::number(m_away->countIM()));
    bool answered = false;
    if (strip->chkAuto->isChecked() && m_away->firstAnswer(sender)) {
        m_kit.toc->SendIM(sender, m_away->message(), true);
        answered = true;
    }
    if (strip->chkAutoWarn->isChecked() && m_away->firstWarning(sender))
        m_kit.toc->WarnUser(sender, false);
    return answered;
}
