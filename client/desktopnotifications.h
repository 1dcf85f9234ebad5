#pragma once
// Desktop notifications through the desktop's notification service on the
// session bus, for desktops without a tray. A click on one of ours comes
// back as `activated` with the key it was shown under (the conversation's
// key as text). Without a session bus or a service nothing is shown, nothing
// blocks and nothing fails.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

class DesktopNotifications : public QObject {
    Q_OBJECT

  public:
    // Notifications remembered at most: a click on an older one leads nowhere.
    static constexpr int kMaxIds = 64;

    explicit DesktopNotifications(QObject *parent = nullptr);

    bool isAvailable() const { return m_available; }
    // Plain text; replaces on screen the last one shown for the same key.
    void notify(const QString &key, const QString &title, const QString &text);

  signals:
    void activated(const QString &key);

  private slots:
    // Slots, not lambdas: QtDBus hands a bus signal only to a slot named by
    // its signature, and drops a signal whose arguments do not match it.
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

  private:
    // The newest text for a key whose last notification is still unanswered.
    struct Waiting {
        bool due = false;
        QString title;
        QString text;
    };

    void send(const QString &key, const QString &title, const QString &text);
    void answered(const QString &key, QDBusPendingCallWatcher *call);
    void remember(uint id, const QString &key);
    void forget(uint id);
    void forgetAll();

    bool m_available = false;
    QHash<uint, QString> m_keyById;
    QHash<QString, uint> m_idByKey;
    QList<uint> m_order; // oldest first
    QHash<QString, Waiting> m_unanswered;
};
