// The IM view's buttons and the Enter key.
#include "ctlim.h"

#include "client/notsenttext.h"
#include "client/outbox.h"
#include "client/seenonline.h"
#include "inputbox.h"
#include "messagescan.h"
#include "notsent.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "sendpaced.h"
#include "transcript.h"
#include "transcriptview.h"
#include "uikit/dialogprovider.h"
#include "uikit/shownname.h"
#include "viewhost.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace {
void keepNotSent(ViewHost *host, const QString &partner, const QString &text) {
    host->keepLine(HistoryLine::im(partner, true, HistoryLine::Kind::NotSent, QString(), text));
}
} // namespace

void ctlIM::Command3_Click() {
    if (!m_host)
        return;
    const QString typed = txtMsg->toPlainText();
    const QString message =
        render::outgoingPrefix(m_host->formatSettings()) + render::typedAsHtml(typed);
    if (!toc::cmd::fitsServer(toc::cmd::sendIm(IMUser, message, false))) {
        // What was typed stays in the box, to be shortened.
        keepNotSent(m_host, IMUser,
                    render::showNotSentText(TEXT, tooLongText(QStringLiteral("message")),
                                            render::kNoLimit));
        return;
    }
    im_msg(m_host->ownScreenName(), message);
    m_host->keepLine(HistoryLine::im(IMUser, true, HistoryLine::Kind::Message,
                                     m_host->ownScreenName(), message));
    ViewHost *host = m_host;
    const QString partner = IMUser;
    render::Sending how;
    how.view = this;
    how.TEXT = TEXT;
    how.box = txtMsg;
    how.limit = render::kNoLimit;
    how.typed = typed;
    how.keepNotSent = [host, partner](const QString &text) { keepNotSent(host, partner, text); };
    const bool sent = render::sendPaced(m_host, how, [host, partner, message] {
        QelTOCSock *toc = host->tocControl();
        return toc && toc->SendIM(partner, message, false);
    });
    if (!sent)
        return; // the box keeps the text, to be sent again
    txtMsg->clear();
    // Servers drop an IM to someone offline without a word: said when the
    // partner is known offline, or once the server says so.
    if (Outbox *outbox = m_host->outbox()) {
        const QPointer<ctlIM> self(this);
        outbox->seen->whenOffline(partner, [self, partner] {
            if (self && self->IMUser == partner)
                render::showNotSentText(
                    self->TEXT,
                    shown::nameInText(partner) +
                        QLatin1String(" appears offline: the message may not be delivered."),
                    render::kNoLimit);
        });
    }
}

void ctlIM::Command2_Click() {
    if (!m_host || !m_host->dialogs())
        return;
    // The partner as it is now: the answer may come after the view closed.
    const QString user = IMUser;
    QPointer<ctlIM> self(this);
    // Two ways to warn and a way out: each button says what it does.
    m_host->dialogs()->chooseOrCancel(
        this, tr("Warn User"),
        tr("Warn %1? An anonymous warning does not tell them who warned.")
            .arg(shown::withoutControls(user)),
        tr("Warn anonymously"), tr("Warn"), [self, user](DialogProvider::Answer answer) {
            if (!self || !self->m_host || answer == DialogProvider::Answer::Cancel)
                return;
            if (QelTOCSock *toc = self->m_host->tocControl())
                toc->WarnUser(user, answer == DialogProvider::Answer::Yes);
        });
}

void ctlIM::Command1_Click() {
    if (m_host)
        m_host->blockFromView(IMUser);
}

void ctlIM::cmdIgnore_Click() {
    if (m_host)
        m_host->showAddBuddy();
}

void ctlIM::Command4_Click() {
    // The window frees the view later; its icon fetch ends now.
    stopIconFetch();
    emit typed(IMUser, false);
    if (m_host)
        m_host->CloseTab(IMUser);
    emit KillIM(m_index);
    IMUser.clear();
}
