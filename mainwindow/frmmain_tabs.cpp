// The tab strip: captions kept as keys, the panel switch and closing tabs.
#include "frmmain.h"

#include <QSignalBlocker>
#include <QTabBar>

int frmMain::addTab(const QString &caption) {
    // A single '&' would be taken as a mnemonic and vanish.
    QString shown = caption;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    int index = -1;
    {
        // The key must be in place before the panel switch reads it.
        const QSignalBlocker quiet(Tab1);
        index = Tab1->addTab(shown);
        Tab1->setTabData(index, caption);
    }
    // The first tab of an empty strip becomes the selected one.
    if (Tab1->currentIndex() == index)
        Tab1_Click();
    return index;
}

QString frmMain::tabCaption(int index) const {
    return Tab1->tabData(index).toString();
}

QString frmMain::selectedTabCaption() const {
    const int index = Tab1->currentIndex();
    return index < 0 ? QString() : tabCaption(index);
}

bool frmMain::isTab(const QString &caption) const {
    for (int i = 0; i < Tab1->count(); ++i)
        if (tabCaption(i) == caption)
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
    const QString caption = selectedTabCaption();
    if (caption == QLatin1String("Settings"))
        PicLogin->show();
    else if (caption == QLatin1String("Credits"))
        PicCredits->show();
    showViewsFor(caption);
}

void frmMain::TabUpdate() {
    Tab1_Click();
}

void frmMain::selectTab(const QString &caption) {
    for (int i = 0; i < Tab1->count(); ++i) {
        if (tabCaption(i) == caption) {
            Tab1->setCurrentIndex(i);
            return;
        }
    }
    Tab1->setCurrentIndex(addTab(caption));
}

void frmMain::CloseTab(const QString &caption) {
    for (int i = Tab1->count() - 1; i >= 0; --i)
        if (tabCaption(i) == caption)
            Tab1->removeTab(i);
    Tab1_Click();
}
