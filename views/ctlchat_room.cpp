// The chat view's operations: messages, members, sending, leaving.
#include "ctlchat.h"

#include "client/notsenttext.h"
#include "inputbox.h"
#include "messagescan.h"
#include "notsent.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "transcript.h"
#include "uikit/twips.h"
#include "viewhost.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <cmath>

namespace {

// Rows of the member list are taken as this many pixels high.
constexpr int kRowPixels = 16;

// A tooltip that shows text exactly: Qt would read "<b>x" as markup.
QString plainToolTip(const QString &text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QLatin1String("<qt>") + text.toHtmlEscaped() + QLatin1String("</qt>");
}

} // namespace

void ctlChat::chatMsg(const QString &user, const QString &msg) {
    const MessageStyle style = CheckFont->isChecked()
                                   ? render::scanMessage(msg, render::BackMarker::Bare)
                                   : MessageStyle{};
    render::showMessage(TEXT, user, msg, style, render::kChatLimit);
}

void ctlChat::addMemberLine(const QString &name, const QString &what) {
    const QString black = QStringLiteral("0");
    const QString white = QStringLiteral("16777215");
    const QString arial = QStringLiteral("Arial");
    add_text2(TEXT, name, black, white, true, false, false, false, arial, render::kChatLimit);
    add_text2(TEXT, what + QLatin1String("\r\n"), black, white, false, false, false, false, arial,
              render::kChatLimit);
}

void ctlChat::UserUpdate(const QString &user, bool Join) {
    const QString name = toc::normalizeScreenName(user);
    if (Join) {
        auto *item = new QListWidgetItem(name);
        item->setSizeHint(QSize(lstPPL->fontMetrics().horizontalAdvance(name) + 8, kRowPixels));
        lstPPL->addItem(item);
        addMemberLine(name, QStringLiteral(" has entered the room."));
    } else {
        // Indexes from the count before the loop; no step back after a
        // removal, and indexes past the shortened end match nothing.
        const int count = lstPPL->count();
        for (int i = 0; i < count; ++i) {
            if (i < lstPPL->count() && lstPPL->item(i)->text() == name) {
                delete lstPPL->takeItem(i);
                addMemberLine(name, QStringLiteral(" has left the room."));
            }
        }
    }
    updateCount();
}

void ctlChat::updateCount() {
    labPPL->setText(QString::number(lstPPL->count()));
}

void ctlChat::LeftChat() {
    // A draft the user typed stays; only an empty box gets the placeholder.
    if (txtMsg->toPlainText().trimmed().isEmpty())
        txtMsg->setPlainText(tr("Message"));
    TEXT->clear();
    txtMsg->setEnabled(false);
    lstPPL->setEnabled(false);
    chameleonButton1->setEnabled(false);
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
    const int row =
        int(std::floor(y / (twips::perPixelY() * kRowPixels))) + (top.isValid() ? top.row() : 0);
    const QString text = (row >= 0 && row < xList->count()) ? xList->item(row)->text() : QString();
    xList->setToolTip(plainToolTip(text));
}

void ctlChat::txtMsg_Change() {
    if (render::hasLineBreak(txtMsg->toPlainText()))
        chameleonButton1_Click();
}

void ctlChat::chameleonButton1_Click() {
    if (!m_host)
        return;
    const QString prefix = render::outgoingPrefix(m_host->formatSettings());
    const QString input = txtMsg->toPlainText();
    if (input.startsWith(QLatin1Char('!'))) {
        m_host->Errors(tr("Invalid exclamation command."));
    } else {
        QelTOCSock *toc = m_host->tocControl();
        bool idOk = false;
        const qint32 id = Chatid2.toInt(&idOk);
        const QString message = prefix + render::withoutLineBreaks(input);
        if (!toc::cmd::fitsServer(toc::cmd::chatSend(id, message))) {
            render::showNotSentText(TEXT, tooLongText(QStringLiteral("message")),
                                    render::kChatLimit);
            render::keepDraft(txtMsg);
            return;
        }
        if (!toc || !idOk || !toc->SendChat(QString(), message, id)) {
            render::showNotSent(TEXT, toc, render::kChatLimit);
            render::keepDraft(txtMsg);
            return;
        }
    }
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
