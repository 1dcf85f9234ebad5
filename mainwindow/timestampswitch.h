#pragma once
// "Show timestamps" in the tray's menu: off by default, kept in the
// settings; while on, every conversation view shows "[hh:mm]", the time a
// line came or was sent, before each message.

#include <QObject>

class ClientSettings;
class ConversationViews;
class QAction;
class QMenu;

class TimestampSwitch : public QObject {
    Q_OBJECT

  public:
    // Owned by the views.
    TimestampSwitch(ClientSettings *settings, QMenu *trayMenu, ConversationViews *views);

    QAction *action() const { return m_action; }

  private:
    QAction *m_action;
};
