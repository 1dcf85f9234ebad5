#pragma once

#include "guitestkit.h"

#include <QObject>

class ctlChat;
class ctlIM;

class TestSettingsPages : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    // privacy page (tst_settingspages.cpp)
    void privacyLines_data();
    void privacyLines();
    void blockUserMenuLeavesBlockList();
    void imViewBlockGoesThroughBlockAdd();
    void signOnFillsAndSignOffClears_data();
    void signOnFillsAndSignOffClears();

    // away and profile pages, away strip (tst_settingspages_away.cpp)
    void awayListChoice_data();
    void awayListChoice();
    void setAway_data();
    void setAway();
    void imBack();
    void awayIncomingIMs_data();
    void awayIncomingIMs();
    void newAwayPeriodAnswersAgain();
    void heldTabsAppearAtImBack();
    void profileSetAndSentAtSignOn();
    void newFormat_data();
    void newFormat();

    // font page and colour scheme (tst_settingspages_font.cpp)
    void fontPageStartValues();
    void colourChoice_data();
    void colourChoice();
    void fontChoice_data();
    void fontChoice();
    void styleSwitchRefreshesEveryView();
    void changeColorsRecoloursListedWidgets();
    void colourFileRoundTrip();
    void badColourFileChangesNothing_data();
    void badColourFileChangesNothing();

  private:
    // A server line, handled completely before this returns.
    bool receive(const QString &line);
    bool receiveIM(const QString &sender, const QString &message);
    // Every line the client sent so far, in order (a marker line flushes).
    QStringList linesSent();
    // The conversation views opened by a signed-on window: one IM partner
    // and one chat room, besides the two templates.
    bool openViews();
    ctlIM *imView(const QString &partner) const;

    std::unique_ptr<GuiRig> rig;
};
