#include "optionspage.h"

#include "client/clientsettings.h"
#include "uikit/pagewidgets.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using namespace pagewidgets;

OptionsPage::OptionsPage(const PageKit &kit, QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pageOptions"));
    chkTimestamps = check(this, "chkTimestamps", QStringLiteral("Show timestamps"),
                          onPage(120, 400, 3500, 255));
    chkNotify =
        check(this, "chkNotify", QStringLiteral("Notify on new IMs"), onPage(120, 660, 3500, 255));
    chkHistory = check(this, "chkHistory", QStringLiteral("Keep conversation history"),
                       onPage(120, 920, 3500, 255));
    chkTyping = check(this, "chkTyping", QStringLiteral("Send typing notifications"),
                      onPage(120, 1180, 3500, 255));

    QLabel *idleLabel = label(this, "labIdle", QStringLiteral("Idle after minutes (0: never):"),
                              onPage(120, 1485, 2520, 255));
    txtIdle = named(new QSpinBox(this), "txtIdle", onPage(2640, 1440, 975, 315));
    txtIdle->setRange(0, ClientSettings::kMaxIdleMinutes);
    txtIdle->setValue(kit.settings ? kit.settings->idleMinutes() : 10);
    // One change per choice, not one per digit typed.
    txtIdle->setKeyboardTracking(false);
    txtIdle->setAccessibleName(QStringLiteral("Minutes without input before you show as idle"));
    idleLabel->setBuddy(txtIdle);
    ClientSettings *settings = kit.settings;
    connect(txtIdle, &QSpinBox::valueChanged, this, [this, settings](int minutes) {
        if (settings)
            settings->setIdleMinutes(minutes);
        emit idleMinutesChanged(minutes);
    });

    chkSmileys =
        check(this, "chkSmileys", tr("Show smileys as pictures"), onPage(120, 1860, 2520, 255));
    chkSmileys->setChecked(settings ? settings->showSmileys() : true);
    connect(chkSmileys, &QCheckBox::toggled, this, [this, settings](bool on) {
        if (settings)
            settings->setShowSmileys(on);
        emit smileysChanged(on);
    });

    cmdQuit = button(this, "cmdQuit", QStringLiteral("Quit"), onPage(2760, 1860, 855, 300));
    cmdQuit->setAccessibleName(QStringLiteral("Quit Vorkle"));
}

void OptionsPage::bind(QCheckBox *box, QAction *action) {
    box->setChecked(action->isChecked());
    // Setting a box or an action to the state it has emits nothing: no loop.
    connect(box, &QCheckBox::toggled, action, &QAction::setChecked);
    connect(action, &QAction::toggled, box, &QCheckBox::setChecked);
}
