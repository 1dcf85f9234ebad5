// Where the main window meets the conversation views and the settings
// pages that are filled in by their own code: the panel switch's view
// steps, the view and list resets of logout, the lists filled at sign-on,
// the profile sent at sign-on, and opening a conversation. Until those
// parts exist there are no views and no lists, so each hook has nothing
// to do beyond what is written here.
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QLineEdit>

// hider, first step: hide every chat view and every IM view.
void frmMain::hideViews() {
    for (ctlChat *view : std::as_const(chatViews))
        view->hide();
    for (ctlIM *view : std::as_const(imViews))
        view->hide();
}

// Tab1_Click: show each view whose key equals the caption, with its panel.
// An empty caption (no tab selected) matches no view: empty keys belong to
// the templates and to closed conversations.
void frmMain::showViewsFor(const QString &caption) {
    if (caption.isEmpty())
        return;
    for (ctlChat *view : std::as_const(chatViews)) {
        if (view->Chatids == caption) {
            view->show();
            PicChat->show();
        }
    }
    for (ctlIM *view : std::as_const(imViews)) {
        if (view->IMUser == caption) {
            view->show();
            PicIM->show();
        }
    }
}

// logout: empty the keys of every view but the templates, hide the IM views.
void frmMain::resetViewsOnLogout() {
    for (int i = 1; i < chatViews.size(); ++i) {
        chatViews.at(i)->Chatid2.clear();
        chatViews.at(i)->Chatids.clear();
    }
    for (int i = 1; i < imViews.size(); ++i)
        imViews.at(i)->IMUser.clear();
    for (int i = 1; i < imViews.size(); ++i)
        imViews.at(i)->hide();
}

// clearPrivacyLists, fillPrivacyLists and blockFromView are in
// frmmain_privacy.cpp; profileText, holdNewIMTabs and awayIncomingIM in
// frmmain_away.cpp; formatSettings in frmmain_font.cpp.

// "IM User": the name goes into the IM field and "Send IM" runs.
void frmMain::openIM(const QString &name) {
    txtIM->setText(name);
    cmdIM_Click();
}
