#pragma once
// A message that arrives out of sight (another tab selected, the window
// inactive, minimised or hidden): its tab takes the highlight colour until
// it is selected, the window asks for attention (urgency), and, by the
// rules, a notification shows the sender and the start of the message as
// plain text: through the tray where there is one, else through the
// desktop's notification service. A click on the notification leads to
// the conversation.

#include "client/notifyrules.h"
#include "conversationkey.h"

#include <QElapsedTimer>
#include <QObject>

class ClientSettings;
class DesktopNotifications;
class QAction;
class QMenu;
class QWidget;
class TabStrip;
class mdlTray;

class MessageAlerts : public QObject {
    Q_OBJECT

  public:
    MessageAlerts(QWidget *window, TabStrip *tabs, ClientSettings *settings, QMenu *trayMenu);

    // The tray, once it exists (it is made after the first paint).
    void setTray(mdlTray *tray);
    void messageOutOfSight(const ConversationKey &key, const QString &from, const QString &message,
                           bool held);
    bool isOnScreen(const ConversationKey &key) const;
    DesktopNotifications *desktop();

    QAction *mnuNotify = nullptr; // "Notify on new IMs"

  signals:
    // A notification of this conversation was clicked.
    void activated(const ConversationKey &key);

  private:
    void notify(const ConversationKey &key, const QString &title, const QString &text);

    QWidget *m_window;
    TabStrip *m_tabs;
    mdlTray *m_tray = nullptr;
    DesktopNotifications *m_desktop = nullptr;
    NotifyRules m_rules;
    QElapsedTimer m_clock;
    ConversationKey m_trayKey; // the conversation of the tray's last balloon
};
