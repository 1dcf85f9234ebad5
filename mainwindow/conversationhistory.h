#pragma once
// The conversation history: opened for the screen name at sign-on and
// closed at logout, fed with every IM and room line the window shows, the
// "Keep conversation history" switch of the tray menu and the history
// window of a buddy.

#include "client/historyline.h"

#include <QObject>
#include <functional>

class ClientSettings;
class HistoryStore;
class QAction;
class QMenu;
class QWidget;

class ConversationHistory : public QObject {
    Q_OBJECT

  public:
    ConversationHistory(ClientSettings *settings, std::function<void(const QString &)> alert,
                        QMenu *trayMenu, QWidget *window);

    HistoryStore *store() const { return m_store; }
    void start(const QString &screenName);
    void stop();
    void keep(const HistoryLine &line);
    void keepIncomingIM(const QString &sender, const QString &message, bool autoResponse);
    // The history window of a buddy, from the file of the name signed on
    // last (or `ownName` before any sign-on), whether or not it is kept now.
    void showWindow(const QString &buddy, const QString &ownName);

    QAction *mnuHistory = nullptr; // "Keep conversation history"

  private:
    ClientSettings *m_settings;
    QWidget *m_window;
    HistoryStore *m_store;
    QString m_name; // the screen name of the last sign-on
    bool m_signedOn = false;
};
