// The IM view's buttons and the Enter key.
#include "ctlim.h"

#include "client/notsenttext.h"
#include "inputbox.h"
#include "messagescan.h"
#include "notsent.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "transcript.h"
#include "transcriptview.h"
#include "uikit/dialogprovider.h"
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

void ctlIM::txtMsg_Change() {
    emit typed(IMUser, !txtMsg->toPlainText().isEmpty());
    if (render::hasLineBreak(txtMsg->toPlainText()))
        Command3_Click();
}

void ctlIM::Command3_Click() {
    if (!m_host)
        return;
    const QString message =
        render::outgoingPrefix(m_host->formatSettings()) + render::withCrLf(txtMsg->toPlainText());
    if (!toc::cmd::fitsServer(toc::cmd::sendIm(IMUser, message, false))) {
        keepNotSent(m_host, IMUser,
                    render::showNotSentText(TEXT, tooLongText(QStringLiteral("message")),
                                            render::kNoLimit));
        render::keepDraft(txtMsg);
        return;
    }
    im_msg(m_host->ownScreenName(), message);
    m_host->keepLine(HistoryLine::im(IMUser, true, HistoryLine::Kind::Message,
                                     m_host->ownScreenName(), message));
    QelTOCSock *toc = m_host->tocControl();
    if (!toc || !toc->SendIM(IMUser, message, false)) {
        keepNotSent(m_host, IMUser, render::showNotSent(TEXT, toc, render::kNoLimit));
        // What was typed and not sent stays, to be sent again.
        render::keepDraft(txtMsg);
        return;
    }
    txtMsg->clear();
}

void ctlIM::Command2_Click() {
    if (!m_host || !m_host->dialogs())
        return;
    // The partner as it is now: the answer may come after the view closed.
    const QString user = IMUser;
    QPointer<ctlIM> self(this);
    m_host->dialogs()->question(this, tr("Warn User"), tr("warn anonymously?"), true,
                                [self, user](DialogProvider::Answer answer) {
                                    if (!self || !self->m_host ||
                                        answer == DialogProvider::Answer::Cancel)
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
