#pragma once
// The window's side of the session: its state in the status line, the
// header and the tray's tooltip ("offline... reconnecting in N s"); a click
// there or the tray's "Reconnect now" tries at once; rooms joined again
// take their new ids; the idle time and the typing in IM boxes go to the
// server; the tray's "Set Away", "I'm Back", "Send typing notifications"
// and "Quit".

#include <QObject>
#include <memory>

class ClientSettings;
class ConversationViews;
class IdleSource;
class IdleWatch;
class QAction;
class TypingNotifier;
class frmMain;

class SessionLink : public QObject {
    Q_OBJECT

  public:
    static const QString kReconnecting; // "offline... reconnecting in %1 s"
    static const QString kRetryHeader;  // ": offline, retry in %1 s"

    SessionLink(frmMain *window, ConversationViews *views, ClientSettings *settings,
                QObject *parent);
    ~SessionLink() override;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void buildTrayMenu(ClientSettings *settings);
    void showCountdown(int seconds);
    void updateMenu();

    frmMain *m_window;
    std::unique_ptr<IdleSource> m_idleSource;
    IdleWatch *m_idle = nullptr;
    TypingNotifier *m_typing = nullptr;
    QAction *m_reconnect = nullptr;
    QAction *m_setAway = nullptr;
    QAction *m_back = nullptr;
};
