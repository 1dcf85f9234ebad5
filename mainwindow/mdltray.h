#pragma once
// The tray icon: the program's name as tooltip; releasing the left or the
// right button on it asks for the window's menu. Where the desktop has no
// tray nothing is shown and nothing fails. A tray that appears later (a
// panel started after the program) gets the icon; one that goes away
// takes the icon with it, and notifications go to the desktop's service.

#include "client/statusnotifierhost.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

class QTimer;

class mdlTray : public QObject {
    Q_OBJECT

  public:
    // How often the desktop is asked whether it has a tray.
    static constexpr int kWatchMs = 3000;

    explicit mdlTray(QObject *parent = nullptr);
    ~mdlTray() override;

    // Returns false, showing nothing yet, when the desktop has no tray.
    bool addTrayIcon(const QIcon &icon, const QString &tip);
    void deleteTrayIcon();
    void setToolTip(const QString &tip);
    // A desktop notification with plain text (nothing when there is no
    // tray), escaped only where the tray reads markup; the last one is kept
    // for whoever asks.
    void notify(const QString &title, const QString &text);
    QString lastNotification() const { return m_last; }
    bool isShown() const { return m_icon != nullptr; }
    QSystemTrayIcon *icon() const { return m_icon; }

    // Whether the desktop has a tray now; tests give their own.
    std::function<bool()> trayAvailable = &QSystemTrayIcon::isSystemTrayAvailable;
    // Whether the tray's messages reach a service that reads markup.
    std::function<bool()> readsMarkup = &statusnotifier::trayReadsMarkup;
    // Shows or takes away the icon as the tray came or went.
    void followTray();

    // Whether an activation opens the menu: a left or a right click.
    static bool opensMenu(QSystemTrayIcon::ActivationReason reason);
    // Handles one activation as the tray delivers it.
    void activation(QSystemTrayIcon::ActivationReason reason);

  signals:
    void menuRequested();
    // The last notification's balloon was clicked.
    void messageClicked();
    // A notification went to the tray, as the tray was given it.
    void messageShown(const QString &title, const QString &text);

  private:
    void showIcon();
    void hideIcon();

    QSystemTrayIcon *m_icon = nullptr;
    QTimer *m_watch = nullptr;
    QIcon m_picture;
    QString m_tip;
    QString m_last;
};
