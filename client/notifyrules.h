#pragma once
// When a message that arrives out of sight is worth a desktop notification:
// the switch is on, the conversation is not held back, and it was not
// notified in the last ten seconds. A room message only when it names the
// user. Widget-free: the window says what is on screen and what time it is.

#include <QHash>
#include <QString>

class NotifyRules {
  public:
    static constexpr qint64 kQuietMs = 10000;
    static constexpr int kMaxText = 100;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on) { m_enabled = on; }

    // Records the notification when it is due. `key` names the conversation.
    bool due(const QString &key, qint64 nowMs, bool held);
    // A room message names the user (compared normalised, any case).
    static bool namesUser(const QString &plainText, const QString &screenName);
    // The start of a message as plain text, for the notification body.
    static QString excerpt(const QString &plainText);

  private:
    bool m_enabled = true;
    QHash<QString, qint64> m_last;
};
