#include "loginframe.h"

#include "client/clientsettings.h"
#include "client/passwordstore.h"
#include "client/session.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/pagewidgets.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using pagewidgets::check;
using pagewidgets::field;
using pagewidgets::label;
using pagewidgets::named;

const QString LoginFrame::kDefaultServer = QStringLiteral("localhost");
const QString LoginFrame::kAuthServer = QStringLiteral("login.icq.com");
const QString LoginFrame::kOffline = QStringLiteral("offline...");

namespace {
const QString kConnecting = QStringLiteral("Connecting...");
const QString kSending = QStringLiteral("Sending information");
} // namespace

LoginFrame::LoginFrame(const PageKit &kit, QWidget *parent) : QFrame(parent), m_kit(kit) {
    setObjectName(QStringLiteral("frmLogin"));
    setGeometry(twips::rect(0, 0, 3855, 2655));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    buildWidgets();
    restoreSignOn();
    connect(m_kit.toc, &QelTOCSock::IncomingPacket, this, [this] {
        if (labStat->text() == kConnecting)
            labStat->setText(kSending);
    });
}

void LoginFrame::buildWidgets() {
    labFrm = label(this, "labFrm", QStringLiteral("Login"), twips::rect(195, 120, 495, 255));
    QFont bold = labFrm->font();
    bold.setBold(true);
    labFrm->setFont(bold);

    Label1 = label(this, "Label1", QStringLiteral("Screen Name"), twips::rect(240, 360, 1815, 255));
    txtSn = field(this, "txtSn", QString(), twips::rect(240, 600, 1455, 255));
    Label2 = label(this, "Label2", QStringLiteral("Password"), twips::rect(1800, 360, 1815, 255));
    txtPw = field(this, "txtPw", QString(), twips::rect(1800, 600, 1455, 255));
    txtPw->setEchoMode(QLineEdit::Password);
    Label3 = label(this, "Label3", QStringLiteral("Server"), twips::rect(240, 960, 1815, 255));
    txtServer = field(this, "txtServer", kDefaultServer, twips::rect(240, 1200, 2295, 255));
    txtPort = field(this, "txtPort", QStringLiteral("5190"), twips::rect(2520, 1200, 735, 255));
    // Screen readers name a field by the label that points at it.
    Label1->setBuddy(txtSn);
    Label2->setBuddy(txtPw);
    Label3->setBuddy(txtServer);
    txtPort->setAccessibleName(QStringLiteral("Port"));

    Check1 =
        check(this, "Check1", QStringLiteral("Auto Block All"), twips::rect(240, 1560, 1695, 255));
    cmdLogin = pagewidgets::button(this, "cmdLogin", QStringLiteral("Login"),
                                   twips::rect(2400, 1560, 855, 300));
    cmdLogin->setIcon(windowIcon());
    uicolors::setBackColor(cmdLogin, uicolors::windowBack());
    connect(cmdLogin, &QPushButton::clicked, this, &LoginFrame::loginClicked);

    labStat = label(this, "labStat", kOffline, twips::rect(240, 1920, 3015, 255));
    // Below the status line; usable once a secret store answers.
    chkRemember = check(this, "chkRemember", QStringLiteral("Remember password"),
                        twips::rect(240, 2220, 1935, 255));
    chkRemember->setEnabled(false);
    chkAutoSignOn = check(this, "chkAutoSignOn", QStringLiteral("Sign on at start"),
                          twips::rect(2205, 2220, 1530, 255));
    chkAutoSignOn->setEnabled(false);
    connect(chkAutoSignOn, &QCheckBox::clicked, this, [this](bool on) {
        if (m_kit.settings)
            m_kit.settings->setSignOnAtStart(on);
    });
    for (QLineEdit *field : {txtSn, txtPw, txtServer, txtPort})
        connect(field, &QLineEdit::returnPressed, this, &LoginFrame::loginClicked);
}

void LoginFrame::enableAutoSignOn() {
    const bool possible = chkRemember->isEnabled() && chkRemember->isChecked();
    chkAutoSignOn->setEnabled(possible);
    if (!possible && chkRemember->isEnabled())
        chkAutoSignOn->setChecked(false);
}

