// The "chat/im" settings page: the room and exchange fields with "Join
// Chat", the partner field with "Send IM".
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "uikit/pagewidgets.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

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

void frmMain::buildChatIMPage() {
    txtChatName = field(pageChatIM, "txtChatName", QStringLiteral("Chat100"),
                        twips::rect(120, 360, 2175, 315));
    txtEx = field(pageChatIM, "txtEx", QStringLiteral("4"), twips::rect(2280, 360, 375, 315));
    cmdChat = pageButton(pageChatIM, "cmdChat", QStringLiteral("Join Chat"),
                         twips::rect(2760, 360, 855, 315));
    txtIM =
        field(pageChatIM, "txtIM", QStringLiteral("Screen Name"), twips::rect(120, 720, 2535, 315));
    cmdIM = pageButton(pageChatIM, "cmdIM", QStringLiteral("Send IM"),
                       twips::rect(2760, 720, 855, 315));
    connect(cmdChat, &QPushButton::clicked, this, &frmMain::cmdChat_Click);
    connect(cmdIM, &QPushButton::clicked, this, &frmMain::cmdIM_Click);
}

void frmMain::cmdIM_Click() {
    const QString name = txtIM->text();
    // An empty partner is the mark of the template and of closed views.
    if (name.isEmpty()) {
        Errors(QStringLiteral("Please type the screen name to send an IM to."));
        return;
    }
    // One conversation per person: an open one is brought forward.
    if (const ctlIM *open = imViewOf(name)) {
        selectTab(open->IMUser);
        return;
    }
    // The new view shows once its tab is selected.
    openIMView(name);
    addTab(name);
}

// A room open under this name, compared as servers compare room names
// (ignoring case, keeping spaces).
bool frmMain::inRoom(const QString &room) const {
    for (const ctlChat *view : chatViews)
        if (view && !view->Chatids.isEmpty() &&
            view->roomName().compare(room, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void frmMain::cmdChat_Click() {
    // Servers keep a room's spaces and case: the name goes out as typed,
    // trimmed.
    const QString room = txtChatName->text().trimmed();
    txtChatName->setText(room);
    if (inRoom(room)) {
        Errors(QStringLiteral("You are already in this chat"));
        return;
    }
    bool ok = false;
    const qint16 exchange = txtEx->text().trimmed().toShort(&ok);
    if (!ok) {
        Errors(QStringLiteral("The exchange must be a number."));
        return;
    }
    if (!toc->JoinChat(room, exchange)) {
        notSent();
        return;
    }
    m_lastRoom = room;
}
