#pragma once

#include "guitestkit.h"

#include <QObject>

class TestFrmMain : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    // start-up, login and status (tst_frmmain.cpp)
    void startupState();
    void layout_data();
    void layout();
    void loginThroughLoggedIn();
    void statusLineFollowsFrames();
    void serverErrorDuringSignOn();
    void badPortSendsNothing_data();
    void badPortSendsNothing();
    void refusedConnectionShowsSocketError();
    void serverCloseWhileSignedOn();
    void screennameFormatReplacesField();
    void hostileNamesShowLiterally();
    void alertKeepsOneWindowWithNewestText();
    void logoutResetsLayout();
    void tabsSwitchPanels();
    void logoShowsWholeFramesOnlyWhileSeen();
    void trayMenu_data();
    void trayMenu();
    void closingRemovesTrayIcon();

    // buddy list (tst_frmmain_buddylist.cpp)
    void treeFromConfiguration();
    void secondSignOnRebuildsKnownBuddies();
    void buddyImages_data();
    void buddyImages();
    void idleCounts_data();
    void idleCounts();
    void buddyUpdates_data();
    void buddyUpdates();
    void collapsedGroupReopensAtNextSignOn();
    void treeClick_data();
    void treeClick();
    void offlineBuddies();
    void aliases();
    void buddyActions_data();
    void buddyActions();
    void clickWithoutSelectionSendsNothing();
    void removeItem_data();
    void removeItem();
    void removeItemWithoutSelection();
    void blockUserFromMenu();
    void buddyAddedAndGroupRemovedBoxes();
    void optionsMenuOpens();

  private:
    std::unique_ptr<GuiRig> rig;
};
