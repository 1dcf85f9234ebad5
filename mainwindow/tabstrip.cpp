#include "tabstrip.h"

#include "uikit/shownname.h"

#include <QSignalBlocker>

namespace {
const QString kSettings = QStringLiteral("Settings");
const QString kCredits = QStringLiteral("Credits");
const QColor kHighlight(200, 0, 0);
} // namespace

TabStrip::TabStrip(QWidget *parent) : QTabBar(parent) {
    setObjectName(QStringLiteral("Tab1"));
    setAccessibleName(QStringLiteral("Conversations"));
    setExpanding(false);
    setDrawBase(true);
}

int TabStrip::appendTab(const QString &shown, const QVariant &key) {
    int index = -1;
    {
        // The key must be in place before the panel switch reads it.
        const QSignalBlocker quiet(this);
        index = addTab(shown);
        setTabData(index, key);
    }
    // The first tab of an empty strip becomes the selected one.
    if (currentIndex() == index)
        emit currentChanged(index);
    return index;
}

QString TabStrip::shownCaption(const QString &caption) const {
    // A single '&' would be taken as a mnemonic and vanish.
    QString shown = shownAs ? shownAs(caption) : shown::name(caption);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return shown;
}

int TabStrip::addCaption(const QString &caption) {
    return appendTab(shownCaption(caption), caption);
}

void TabStrip::refreshCaptions() {
    for (int i = 0; i < count(); ++i)
        if (tabData(i).typeId() == QMetaType::QString)
            setTabText(i, shownCaption(tabData(i).toString()));
}

int TabStrip::addFixed(Fixed tab) {
    return appendTab(tab == Fixed::Settings ? kSettings : kCredits, int(tab));
}

bool TabStrip::isFixed(int index, Fixed tab) const {
    const QVariant key = tabData(index);
    return key.typeId() == QMetaType::Int && key.toInt() == int(tab);
}

int TabStrip::fixedIndex(Fixed tab) const {
    for (int i = 0; i < count(); ++i)
        if (isFixed(i, tab))
            return i;
    return -1;
}

void TabStrip::removeFixed(Fixed tab) {
    const int index = fixedIndex(tab);
    if (index >= 0)
        removeTab(index);
}

bool TabStrip::isConversation(int index, const QString &caption) const {
    const QVariant key = tabData(index);
    return key.typeId() == QMetaType::QString && key.toString() == caption;
}

int TabStrip::conversationIndex(const QString &caption) const {
    for (int i = 0; i < count(); ++i)
        if (isConversation(i, caption))
            return i;
    return -1;
}

void TabStrip::removeConversation(const QString &caption) {
    for (int i = count() - 1; i >= 0; --i)
        if (isConversation(i, caption))
            removeTab(i);
}

QString TabStrip::caption(int index) const {
    if (isFixed(index, Fixed::Settings))
        return kSettings;
    if (isFixed(index, Fixed::Credits))
        return kCredits;
    return tabData(index).toString();
}

QString TabStrip::selectedCaption() const {
    const int index = currentIndex();
    return index < 0 ? QString() : caption(index);
}

bool TabStrip::markUnseen(const QString &caption) {
    bool marked = false;
    for (int i = 0; i < count(); ++i) {
        if (isConversation(i, caption) && i != currentIndex() && tabTextColor(i) != kHighlight) {
            setTabTextColor(i, kHighlight);
            marked = true;
        }
    }
    return marked;
}

void TabStrip::markSeen(int index) {
    if (index >= 0 && tabTextColor(index) == kHighlight)
        setTabTextColor(index, QColor());
}

void TabStrip::step(int by) {
    if (count() > 0)
        setCurrentIndex((currentIndex() + by + count()) % count());
}
