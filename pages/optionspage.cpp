#include "optionspage.h"

#include "client/clientsettings.h"
#include "client/spellchecker.h"
#include "uikit/pagewidgets.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
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

    cmdQuit = button(this, "cmdQuit", QStringLiteral("Quit"), onPage(2760, 1860, 855, 300));
    cmdQuit->setAccessibleName(QStringLiteral("Quit Vorkle"));
    if (kit.spell)
        buildSpelling(kit.spell);
}

void OptionsPage::buildSpelling(SpellChecker *spell) {
    chkSpell = check(this, "chkSpell", tr("Check spelling"), onPage(120, 1890, 1380, 255));
    chkSpell->setChecked(spell->enabled());
    cboSpell = named(new QComboBox(this), "cboSpell", onPage(1500, 1860, 1140, 315));
    cboSpell->setAccessibleName(tr("Spelling dictionary"));
    cboSpell->view()->setAccessibleName(tr("Installed dictionaries"));
    if (spell->languages().isEmpty())
        cboSpell->addItem(tr("none installed"));
    cboSpell->addItems(spell->languages());
    // None fits the locale: the box stays blank until the user picks one.
    cboSpell->setCurrentIndex(spell->languages().isEmpty() ? 0
                                                           : cboSpell->findText(spell->language()));
    const auto enable = [this, spell] {
        cboSpell->setEnabled(spell->enabled() && !spell->languages().isEmpty());
    };
    enable();
    connect(chkSpell, &QCheckBox::toggled, spell, [spell, enable](bool on) {
        spell->setEnabled(on);
        enable();
    });
    connect(cboSpell, &QComboBox::textActivated, spell, &SpellChecker::setLanguage);
}

void OptionsPage::bind(QCheckBox *box, QAction *action) {
    box->setChecked(action->isChecked());
    // Setting a box or an action to the state it has emits nothing: no loop.
    connect(box, &QCheckBox::toggled, action, &QAction::setChecked);
    connect(action, &QAction::toggled, box, &QCheckBox::setChecked);
}
