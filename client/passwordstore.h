#pragma once
// The remembered password, kept only in the desktop's secret service
// (through QtKeychain), under the screen name: never in the settings file,
// never in a log, and nowhere else when there is no secret service. Every
// call is asynchronous; answers come as signals.

#include <QObject>
#include <QString>

class PasswordStore : public QObject {
    Q_OBJECT

  public:
    explicit PasswordStore(QObject *parent = nullptr);

    // Asks whether a secret service answers; `availability` tells.
    void probe();
    bool isAvailable() const { return m_available; }
    const QString &unavailableReason() const { return m_reason; }

    void read(const QString &screenName);
    void write(const QString &screenName, const QString &password);
    void remove(const QString &screenName);

  signals:
    void availability(bool available);
    // The stored password, or nothing when none is stored.
    void passwordRead(const QString &screenName, const QString &password);
    void failed(const QString &reason);

  private:
    static QString key(const QString &screenName);
    bool m_available = false;
    QString m_reason;
};
