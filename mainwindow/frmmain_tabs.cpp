// The tab strip: captions kept as keys, the panel switch and closing tabs.
// The fixed tabs ("Settings", "Credits") carry a mark of their own instead
// of a caption key, so a partner who happens to be called "Settings" gets
// a conversation like anyone else and can never take the real tab's place.
#include "frmmain.h"
#include "uikit/shownname.h"

#include <QSignalBlocker>
#include <QTabBar>

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kCredits = QStringLiteral("Credits");
} // namespace

int frmMain::appendTab(const QString &caption, const QVariant &key) {
    // A single '&' would be taken as a mnemonic and vanish.
    QString shown = shown::name(caption);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    int index = -1;
    {
        // The key must be in place before the panel switch reads it.
        const QSignalBlocker quiet(Tab1);
        index = Tab1->addTab(shown);
        Tab1->setTabData(index, key);
    }
    // The first tab of an empty strip becomes the selected one.
    if (Tab1->currentIndex() == index)
        Tab1_Click();
    return index;
}

int frmMain::addTab(const QString &caption) {
    return appendTab(caption, caption);
}

int frmMain::addFixedTab(FixedTab tab) {
    return appendTab(tab == FixedTab::Settings ? kSettings : kCredits, int(tab));
}

bool frmMain::isFixedTab(int index, FixedTab tab) const {
    const QVariant key = Tab1->tabData(index);
    return key.typeId() == QMetaType::Int && key.toInt() == int(tab);
}

int frmMain::fixedTabIndex(FixedTab tab) const {
    for (int i = 0; i < Tab1->count(); ++i)
        if (isFixedTab(i, tab))
            return i;
    return -1;
}

// A conversation's tab: its key is the caption it was opened with.
bool frmMain::isConversationTab(int index, const QString &caption) const {
    const QVariant key = Tab1->tabData(index);
    return key.typeId() == QMetaType::QString && key.toString() == caption;
}

QString frmMain::tabCaption(int index) const {
    if (isFixedTab(index, FixedTab::Settings))
        return kSettings;
    if (isFixedTab(index, FixedTab::Credits))
        return kCredits;
    return Tab1->tabData(index).toString();
}

QString frmMain::selectedTabCaption() const {
    const int index = Tab1->currentIndex();
    return index < 0 ? QString() : tabCaption(index);
}

bool frmMain::isTab(const QString &caption) const {
    for (int i = 0; i < Tab1->count(); ++i)
        if (isConversationTab(i, caption))
            return true;
    return false;
}

void frmMain::hider() {
    hideViews();
    PicIM->hide();
    PicLogin->hide();
    PicCredits->hide();
    PicChat->hide();
}

void frmMain::Tab1_Click() {
    hider();
    const int index = Tab1->currentIndex();
    if (index < 0)
        return;
    markTabSeen(index);
    if (isFixedTab(index, FixedTab::Settings))
        PicLogin->show();
    else if (isFixedTab(index, FixedTab::Credits))
        PicCredits->show();
    else
        showViewsFor(tabCaption(index));
}

void frmMain::TabUpdate() {
    Tab1_Click();
}

void frmMain::selectTab(const QString &caption) {
    for (int i = 0; i < Tab1->count(); ++i) {
        if (isConversationTab(i, caption)) {
            Tab1->setCurrentIndex(i);
            return;
        }
    }
    Tab1->setCurrentIndex(addTab(caption));
}

// A conversation's tab goes; the fixed tabs are never conversations.
void frmMain::CloseTab(const QString &caption) {
    for (int i = Tab1->count() - 1; i >= 0; --i)
        if (isConversationTab(i, caption))
            Tab1->removeTab(i);
    Tab1_Click();
}

void frmMain::closeFixedTab(FixedTab tab) {
    const int index = fixedTabIndex(tab);
    if (index >= 0)
        Tab1->removeTab(index);
    Tab1_Click();
}
