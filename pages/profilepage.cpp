#include "profilepage.h"

#include "protocol/commands.h"
#include "protocol/qeltocsock.h"
#include "uikit/pagewidgets.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace pagewidgets;

const QString ProfilePage::kDefaultProfile =
    QStringLiteral("I use <a href=\"http://vorkle.invalid/\">Vorkle 2.0.2</a>.");

ProfilePage::ProfilePage(const PageKit &kit, QWidget *parent) : QWidget(parent), m_kit(kit) {
    setObjectName(QStringLiteral("pageProfile"));
    txtProfile = textBox(this, "txtProfile", kDefaultProfile, onPage(120, 480, 3615, 1335));
    txtProfile->setAccessibleName(QStringLiteral("Profile"));
    Command9 =
        button(this, "Command9", QStringLiteral("Set Profile"), onPage(2640, 1850, 1095, 300));
    connect(Command9, &QPushButton::clicked, this, &ProfilePage::Command9_Click);
}

void ProfilePage::Command9_Click() {
    sendProfile();
}

void ProfilePage::sendProfile() {
    const QString profile = txtProfile->toPlainText();
    if (!toc::cmd::fitsServer(toc::cmd::setInfo(profile)))
        m_kit.Errors(tooLongText(QStringLiteral("profile")));
    else if (!m_kit.toc->SetProfile(profile))
        m_kit.notSent();
}
