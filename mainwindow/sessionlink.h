#pragma once
// The window's side of the session: its state in the status line, the
// header and the tray's tooltip ("offline... reconnecting in N s"); a click
// there or the tray's "Reconnect now" tries at once; each open conversation
// says when the connection was lost and when it is back, so a gap in its
// transcript is explained; rooms joined again (paced) take their new ids; the idle time and the
// typing in IM boxes go to the server; the tray's "Set Away", "I'm Back", "Send typing
// notifications" and "Quit".

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
    static const QString kLostLine;     // "connection lost, reconnecting..."
    static const QString kBackLine;     // "signed on again"
    static const QString kRejoinRefused;

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
    bool m_lostSaid = false; // the conversations say the connection was lost
};
