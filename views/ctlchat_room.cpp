// The chat view's operations: messages, members, sending, leaving.
#include "ctlchat.h"

#include "client/notsenttext.h"
#include "inputbox.h"
#include "memberlines.h"
#include "memberlist.h"
#include "messagescan.h"
#include "notsent.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "sendpaced.h"
#include "transcript.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "viewhost.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <cmath>

namespace {

// Member changes shown as they come in one pass of the event loop; the
// rest wait for its end. A few keep a frame's joins in view at once, and
// bound what a flood costs before the loop runs again.
constexpr int kMemberUpdatesShownAtOnce = 32;

} // namespace

void ctlChat::chatMsg(const QString &user, const QString &msg) {
    // A message that comes with the room's first listing after joining
    // again ends that listing, so who left meanwhile is said before it.
    if (m_quietPass && m_memberPassEnding)
        endMemberPass();
    m_memberLines->write();
    render::showMessage(
        TEXT, user, msg,
        {CheckFont->isChecked(), m_timestamps ? QTime::currentTime() : QTime(), false, m_smileys},
        render::kChatLimit);
}

void ctlChat::UserUpdate(const QString &user, bool Join) {
    const QString name = toc::normalizeScreenName(user);
    if (m_quietPass && Join && m_before.remove(name)) {
        m_members->join(name); // here before the connection ended
    } else if (Join) {
        // A name listed already is not listed twice; the line is written
        // for every join, as the server reports it.
        m_members->join(name);
        m_memberLines->add(shown::nameInText(name), QStringLiteral(" has entered the room."));
    } else if (m_members->leave(name)) {
        m_memberLines->add(shown::nameInText(name), QStringLiteral(" has left the room."));
    }
    if (!m_memberPassEnding) {
        m_memberPassEnding = true;
        QTimer::singleShot(0, this, &ctlChat::endMemberPass);
    }
    if (++m_memberUpdatesThisPass <= kMemberUpdatesShownAtOnce)
        showMembers();
}

void ctlChat::endMemberPass() {
    m_memberPassEnding = false;
    m_memberUpdatesThisPass = 0;
    // The room's first listing after joining again is over: whoever it
    // did not list left meanwhile.
    if (m_quietPass) {
        m_quietPass = false;
        QList<QString> gone(m_before.cbegin(), m_before.cend());
        gone.sort();
        for (const QString &name : std::as_const(gone))
            m_memberLines->add(shown::nameInText(name), QStringLiteral(" has left the room."));
        m_before.clear();
    }
    showMembers();
}

void ctlChat::showMembers() {
    m_members->apply();
    updateCount();
    m_memberLines->write();
}

void ctlChat::updateCount() {
    labPPL->setText(QString::number(lstPPL->count()));
}

void ctlChat::LeftChat() {
    // A draft the user typed stays (an empty box shows its greyed hint).
    m_memberLines->write();
    TEXT->clear();
    txtMsg->setEnabled(false);
    lstPPL->setEnabled(false);
    chameleonButton1->setEnabled(false);
}

void ctlChat::connectionLost() {
    m_memberLines->write();
    // A connection lost again before the room was listed keeps the first list.
    for (const QString &name : m_members->names())
        m_before.insert(name);
    m_quietPass = !m_before.isEmpty();
    m_members->clear();
    updateCount();
    if (!Chatids.isEmpty())
        Chatid2.clear();
}

void ctlChat::showNote(const QString &text) {
    m_memberLines->write();
    render::showNotSentText(TEXT, text, render::kChatLimit);
    if (m_host)
        m_host->keepLine(
            HistoryLine::inRoom(roomName(), true, HistoryLine::Kind::NotSent, QString(), text));
}

void ctlChat::UpdateFonts() {
    if (!m_host)
        return;
    const FormatSettings settings = m_host->formatSettings();
    render::applyStyleFlags(txtMsg, settings);
    render::applyTextColor(txtMsg, settings.fontColorx);
    render::applyBackColor(txtMsg, settings.backColorx);
    render::applyFontName(txtMsg, settings.fontFace);
}

void ctlChat::ShowToolTip(QListWidget *xList, int y) {
    if (!xList)
        return;
    const QModelIndex top = xList->indexAt(QPoint(0, 0));
    const int row = int(std::floor(y / (twips::perPixelY() * MemberList::kRowPixels))) +
                    (top.isValid() ? top.row() : 0);
    const QString text = (row >= 0 && row < xList->count()) ? xList->item(row)->text() : QString();
    xList->setToolTip(shown::plainToolTip(shown::name(text)));
}

void ctlChat::chameleonButton1_Click() {
    if (!m_host)
        return;
    const QString input = txtMsg->toPlainText();
    if (input.startsWith(QLatin1Char('!'))) {
        m_host->Errors(tr("Invalid exclamation command."));
        txtMsg->clear();
        return;
    }
    ViewHost *host = m_host;
    const QString room = roomName();
    const auto keepNotSent = [host, room](const QString &text) {
        host->keepLine(
            HistoryLine::inRoom(room, true, HistoryLine::Kind::NotSent, QString(), text));
    };
    bool idOk = false;
    const qint32 id = Chatid2.toInt(&idOk);
    const QString message =
        render::outgoingPrefix(m_host->formatSettings()) + render::typedAsHtml(input);
    if (!toc::cmd::fitsServer(toc::cmd::chatSend(id, message))) {
        // What was typed stays in the box, to be shortened.
        keepNotSent(render::showNotSentText(TEXT, tooLongText(QStringLiteral("message")),
                                            render::kChatLimit));
        return;
    }
    m_memberLines->write();
    render::Sending how;
    how.kind = SendPacer::Kind::Room;
    how.view = this;
    how.TEXT = TEXT;
    how.box = txtMsg;
    how.limit = render::kChatLimit;
    how.typed = input;
    how.keepNotSent = keepNotSent;
    const QString own = m_host->ownScreenName();
    how.showLine = [this, own, message] { chatMsg(own, message); };
    // The view may have left its room by the time the line's turn comes.
    const QPointer<ctlChat> self(this);
    const bool sent = render::sendPaced(m_host, how, [self, host, message, id, idOk] {
        QelTOCSock *toc = host->tocControl();
        return self && idOk && !self->Chatid2.isEmpty() && toc &&
               toc->SendChat(QString(), message, id);
    });
    if (sent)
        txtMsg->clear();
}

void ctlChat::cmdLeave_Click() {
    bool idOk = false;
    const qint32 id = Chatid2.toInt(&idOk);
    if (m_host && m_host->tocControl() && idOk)
        m_host->tocControl()->LeaveChat(QString(), id);
    emit ExitChat(m_index);
    // A view that left its room matches no id, 0 included.
    Chatids.clear();
    Chatid2.clear();
    if (m_host)
        m_host->TabUpdate();
}
