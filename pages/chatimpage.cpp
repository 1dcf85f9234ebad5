#include "chatimpage.h"

#include "client/conversations.h"
#include "protocol/qeltocsock.h"
#include "uikit/anchors.h"
#include "uikit/pagewidgets.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"

#include <QLineEdit>
#include <QPushButton>

using namespace pagewidgets;

namespace {
// The page's buttons take the window's background.
QPushButton *pageButton(QWidget *page, const char *name, const QString &text, QRect where) {
    QPushButton *b = button(page, name, text, where);
    uicolors::setBackColor(b, uicolors::windowBack());
    return b;
}
} // namespace

ChatIMPage::ChatIMPage(const PageKit &kit, Conversations *conversations, QWidget *parent)
    : QWidget(parent), m_kit(kit), m_conversations(conversations) {
    setObjectName(QStringLiteral("pageChatIM"));
    txtChatName =
        field(this, "txtChatName", QStringLiteral("Chat100"), twips::rect(120, 360, 2175, 315));
    txtEx = field(this, "txtEx", QStringLiteral("4"), twips::rect(2280, 360, 375, 315));
    cmdChat =
        pageButton(this, "cmdChat", QStringLiteral("Join Chat"), twips::rect(2760, 360, 855, 315));
    // "Screen Name" is a hint, never text: typed after it, it became part
    // of the partner's name.
    txtIM = field(this, "txtIM", QString(), twips::rect(120, 720, 2535, 315));
    txtIM->setPlaceholderText(QStringLiteral("Screen Name"));
    cmdIM = pageButton(this, "cmdIM", QStringLiteral("Send IM"), twips::rect(2760, 720, 855, 315));
    txtChatName->setAccessibleName(QStringLiteral("Chat room"));
    txtEx->setAccessibleName(QStringLiteral("Exchange"));
    txtIM->setAccessibleName(QStringLiteral("Screen name to send an IM to"));
    // The name fields take a wider page's room; the buttons keep to the right.
    anchors::stretch(txtChatName, anchors::Right);
    anchors::stretch(txtIM, anchors::Right);
    for (QWidget *w : std::initializer_list<QWidget *>{txtEx, cmdChat, cmdIM})
        anchors::move(w, anchors::Right);
    connect(cmdChat, &QPushButton::clicked, this, &ChatIMPage::cmdChat_Click);
    connect(cmdIM, &QPushButton::clicked, this, &ChatIMPage::cmdIM_Click);
}

void ChatIMPage::cmdIM_Click() {
    const QString name = txtIM->text();
    // An empty partner is the mark of the template and of closed views.
    if (name.isEmpty()) {
        m_kit.Errors(QStringLiteral("Please type the screen name to send an IM to."));
        return;
    }
    emit imRequested(name);
}

void ChatIMPage::cmdChat_Click() {
    // Servers keep a room's spaces and case: the name goes out as typed,
    // trimmed.
    const QString room = txtChatName->text().trimmed();
    txtChatName->setText(room);
    if (m_conversations->inRoomNamed(room)) {
        m_kit.Errors(QStringLiteral("You are already in this chat"));
        return;
    }
    bool ok = false;
    const qint16 exchange = txtEx->text().trimmed().toShort(&ok);
    if (!ok) {
        m_kit.Errors(QStringLiteral("The exchange must be a number."));
        return;
    }
    if (!m_kit.toc->JoinChat(room, exchange)) {
        m_kit.notSent();
        return;
    }
    m_conversations->awaitRoom(room);
}