void LoginFrame::restoreSignOn() {
    if (!m_kit.settings)
        return;
    chkRemember->setChecked(m_kit.settings->rememberPassword());
    chkAutoSignOn->setChecked(m_kit.settings->rememberPassword() &&
                              m_kit.settings->signOnAtStart());
    if (const auto s = m_kit.settings->lastSignOn()) {
        txtSn->setText(s->screenName);
        txtServer->setText(s->server);
        txtPort->setText(QString::number(s->port));
    }
    // The cursor goes where typing starts: the password when the name is known.
    (txtSn->text().isEmpty() ? txtSn : txtPw)->setFocus();
}

// The field still showing the server's writing of the last name means that
// name, as the user typed it.
QString LoginFrame::nameAsTyped() const {
    const bool formatted = !m_formattedName.isEmpty() && txtSn->text() == m_formattedName;
    return formatted && !m_typedName.isEmpty() ? m_typedName : txtSn->text();
}

QString LoginFrame::screenName() const {
    return txtSn->text();
}

bool LoginFrame::signOn(bool automatic) {
    bool ok = false;
    const int port = txtPort->text().trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535) {
        m_kit.Errors(QStringLiteral("The port must be a number from 1 to 65535."));
        return false;
    }
    labStat->setText(kConnecting);
    m_typedName = nameAsTyped();
    m_formattedName.clear();
    if (m_kit.session)
        m_kit.session->signOn({m_typedName, txtPw->text(), txtServer->text(), port, kAuthServer},
                              automatic);
    else
        m_kit.toc->Login(m_typedName, txtPw->text(), txtServer->text(), port, kAuthServer);
    return true;
}

void LoginFrame::showStatus(const QString &text) {
    labStat->setText(text);
}

void LoginFrame::setFormattedName(const QString &formatted) {
    // The user's own name, sent back at the next sign-on: no controls.
    const QString name = shown::withoutControls(formatted);
    if (name.isEmpty())
        return;
    txtSn->setText(name);
    m_formattedName = name;
}

void LoginFrame::signedOn() {
    bool ok = false;
    const int port = txtPort->text().trimmed().toInt(&ok);
    if (m_kit.settings)
        m_kit.settings->setLastSignOn({m_typedName, txtServer->text(), ok ? port : 0});
    if (m_passwords && m_passwords->isAvailable() && chkRemember->isChecked())
        m_passwords->write(m_typedName, txtPw->text());
}

// The password was stored under the name of the last sign-on; the field
// may show another name by now. Both go, whichever holds it.
void LoginFrame::forgetPassword() {
    const auto last = m_kit.settings ? m_kit.settings->lastSignOn() : std::nullopt;
    if (last && !last->screenName.isEmpty())
        m_passwords->remove(last->screenName);
    const QString shown = toc::normalizeScreenName(nameAsTyped());
    if (!shown.isEmpty() && (!last || toc::normalizeScreenName(last->screenName) != shown))
        m_passwords->remove(shown);
}

void LoginFrame::startPasswordStore() {
    if (m_passwords)
        return;
    m_passwords = new PasswordStore(this);
    connect(m_passwords, &PasswordStore::availability, this, [this](bool available) {
        chkRemember->setEnabled(available);
        chkRemember->setToolTip(available ? QString() : m_passwords->unavailableReason());
        enableAutoSignOn();
        if (available && chkRemember->isChecked() && txtPw->text().isEmpty())
            m_passwords->read(txtSn->text());
    });
    connect(m_passwords, &PasswordStore::passwordRead, this,
            [this](const QString &name, const QString &password) {
                if (name != txtSn->text() || !txtPw->text().isEmpty())
                    return;
                txtPw->setText(password);
                // Once per run, and only with what was remembered.
                if (chkAutoSignOn->isChecked() && !password.isEmpty() && !m_autoTried &&
                    !isHidden()) {
                    m_autoTried = true;
                    signOn(true);
                }
            });
    connect(m_passwords, &PasswordStore::failed, this, [this](const QString &reason) {
        m_kit.Errors(QStringLiteral("The password could not be stored: ") + reason);
    });
    connect(chkRemember, &QCheckBox::clicked, this, [this](bool on) {
        if (m_kit.settings)
            m_kit.settings->setRememberPassword(on);
        if (!on)
            forgetPassword();
        enableAutoSignOn();
        if (!on && m_kit.settings)
            m_kit.settings->setSignOnAtStart(false);
    });
    m_passwords->probe();
}
