#pragma once
// Local aliases: a name of the user's choosing for a buddy, shown instead
// of the screen name; per account (the screen name signed on), kept in the
// settings file. Names are compared normalised.

#include <QHash>
#include <QObject>
#include <QString>

class ClientSettings;

class BuddyAliases : public QObject {
    Q_OBJECT

  public:
    explicit BuddyAliases(ClientSettings *settings, QObject *parent = nullptr);

    // The aliases of this account (at sign-on).
    void load(const QString &account);
    // The alias of a buddy, or the empty text.
    QString aliasOf(const QString &buddy) const;
    // An empty alias removes it.
    void set(const QString &buddy, const QString &alias);

  signals:
    void changed(const QString &buddy);

  private:
    ClientSettings *m_settings;
    QString m_account;
    QHash<QString, QString> m_alias; // by normalised name
};
