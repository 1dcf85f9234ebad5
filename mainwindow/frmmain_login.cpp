// Signing on and off, the status line, and the alert routine.
#include "buddytree.h"
#include "dialogs/frmerr.h"
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "uikit/shownname.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <utility>

namespace {
const QString kConnecting = QStringLiteral("Connecting...");
const QString kSending = QStringLiteral("Sending information");
} // namespace

void frmMain::connectProtocol() {
    connect(toc, &QelTOCSock::IncomingPacket, this, &frmMain::toc_IncomingPacket);
    connect(toc, &QelTOCSock::Error, this, &frmMain::toc_Error);
    connect(toc, &QelTOCSock::LoggedOut, this, &frmMain::toc_LoggedOut);
    connect(toc, &QelTOCSock::ScreennameFormat, this, &frmMain::toc_ScreennameFormat);
    connect(toc, &QelTOCSock::WinsockError, this, &frmMain::toc_WinsockError);
    connect(toc, &QelTOCSock::Disconnected, this, &frmMain::toc_Disconnected);
    connect(toc, &QelTOCSock::LoggedIn, this, &frmMain::toc_LoggedIn);
    connect(toc, &QelTOCSock::BuddyUpdate, this, &frmMain::toc_BuddyUpdate);
    connect(toc, &QelTOCSock::BuddyAdded, this, &frmMain::toc_BuddyAdded);
    connect(toc, &QelTOCSock::GroupRemoved, this, &frmMain::toc_GroupRemoved);
    connectConversations();
    connectServerEvents();
    connectInvitations();
}

void frmMain::cmdLogin_Click() {
    // The handlers of the session must be in place before it starts.
    finishBuilding();
    bool ok = false;
    const int port = txtPort->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        Errors(QStringLiteral("The port must be a number from 1 to 65535."));
        return;
    }
    labStat->setText(kConnecting);
    m_signedOn = false;
    toc->Login(txtSn->text(), txtPw->text(), txtServer->text(), port, kAuthServer);
}

void frmMain::toc_IncomingPacket(const QByteArray &) {
    if (labStat->text() == kConnecting)
        labStat->setText(kSending);
}

void frmMain::toc_Error(qint16, const QString &strError) {
    Errors(strError);
    // A refused sign-on ends the session; an error while signed on (an IM
    // that could not be delivered, a server's internal error) does not.
    if (!m_signedOn || !toc->isConnected())
        labStat->setText(kOffline);
}

void frmMain::toc_LoggedOut(const QString &) {
    m_signedOn = false;
    labStat->setText(kOffline);
}

void frmMain::toc_ScreennameFormat(const QString &strFormattedSN) {
    // The user's own name, sent back at the next sign-on: no controls.
    const QString name = shown::withoutControls(strFormattedSN);
    if (!name.isEmpty())
        txtSn->setText(name);
}

void frmMain::toc_WinsockError(const QString &strError) {
    // Connection refused, host not found, connection lost: the sign-on
    // (or the session) is over.
    const bool wasSignedOn = std::exchange(m_signedOn, false);
    Errors(strError);
    labStat->setText(kOffline);
    if (wasSignedOn)
        showOffline();
}

void frmMain::toc_Disconnected() {
    // During sign-on a refusing server sends its error and then closes:
    // that error stays the text the user reads.
    const bool wasSignedOn = std::exchange(m_signedOn, false);
    labStat->setText(kOffline);
    if (wasSignedOn) {
        Errors(QStringLiteral("The server closed the connection."));
        showOffline();
    }
}

// The settings pages and the conversations stay, but nothing shown claims
// a session any more: the header says offline and no buddy is shown online.
// "Logout" leads back to the login frame.
void frmMain::showOffline() {
    showHeader(QStringLiteral(": offline"), true);
    TreeBL->removeAllBuddies();
}

void frmMain::Label6_Click() {
    toc->LogOff();
    logout();
}

void frmMain::logout() {
    m_signedOn = false;
    frmLogin->show();
    clearPrivacyLists();
    resetViewsOnLogout();
    stopHistory();
    while (Tab1->count() > 0)
        Tab1->removeTab(Tab1->count() - 1);
    addFixedTab(FixedTab::Settings);
}

void frmMain::Errors(const QString &text) {
    if (!m_err)
        m_err = std::make_unique<frmErr>(this);
    m_err->showMessage(text);
}
