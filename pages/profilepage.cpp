#include "profilepage.h"

#include "client/clientsettings.h"
#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/pagewidgets.h"
#include "views/spellmenu.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace pagewidgets;

const QString ProfilePage::kDefaultProfile =
    QStringLiteral("I use <a href=\"http://vorkle.invalid/\">Vorkle 2.0.2</a>.");

ProfilePage::ProfilePage(const PageKit &kit, QWidget *parent) : QWidget(parent), m_kit(kit) {
    setObjectName(QStringLiteral("pageProfile"));
    txtProfile = textBox(this, "txtProfile", kDefaultProfile, onPage(120, 480, 3615, 1335));
    txtProfile->setAccessibleName(QStringLiteral("Profile"));
    spelling::attach(txtProfile, kit.spell);
    Command9 =
        button(this, "Command9", QStringLiteral("Set Profile"), onPage(2640, 1850, 1095, 300));
    connect(Command9, &QPushButton::clicked, this, &ProfilePage::Command9_Click);
}

void ProfilePage::Command9_Click() {
    const QString profile = txtProfile->toPlainText();
    if (sendProfile(profile) && m_kit.settings)
        m_kit.settings->setProfile(m_account, profile);
}

void ProfilePage::signedOn(const QString &account) {
    const QString key = toc::normalizeScreenName(account);
    const QString profile =
        (m_kit.settings ? m_kit.settings->profile(key) : std::nullopt).value_or(kDefaultProfile);
    if (key != m_account)
        txtProfile->setPlainText(profile);
    m_account = key;
    sendProfile(profile);
}

bool ProfilePage::sendProfile(const QString &profile) {
    if (!toc::cmd::fitsServer(toc::cmd::setInfo(profile)))
        m_kit.Errors(tooLongText(QStringLiteral("profile")));
    else if (!m_kit.toc->SetProfile(profile))
        m_kit.notSent();
    else
        return true;
    return false;
}
