// Signing on and off, the status line, the alert routine, and the server
// events of the session: the sign-on itself, a profile page, a warning.
#include "chatinvitations.h"
#include "client/buddyaliases.h"
#include "client/outbox.h"
#include "client/profilefetch.h"
#include "client/seenonline.h"
#include "client/session.h"
#include "conversationhistory.h"
#include "conversationviews.h"
#include "dialogs/frmerr.h"
#include "dialogs/frmprofile.h"
#include "frmmain.h"
#include "pages/awaypage.h"
#include "pages/buddylistpage.h"
#include "pages/buddymenus.h"
#include "pages/loginframe.h"
#include "pages/privacypage.h"
#include "pages/profilepage.h"
#include "pages/settingspanel.h"
#include "protocol/qeltocsock.h"
#include "typingwatch.h"
#include "uikit/shownname.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <utility>

void frmMain::connectProtocol() {
    connect(toc, &QelTOCSock::Error, this, [this](qint16 code, const QString &strError) {
        // The answer to a status question of the client's own is no news.
        if (outbox() && outbox()->seen->takeAnswer(code, strError))
            return;
        // A line refused for the speed limit says so in its conversation
        // (the outbox, made before this handler, has put it there).
        if (code != 903 || !outbox() || !outbox()->refusalShown()) {
            // A refused "format" says what was refused, not a bare code.
            const QString refusal = PicLogin->formatRefusal(code);
            Errors(refusal.isEmpty() ? strError : refusal);
        }
        // A refused sign-on ends the session; an error while signed on (an
        // IM that could not be delivered, a server's internal error) does not.
        if (!session->isSignedOn())
            PicLogin->frmLogin->showStatus(LoginFrame::kOffline);
    });
    connect(toc, &QelTOCSock::LoggedOut, this,
            [this] { PicLogin->frmLogin->showStatus(LoginFrame::kOffline); });
    connect(toc, &QelTOCSock::ScreennameFormat, PicLogin->frmLogin, &LoginFrame::setFormattedName);
    // Connection refused, host not found, connection lost: the sign-on (or
    // the session) is over, or waits to come back without a word.
    connect(session, &Session::connectionEnded, this, [this](const QString &why, bool retrying) {
        toc_Disconnected(retrying ? QString() : why);
    });
    connect(toc, &QelTOCSock::MessagesInDoubt, this, [this](const QStringList &partners) {
        for (const QString &who : partners)
            if (ctlIM *view = m_views->imViewOf(who))
                view->showNote(QStringLiteral("This message may not have been delivered."));
    });
    connect(toc, &QelTOCSock::LoggedIn, this,
            [this](const QString &name, const QStringList &buddies, const QStringList &blocked,
                   const QStringList &allowed, const QStringList &, const QString &,
                   qint16 mode) { toc_LoggedIn(name, buddies, blocked, allowed, mode); });

    connect(toc, &QelTOCSock::InstantMessage, this, &frmMain::toc_InstantMessage);
    connect(toc, &QelTOCSock::TypingStatus, this, [this](const QString &who, qint16 status) {
        if (ctlIM *view = m_views->imViewOf(who))
            view->TypeStatus(status);
    });
    connect(toc, &QelTOCSock::JoinedChat, this, &frmMain::toc_JoinedChat);
    connect(toc, &QelTOCSock::ChatMessage, this, &frmMain::toc_ChatMessage);
    connect(toc, &QelTOCSock::ChatUserUpdate, this, [this](const QString &who, bool in, qint32 id) {
        if (ctlChat *view = m_views->roomViewOf(id))
            view->UserUpdate(who, in);
    });
    connect(toc, &QelTOCSock::ChatLeft, this, [this](qint32 id) {
        if (ctlChat *view = m_views->roomViewOf(id))
            view->LeftChat();
    });

    auto *profileFetch = m_profileFetch = new ProfileFetch(this);
    const auto profileWindow = [this] {
        if (!m_profile)
            m_profile =
                std::make_unique<frmProfile>(this, [this](const QString &text) { Errors(text); });
        return m_profile.get();
    };
    // Only the answer to the user's own request is fetched.
    connect(PicLogin->buddyList->menus, &BuddyMenus::profileAsked, profileFetch,
            &ProfileFetch::asked);
    connect(toc, &QelTOCSock::UserProfile, this, [this, profileFetch](const QString &strURL) {
        profileFetch->answer(strURL, toc->tocServer(), toc->port());
    });
    connect(profileFetch, &ProfileFetch::fetched, this,
            [profileWindow](const QUrl &url, const QString &html) {
                profileWindow()->showPage(url, html);
            });
    connect(profileFetch, &ProfileFetch::failed, this,
            [profileWindow](const QUrl &url, const QString &why) {
                profileWindow()->showFailure(url, why);
            });
    connect(toc, &QelTOCSock::Warned, this, [this](const QString &intWarningLevel) {
        PicLogin->showHeader(
            QStringLiteral(": warning level %1%").arg(shown::line(intWarningLevel)), true);
    });
}

