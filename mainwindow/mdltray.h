#pragma once
// The tray icon: the program's name as tooltip; releasing the left or the
// right button on it asks for the window's menu. Where the desktop has no
// tray nothing is shown and nothing fails.

#include <QObject>
#include <QSystemTrayIcon>

class QIcon;

class mdlTray : public QObject {
    Q_OBJECT

  public:
    explicit mdlTray(QObject *parent = nullptr);
    ~mdlTray() override;

    // Returns false, showing nothing, when the desktop has no tray.
    bool addTrayIcon(const QIcon &icon, const QString &tip);
    void deleteTrayIcon();
    void setToolTip(const QString &tip);
    // A desktop notification with plain text (nothing when there is no
    // tray); the last one is kept for whoever asks.
    void notify(const QString &title, const QString &text);
    QString lastNotification() const { return m_last; }
    bool isShown() const { return m_icon != nullptr; }
    QSystemTrayIcon *icon() const { return m_icon; }

    // Whether an activation opens the menu: a left or a right click.
    static bool opensMenu(QSystemTrayIcon::ActivationReason reason);
    // Handles one activation as the tray delivers it.
    void activation(QSystemTrayIcon::ActivationReason reason);

  signals:
    void menuRequested();
    // The last notification's balloon was clicked.
    void messageClicked();

  private:
    QSystemTrayIcon *m_icon = nullptr;
    QString m_last;
};
