#pragma once
// The "away" page: the saved away messages, the message box, "Save" and
// "Set Away"; with the away strip it runs the away state: what happens to
// the IMs that arrive, and "I'm Back".

#include "pagekit.h"

#include <QWidget>

class AwayState;
class AwayStrip;
class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class AwayPage : public QWidget {
    Q_OBJECT

  public:
    AwayPage(const PageKit &kit, AwayState *away, AwayStrip *strip, QWidget *parent = nullptr);

    void lstAway_Click();
    void Command3_Click(); // "Set Away"
    void Command7_Click(); // "I'm Back"

    // New conversations get no tab until "I'm Back".
    bool holdsNewTabs() const;
    // One IM arrived (after it reached its view): counted while away,
    // answered and warned as the strip's switches say. True when the away
    // message went back to the sender as an automatic response.
    bool incomingIM(const QString &sender);

    QLabel *Label20 = nullptr; // "Away Messages"
    QListWidget *lstAway = nullptr;
    QPlainTextEdit *txtAway = nullptr;
    QCheckBox *chkSaveAway = nullptr;
    QPushButton *Command3 = nullptr; // "Set Away"
    AwayStrip *const strip;

  signals:
    // The server was told: away (the strip shows) or back.
    void awayChanged(bool away);
    // "I'm Back": the conversations held while away, in order.
    void released(const QStringList &names);

  private:
    void rememberMessages();

    PageKit m_kit;
    AwayState *m_away;
};
