// What the window remembers between runs: the last successful sign-on, the
// formatting of outgoing text, the away messages, the colour scheme and the
// window's place. A fresh profile leaves every default as it is.
#include "clickfield.h"
#include "client/clientsettings.h"
#include "frmmain.h"
#include "views/colortext.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

void frmMain::restoreSignOn() {
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

void frmMain::rememberPlace() {
    m_settings->setWindowPosition(pos());
}
