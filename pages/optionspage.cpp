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
                          onPage(120, 380, 3500, 240));
    chkNotify =
        check(this, "chkNotify", QStringLiteral("Notify on new IMs"), onPage(120, 615, 3500, 240));
    chkHistory = check(this, "chkHistory", QStringLiteral("Keep conversation history"),
                       onPage(120, 850, 3500, 240));
    chkTyping = check(this, "chkTyping", QStringLiteral("Send typing notifications"),
                      onPage(120, 1085, 3500, 240));

    QLabel *idleLabel = label(this, "labIdle", QStringLiteral("Idle after minutes (0: never):"),
                              onPage(120, 1615, 2520, 255));
    txtIdle = named(new QSpinBox(this), "txtIdle", onPage(2640, 1570, 975, 315));
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
        check(this, "chkSmileys", tr("Show smileys as pictures"), onPage(120, 1320, 3500, 240));
    chkSmileys->setChecked(settings ? settings->showSmileys() : true);
    connect(chkSmileys, &QCheckBox::toggled, this, [this, settings](bool on) {
        if (settings)
            settings->setShowSmileys(on);
        emit smileysChanged(on);
    });

    cmdQuit = button(this, "cmdQuit", QStringLiteral("Quit"), onPage(2760, 1865, 855, 300));
    cmdQuit->setAccessibleName(QStringLiteral("Quit Vorkle"));
    if (kit.spell)
        buildSpelling(kit.spell);
    // The keyboard goes down the page as it is drawn.
    QWidget *previous = chkTyping;
    for (QWidget *next : {static_cast<QWidget *>(chkSmileys), static_cast<QWidget *>(txtIdle),
                          static_cast<QWidget *>(chkSpell), static_cast<QWidget *>(cboSpell),
                          static_cast<QWidget *>(cmdQuit)}) {
        if (!next)
            continue;
        setTabOrder(previous, next);
        previous = next;
    }
}

void OptionsPage::buildSpelling(SpellChecker *spell) {
    chkSpell = check(this, "chkSpell", tr("Check spelling"), onPage(120, 1895, 1380, 255));
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
