#pragma once

#include "guitestkit.h"

#include <QObject>

class ctlIM;

class TestSettingsPages : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    // privacy page (tst_settingspages.cpp)
    void privacyLines_data();
    void privacyLines();
    void blockUserMenuBlocks();
    void removeFromLists_data();
    void removeFromLists();
    void signOnFillsAndSignOffClears();
    void offlineActionsChangeNothing_data();
    void offlineActionsChangeNothing();

    // away and profile pages, away strip (tst_settingspages_away.cpp)
    void defaultEntryGivesOneLine();
    void setAway_data();
    void setAway();
    void imBack();
    void awayIncomingIMs_data();
    void awayIncomingIMs();
    void heldTabsAppearAtImBack();
    void profileSetAndSentAtSignOn();
    void cancelledNewFormatSendsNothing();
    void refusedFormatSaysWhat();

    // font page and colour scheme (tst_settingspages_font.cpp)
    void fontPageStartValues();
    void choicesRememberedAtNextStart();
    void colourChoice_data();
    void colourChoice();
    void changeColorsRecoloursListedWidgets();
    void colourFileRoundTrip();
    void badColourFileChangesNothing_data();
    void badColourFileChangesNothing();

  private:
    // A server line, handled completely before this returns.
    bool receive(const QString &line);
    bool receiveIM(const QString &sender, const QString &message);
    // The lines the client sent since the last call, in order.
    QStringList linesSent();
    // Signed on, with one IM partner ("alice") and one room besides the
    // two templates.
    bool openViews();
    ctlIM *imView(const QString &partner) const;

    std::unique_ptr<GuiRig> rig;
};
