// Where the main window meets the conversation views: the panel switch's
// view steps, the view resets of logout, and opening a conversation.
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QLineEdit>

// hider, first step: hide every chat view and every IM view.
void frmMain::hideViews() {
    for (ctlChat *view : std::as_const(chatViews))
        if (view)
            view->hide();
    for (ctlIM *view : std::as_const(imViews))
        if (view)
            view->hide();
}

// Tab1_Click: show each view whose key equals the caption, with its panel.
// An empty caption (no tab selected) matches no view: empty keys belong to
// the templates and to closed conversations.
void frmMain::showViewsFor(const QString &caption) {
    if (caption.isEmpty())
        return;
    for (ctlChat *view : std::as_const(chatViews)) {
        if (view && view->Chatids == caption) {
            view->show();
            PicChat->show();
        }
    }
    for (ctlIM *view : std::as_const(imViews)) {
        if (view && view->IMUser == caption) {
            view->show();
            PicIM->show();
        }
    }
}

// "IM User": the name goes into the IM field and "Send IM" runs.
void frmMain::openIM(const QString &name) {
    txtIM->setText(name);
    cmdIM_Click();
}
