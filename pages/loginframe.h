#pragma once
// The login frame `frmLogin`: screen name, password, server and port,
// "Login", the status line, "Remember password" and "Sign on at start". It
// remembers the last successful sign-on and, when asked to, keeps the
// password in the desktop's secret store; Enter in any field is "Login".

#include "pagekit.h"

#include <QFrame>

class PasswordStore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class LoginFrame : public QFrame {
    Q_OBJECT

  public:
    static const QString kDefaultServer; // txtServer's default
    static const QString kAuthServer;    // AuthServer passed by "Login"
    static const QString kOffline;       // "offline..."

    LoginFrame(const PageKit &kit, QWidget *parent);

    QString screenName() const;
    // The desktop's secret store is asked after the first paint: it may
    // take a while to answer, and the box stays disabled until it does.
    void startPasswordStore();
    // "Login": checks the port, says so in the status line and starts the
    // sign-on. False, with the alert, when the port is not a port. An
    // automatic one (at start) is tried again when it fails to connect.
    bool signOn(bool automatic = false);
    void showStatus(const QString &text);
    // A successful sign-on: remembered, and its password stored when the
    // user asked for it.
    void signedOn();
    // The server's writing of the user's name, shown in the name field. The
    // name the user typed is what signs on and what is remembered: a server
    // could name anyone there.
    void setFormattedName(const QString &name);

    QLabel *labFrm = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txtSn = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *txtPw = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtServer = nullptr;
    QLineEdit *txtPort = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *cmdLogin = nullptr;
    QLabel *labStat = nullptr;
    QCheckBox *chkRemember = nullptr;   // "Remember password"
    QCheckBox *chkAutoSignOn = nullptr; // "Sign on at start"

  signals:
    // "Login" was pressed.
    void loginClicked();

  private:
    void buildWidgets();
    void restoreSignOn();
    // "Sign on at start" needs a remembered password.
    void enableAutoSignOn();
    QString nameAsTyped() const;
    // "Remember password" unticked: the stored password goes.
    void forgetPassword();

    PageKit m_kit;
    PasswordStore *m_passwords = nullptr;
    bool m_autoTried = false;
    QString m_typedName;     // the name of the last sign-on, as typed
    QString m_formattedName; // the server's writing of it, shown in txtSn
};
