#pragma once
// The "profile" page: the user's profile (HTML) and "Set Profile". The
// profile set is kept per account and goes to the server at every sign-on
// (the default one until the account sets its own).

#include "pagekit.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

class ProfilePage : public QWidget {
    Q_OBJECT

  public:
    static const QString kDefaultProfile; // the profile sent at sign-on

    explicit ProfilePage(const PageKit &kit, QWidget *parent = nullptr);

    void Command9_Click(); // "Set Profile"
    // At every sign-on: the account's profile is sent, and shown when the
    // account is another than the last one shown (a reconnect keeps what
    // is being edited).
    void signedOn(const QString &account);

    QPlainTextEdit *txtProfile = nullptr;
    QPushButton *Command9 = nullptr; // "Set Profile"

  private:
    // The profile, unless it is longer than servers take (one that is signs
    // the user off on some servers): then the alert says so and nothing goes.
    bool sendProfile(const QString &profile);

    PageKit m_kit;
    QString m_account; // normalised
};
