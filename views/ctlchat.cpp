#include "ctlchat.h"

#include "inputbox.h"
#include "memberlines.h"
#include "memberlist.h"
#include "spellmenu.h"
#include "transcript.h"
#include "transcriptedit.h"
#include "transcriptlinks.h"
#include "uikit/contextmenus.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "viewhost.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

ctlChat::ctlChat(ViewHost *host, QWidget *parent) : QWidget(parent), m_host(host) {
    buildControls();
    // Chatids and Chatid2 are set after construction; the owner then calls
    // UpdateFonts itself.
}

// Out of line: the member list and lines are complete types here.
ctlChat::~ctlChat() = default;

void ctlChat::buildControls() {
    TEXT = new TranscriptEdit(this);
    TEXT->setObjectName(QStringLiteral("TEXT"));
    render::setupTranscript(TEXT);
    new TranscriptLinks(TEXT, [this](const QString &text) { m_host->Errors(text); });
    TEXT->viewport()->installEventFilter(this);
    m_memberLines = std::make_unique<MemberLines>(TEXT, render::kChatLimit);

    txtMsg = new QPlainTextEdit(this);
    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    txtMsg->setFont(QFont(QStringLiteral("Arial")));
    // A greyed hint, never text of its own: it is never sent.
    txtMsg->setPlaceholderText(tr("Message"));
    spelling::attach(txtMsg, m_host->spellChecker());
    txtMsg->setFixedHeight(40);
    // Tab moves on to the buttons, as in any dialog; a message has no tabs.
    txtMsg->setTabChangesFocus(true);
    txtMsg->setAccessibleName(tr("Message"));
    TEXT->setAccessibleName(tr("Room conversation"));

    lstPPL = new QListWidget(this);
    lstPPL->setObjectName(QStringLiteral("lstPPL"));
    lstPPL->setUniformItemSizes(true);
    lstPPL->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    lstPPL->viewport()->setMouseTracking(true);
    lstPPL->viewport()->installEventFilter(this);
    lstPPL->setMaximumWidth(kMemberListWidth);
    lstPPL->setAccessibleName(tr("People Here"));
    // Members keep their names as they arrived; they are drawn escaped.
    lstPPL->setItemDelegate(new shown::NameDelegate(lstPPL));
    m_members = std::make_unique<MemberList>(lstPPL);
    buildMemberMenu();

    labPPL = new QLabel(QStringLiteral("0"), this);
    labPPL->setObjectName(QStringLiteral("labPPL"));
    labPPL2 = new QLabel(tr("People Here"), this);
    labPPL2->setObjectName(QStringLiteral("labPPL2"));

    CheckFont = new QCheckBox(tr("Show Fonts"), this);
    CheckFont->setObjectName(QStringLiteral("CheckFont"));
    CheckFont->setChecked(true);

    chameleonButton1 = new QPushButton(tr("Send"), this);
    chameleonButton1->setObjectName(QStringLiteral("chameleonButton1"));
    cmdLeave = new QPushButton(tr("Leave Chat"), this);
    cmdLeave->setObjectName(QStringLiteral("cmdLeave"));

    auto *count = new QHBoxLayout;
    count->addWidget(labPPL);
    count->addWidget(labPPL2, 1);
    auto *people = new QVBoxLayout;
    people->addLayout(count);
    people->addWidget(lstPPL, 1);
    people->addWidget(CheckFont);

    auto *room = new QHBoxLayout;
    room->addWidget(TEXT, 1);
    room->addLayout(people);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(chameleonButton1);
    buttons->addWidget(cmdLeave);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(room, 1);
    layout->addWidget(txtMsg);
    layout->addLayout(buttons);

    connect(chameleonButton1, &QPushButton::clicked, this, &ctlChat::chameleonButton1_Click);
    connect(cmdLeave, &QPushButton::clicked, this, &ctlChat::cmdLeave_Click);
    render::sendOnEnter(txtMsg, [this] { chameleonButton1_Click(); });
}

void ctlChat::buildMemberMenu() {
    mnuMember = new QMenu(this);
    mnuMember->setObjectName(QStringLiteral("mnuMember"));
    const auto item = [this](const char *name, const QString &text, auto act) {
        QAction *a = mnuMember->addAction(text);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, act] {
            if (m_host && !m_menuMember.isEmpty())
                act(m_host, m_menuMember);
        });
    };
    item("mnuMemberIM", tr("IM"),
         [](ViewHost *host, const QString &who) { host->openIMFromView(who); });
    item("mnuMemberProfile", tr("Get Profile"),
         [](ViewHost *host, const QString &who) { host->profileFromView(who); });
    item("mnuMemberBlock", tr("Block"),
         [](ViewHost *host, const QString &who) { host->blockFromView(who); });
    item("mnuMemberCopy", tr("Copy Name"), [](ViewHost *, const QString &who) {
        QGuiApplication::clipboard()->setText(shown::name(who));
    });
    contextmenus::forItems(lstPPL, [this](const QModelIndex &member, const QPoint &where) {
        if (!member.isValid())
            return;
        lstPPL->setCurrentIndex(member);
        m_menuMember = member.data().toString();
        mnuMember->popup(where);
    });
}

void ctlChat::focusInput() {
    txtMsg->setFocus(Qt::TabFocusReason);
}

// The member list keeps its width in a small view and takes a quarter of a
// wide one, so that long names show when there is room.
void ctlChat::resizeEvent(QResizeEvent *event) {
    lstPPL->setMaximumWidth(qMax(kMemberListWidth, width() / 4));
    QWidget::resizeEvent(event);
}

bool ctlChat::eventFilter(QObject *watched, QEvent *event) {
    if (watched == TEXT->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        m_memberLines->write();
        TEXT->clear();
        return true;
    }
    if (watched == lstPPL->viewport() && event->type() == QEvent::MouseMove) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        ShowToolTip(lstPPL, int(mouse->position().y() * twips::perPixelY()));
    }
    return QWidget::eventFilter(watched, event);
}
