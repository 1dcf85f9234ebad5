#pragma once
// The "profile" page: the user's profile (HTML) and "Set Profile". The
// profile goes to the server at every sign-on and at "Set Profile".

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
    // The profile, unless it is longer than servers take (one that is signs
    // the user off on some servers): then the alert says so and nothing goes.
    void sendProfile();

    QPlainTextEdit *txtProfile = nullptr;
    QPushButton *Command9 = nullptr; // "Set Profile"

  private:
    PageKit m_kit;
};