void frmMain::cmdLogin_Click() {
    // The handlers of the session must be in place before it starts.
    finishBuilding();
    PicLogin->frmLogin->signOn();
}

// The one place the window learns that a connection ended (`why` for the
// user, empty while the session comes back by itself). The settings pages
// and the conversations stay, with their transcripts and drafts, but
// nothing shown claims a session any more: the header says offline, no
// buddy is shown online, and rooms list nobody until joined again.
// "Logout" leads back to the login frame.
void frmMain::toc_Disconnected(const QString &why) {
    // What waited to be sent is not sent.
    m_views->outbox->connectionEnded();
    PicLogin->frmLogin->showStatus(LoginFrame::kOffline);
    if (!why.isEmpty())
        Errors(why);
    // Only the pages of a session (the login frame hidden) say offline.
    if (!PicLogin->frmLogin->isHidden())
        return;
    PicLogin->showHeader(QStringLiteral(": offline"), true);
    PicLogin->buddyList->showEveryoneOffline();
    m_views->connectionLost();
}

void frmMain::toc_LoggedIn(const QString &strUserName, const QStringList &BuddyList,
                           const QStringList &BlockList, const QStringList &PrivateList,
                           qint16 PrivacyMode) {
    m_invitations->signedOn();
    PicLogin->frmLogin->signedOn();
    m_history->start(strUserName);
    PicLogin->profile->signedOn(strUserName);
    toc->SetCapability(QelTOCSock::kCapabilities);
    PicLogin->frmLogin->hide();
    PicLogin->privacy->fill(BlockList, PrivateList, PrivacyMode);
    // A window still away from the last session makes the new one away too,
    // so that the window and the server agree.
    if (away.isAway())
        toc->SetAwayMessage(away.message());
    PicLogin->buddyList->aliases->load(strUserName);
    PicLogin->buddyList->load(BuddyList);
    PicLogin->setHeaderName(strUserName);
    PicLogin->showHeader(QStringLiteral("'s configuration."));
    PicLogin->showChosenPage();
}

void frmMain::logout() {
    // Before the conversations close: what waits to be sent is not sent.
    if (m_views)
        m_views->outbox->connectionEnded();
    PicLogin->frmLogin->show();
    if (PicLogin->privacy)
        PicLogin->privacy->clear();
    if (m_views)
        m_views->closeAll();
    if (m_history)
        m_history->stop();
    while (Tab1->count() > 0)
        Tab1->removeTab(Tab1->count() - 1);
    Tab1->addFixed(TabStrip::Fixed::Settings);
}

void frmMain::Errors(const QString &text) {
    if (!m_err)
        m_err = std::make_unique<frmErr>(this);
    m_err->showMessage(text, !(m_typing && m_typing->isTyping()));
}
