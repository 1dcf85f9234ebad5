#include "messagealerts.h"

#include "client/clientsettings.h"
#include "client/desktopnotifications.h"
#include "mdltray.h"
#include "tabstrip.h"
#include "uikit/shownname.h"
#include "views/messagescan.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

MessageAlerts::MessageAlerts(QWidget *window, TabStrip *tabs, ClientSettings *settings,
                             QMenu *trayMenu)
    : QObject(window), m_window(window), m_tabs(tabs) {
    m_clock.start();
    m_rules.setEnabled(settings->notifyOnNewIMs());
    mnuNotify = trayMenu->addAction(QStringLiteral("Notify on new IMs"));
    mnuNotify->setObjectName(QStringLiteral("mnuNotify"));
    mnuNotify->setCheckable(true);
    mnuNotify->setChecked(m_rules.enabled());
    connect(mnuNotify, &QAction::toggled, this, [this, settings](bool on) {
        m_rules.setEnabled(on);
        settings->setNotifyOnNewIMs(on);
    });
}

// Made at the first notification without a tray: most desktops have one,
// and then no connection to the session bus is needed for this.
DesktopNotifications *MessageAlerts::desktop() {
    if (!m_desktop) {
        m_desktop = new DesktopNotifications(this);
        connect(m_desktop, &DesktopNotifications::activated, this,
                [this](const QString &key) { emit activated(ConversationKey::fromText(key)); });
    }
    return m_desktop;
}

void MessageAlerts::setTray(mdlTray *tray) {
    m_tray = tray;
    connect(tray, &mdlTray::messageClicked, this, [this] {
        if (!m_trayKey.isNull())
            emit activated(m_trayKey);
    });
}

bool MessageAlerts::isOnScreen(const ConversationKey &key) const {
    const int index = m_tabs->currentIndex();
    return m_window->isVisible() && !m_window->isMinimized() && m_window->isActiveWindow() &&
           index >= 0 && m_tabs->isConversation(index, key);
}

void MessageAlerts::messageOutOfSight(const ConversationKey &key, const QString &from,
                                      const QString &message, bool held) {
    if (isOnScreen(key))
        return;
    // A flood into one conversation must not repaint the strip or ring the
    // desktop once per IM: only a change of mark, or a notification due.
    const bool marked = m_tabs->markUnseen(key);
    if (held)
        return;
    const bool due = m_tray && m_rules.due(key.text(), m_clock.elapsed(), held);
    if (marked || due)
        QApplication::alert(m_window);
    if (due)
        notify(key, shown::nameInText(from),
               shown::line(NotifyRules::excerpt(render::plainText(message))));
}

void MessageAlerts::notify(const ConversationKey &key, const QString &title, const QString &text) {
    m_tray->notify(title, text);
    if (m_tray->isShown())
        m_trayKey = key;
    else
        desktop()->notify(key.text(), title, text);
}
