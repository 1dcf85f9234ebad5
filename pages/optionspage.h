#pragma once
// The "options" page: the switches the tray menu also carries (timestamps,
// notifications, history, typing notifications), the idle minutes and
// "Quit", so that a desktop without a tray reaches every option. The page
// holds no state of its own: each box shows and changes the action it is
// bound to, which stays the one source of truth for its option. Options
// only this page carries (smileys, idle minutes) are kept in the settings
// by the page itself.

#include "pagekit.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;
class SpellChecker;

class OptionsPage : public QWidget {
    Q_OBJECT

  public:
    explicit OptionsPage(const PageKit &kit, QWidget *parent = nullptr);

    // The box follows the action and the action the box, both ways.
    static void bind(QCheckBox *box, QAction *action);

    QCheckBox *chkTimestamps = nullptr;
    QCheckBox *chkNotify = nullptr;
    QCheckBox *chkHistory = nullptr;
    QCheckBox *chkTyping = nullptr;
    QCheckBox *chkSmileys = nullptr;
    QSpinBox *txtIdle = nullptr; // minutes, 0 for never
    QPushButton *cmdQuit = nullptr;
    // Spell checking on or off, and its dictionary (there when the window
    // has a spell checker).
    QCheckBox *chkSpell = nullptr;
    QComboBox *cboSpell = nullptr;

  private:
    void buildSpelling(SpellChecker *spell);

  signals:
    // The user chose another idle time; it is remembered already.
    void idleMinutesChanged(int minutes);
    // Smileys are to show as emoji, or as typed; it is remembered already.
    void smileysChanged(bool on);
};
