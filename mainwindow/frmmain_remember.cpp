// What the window remembers between runs: the last successful sign-on, the
// formatting of outgoing text, the away messages, the colour scheme and the
// window's place. A fresh profile leaves every default as it is.
#include "clickfield.h"
#include "client/clientsettings.h"
#include "client/passwordstore.h"
#include "frmmain.h"
#include "views/colortext.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

void frmMain::restoreSignOn() {
    chkRemember->setChecked(m_settings->rememberPassword());
    if (const auto s = m_settings->lastSignOn()) {
        txtSn->setText(s->screenName);
        txtServer->setText(s->server);
        txtPort->setText(QString::number(s->port));
    }
    if (const auto place = m_settings->windowPosition())
        move(*place);
}

void frmMain::restoreChoices() {
    if (const auto format = m_settings->format())
        applyFormat(*format);
    // The entries after "Default", as saved.
    if (const auto messages = m_settings->awayMessages())
        for (const QString &text : *messages)
            if (lstAway->findItems(text, Qt::MatchExactly).isEmpty())
                lstAway->addItem(text);
    if (const auto scheme = m_settings->schemeColor())
        SetColors(render::decimalText(QColor::fromString(*scheme)));
}

void frmMain::rememberSignOn() {
    bool ok = false;
    const int port = txtPort->text().trimmed().toInt(&ok);
    m_settings->setLastSignOn({txtSn->text(), txtServer->text(), ok ? port : 0});
}

void frmMain::rememberFormat() {
    FormatChoice f;
    f.fontFace = txtFont->text();
    f.text = txtColor->text();
    f.back = txtBackColor->text();
    f.bold = chkBold->isChecked();
    f.italic = chkIt->isChecked();
    f.underline = chkU->isChecked();
    f.strikeout = ChkS->isChecked();
    m_settings->setFormat(f);
}

void frmMain::rememberAwayMessages() {
    QStringList saved;
    for (int i = 1; i < lstAway->count(); ++i)
        saved << lstAway->item(i)->text();
    m_settings->setAwayMessages(saved);
}

// The desktop's secret store is asked for after the first paint: it may
// take a while to answer, and the box stays disabled until it does.
void frmMain::startPasswordStore() {
    m_passwords = new PasswordStore(this);
    connect(m_passwords, &PasswordStore::availability, this, [this](bool available) {
        chkRemember->setEnabled(available);
        chkRemember->setToolTip(available ? QString() : m_passwords->unavailableReason());
        if (available && chkRemember->isChecked() && txtPw->text().isEmpty())
            m_passwords->read(txtSn->text());
    });
    connect(m_passwords, &PasswordStore::passwordRead, this,
            [this](const QString &name, const QString &password) {
                if (name == txtSn->text() && txtPw->text().isEmpty())
                    txtPw->setText(password);
            });
    connect(m_passwords, &PasswordStore::failed, this, [this](const QString &reason) {
        Errors(QStringLiteral("The password could not be stored: ") + reason);
    });
    connect(chkRemember, &QCheckBox::clicked, this, [this](bool on) {
        m_settings->setRememberPassword(on);
        if (!on)
            m_passwords->remove(txtSn->text());
    });
    m_passwords->probe();
}

// A successful sign-on stores its password when the user asked for it.
void frmMain::rememberPassword() {
    if (m_passwords && m_passwords->isAvailable() && chkRemember->isChecked())
        m_passwords->write(txtSn->text(), txtPw->text());
}

void frmMain::rememberPlace() {
    m_settings->setWindowPosition(pos());
}
