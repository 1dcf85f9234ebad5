#include "sessionlink.h"

#include "client/clientsettings.h"
#include "client/idlesource.h"
#include "client/idlewatch.h"
#include "client/outbox.h"
#include "client/session.h"
#include "client/typingnotifier.h"
#include "conversationviews.h"
#include "frmmain.h"
#include "mdltray.h"
#include "pages/awaypage.h"
#include "pages/loginframe.h"
#include "pages/optionspage.h"
#include "pages/settingspanel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <utility>

const QString SessionLink::kReconnecting = QStringLiteral("offline... reconnecting in %1 s");
const QString SessionLink::kRetryHeader = QStringLiteral(": offline, retry in %1 s");
const QString SessionLink::kLostLine = QStringLiteral("connection lost, reconnecting...");
const QString SessionLink::kBackLine = QStringLiteral("signed on again");
const QString SessionLink::kRejoinRefused = QStringLiteral(
    "Not in the room again: the server's speed limit. It is joined at the next sign-on.");

SessionLink::SessionLink(frmMain *window, ConversationViews *views, ClientSettings *settings,
                         QObject *parent)
    : QObject(parent), m_window(window), m_idleSource(bestIdleSource(Clock::system())) {
    Session *session = window->session;
    m_idle = new IdleWatch(window->toc, session, m_idleSource.get(), settings->idleMinutes(),
                           Clock::system(), this);
    m_typing = new TypingNotifier(window->toc, session, Clock::system(), this);
    m_typing->setEnabled(settings->sendTypingNotifications());
    connect(window->PicLogin->options, &OptionsPage::idleMinutesChanged, m_idle,
            &IdleWatch::setMinutes);
    connect(views, &ConversationViews::typed, m_typing, &TypingNotifier::edited);
    session->setPacer(views->outbox->pacer);
    connect(session, &Session::roomRejoined, views, &ConversationViews::rejoined);
    connect(session, &Session::rejoinRefused, views,
            [views](int view) { views->noteRoom(view, kRejoinRefused); });
    // Once per outage, however many tries it takes.
    connect(session, &Session::connectionEnded, views,
            [this, views](const QString &, bool retrying) {
                if (retrying && !m_lostSaid)
                    views->noteAll(kLostLine);
                m_lostSaid = m_lostSaid || retrying;
            });
    connect(session, &Session::signedOn, views, [this, views] {
        if (std::exchange(m_lostSaid, false))
            views->noteAll(kBackLine);
    });
    connect(session, &Session::countdown, this, &SessionLink::showCountdown);
    connect(session, &Session::stateChanged, this, [this](Session::State state) {
        if (state == Session::State::SigningOn && m_window->session->isRetrying()) {
            m_window->PicLogin->frmLogin->showStatus(QStringLiteral("Reconnecting..."));
            if (m_window->PicLogin->frmLogin->isHidden())
                m_window->PicLogin->showHeader(QStringLiteral(": reconnecting..."), true);
        }
        if (state == Session::State::Offline)
            m_lostSaid = false;
        if (state != Session::State::Waiting) {
            m_window->PicLogin->labHI->setToolTip(QString());
            if (m_window->tray())
                m_window->tray()->setToolTip(frmMain::kCaption);
        }
        updateMenu();
    });
    // A click on the status line (or on the header that says it) tries now.
    m_window->PicLogin->frmLogin->labStat->installEventFilter(this);
    m_window->PicLogin->labHI->installEventFilter(this);
    buildTrayMenu(settings);
}

SessionLink::~SessionLink() = default;

void SessionLink::buildTrayMenu(ClientSettings *settings) {
    QMenu *menu = m_window->opt;
    menu->addSeparator();
    m_reconnect = menu->addAction(QStringLiteral("Reconnect now"));
    connect(m_reconnect, &QAction::triggered, m_window->session, &Session::retryNow);
    AwayPage *away = m_window->PicLogin->away;
    // The away message the away page shows (the one just typed or chosen).
    m_setAway = menu->addAction(QStringLiteral("Set Away"));
    connect(m_setAway, &QAction::triggered, away, &AwayPage::Command3_Click);
    m_back = menu->addAction(QStringLiteral("I'm Back"));
    connect(m_back, &QAction::triggered, away, &AwayPage::Command7_Click);
    QAction *typing = menu->addAction(QStringLiteral("Send typing notifications"));
    typing->setObjectName(QStringLiteral("mnuTyping"));
    typing->setCheckable(true);
    typing->setChecked(m_typing->isEnabled());
    connect(typing, &QAction::toggled, this, [this, settings](bool on) {
        m_typing->setEnabled(on);
        settings->setSendTypingNotifications(on);
    });
    menu->addSeparator();
    QAction *quit = menu->addAction(QStringLiteral("Quit"));
    quit->setObjectName(QStringLiteral("mnuQuit"));
    connect(quit, &QAction::triggered, m_window, [this] {
        m_window->close();
        QCoreApplication::quit();
    });
    connect(menu, &QMenu::aboutToShow, this, &SessionLink::updateMenu);
    updateMenu();
}

void SessionLink::updateMenu() {
    const Session *session = m_window->session;
    m_reconnect->setEnabled(session->state() == Session::State::Waiting);
    m_setAway->setEnabled(session->isSignedOn() && !m_window->isAway());
    m_back->setEnabled(m_window->isAway());
}

void SessionLink::showCountdown(int seconds) {
    const QString text = kReconnecting.arg(seconds);
    m_window->PicLogin->frmLogin->showStatus(text);
    // The header is narrow: it says it shorter, the whole line in its tooltip.
    if (m_window->PicLogin->frmLogin->isHidden()) {
        m_window->PicLogin->showHeader(kRetryHeader.arg(seconds), true);
        m_window->PicLogin->labHI->setToolTip(text);
    }
    if (m_window->tray())
        m_window->tray()->setToolTip(frmMain::kCaption + QStringLiteral(": ") + text);
}

bool SessionLink::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        m_window->session->state() == Session::State::Waiting)
        m_window->session->retryNow();
    return QObject::eventFilter(watched, event);
}
