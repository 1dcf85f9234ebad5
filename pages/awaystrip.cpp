#include "awaystrip.h"

#include "uikit/pagewidgets.h"
#include "uikit/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

using namespace pagewidgets;

AwayStrip::AwayStrip(QWidget *window) : QWidget(window) {
    setObjectName(QStringLiteral("PicAway"));
    setGeometry(twips::rect(0, 3120, 5895, 975));
    setAutoFillBackground(true);
    Label21 = label(this, "Label21", QStringLiteral("You are marked as away."),
                    inPanel(120, 120, 2295, 255));
    labAwayMsgs = label(this, "labAwayMsgs", QStringLiteral("0"), inPanel(120, 360, 375, 255));
    Label22 =
        label(this, "Label22", QStringLiteral("Messages While Away"), inPanel(600, 360, 1815, 255));
    chkNoIm =
        check(this, "chkNoIm", QStringLiteral("Don't show IM's"), inPanel(2400, 120, 1575, 255));
    chkAuto =
        check(this, "chkAuto", QStringLiteral("Send Auto Response"), inPanel(2400, 360, 1935, 255));
    chkAuto->setChecked(true);
    chkAutoWarn =
        check(this, "chkAutoWarn", QStringLiteral("Auto Warn"), inPanel(4560, 120, 1215, 210));
    Command7 = button(this, "Command7", QStringLiteral("I'm Back"), inPanel(4560, 360, 1215, 375));
    // Out of sight below the client area anyway; hidden so that focus and
    // accessibility tools do not reach it either.
    hide();
}
