#include "tabstrip.h"

#include "uikit/shownname.h"

#include "uikit/contextmenus.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
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
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mnuTab"));
    m_close = m_menu->addAction(QStringLiteral("Close"));
    m_close->setObjectName(QStringLiteral("mnuCloseTab"));
    // Found again by its key: tabs may come and go while the menu is open.
    connect(m_close, &QAction::triggered, this, [this] {
        for (int i = 0; i < count(); ++i)
            if (tabData(i) == m_menuTab)
                return emit closeRequested(i);
    });
}

void TabStrip::contextMenuEvent(QContextMenuEvent *event) {
    const bool mouse = event->reason() == QContextMenuEvent::Mouse;
    const int index = mouse ? tabAt(event->pos()) : currentIndex();
    const ConversationKey k = key(index);
    if (k.isNull() && !isFixed(index, Fixed::Credits))
        return;
    m_menuTab = tabData(index);
    m_close->setText(k.isRoom() ? QStringLiteral("Leave") : QStringLiteral("Close"));
    m_menu->popup(contextmenus::placeOf(event, this, tabRect(index).center()));
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

QString TabStrip::shownCaption(const ConversationKey &key) const {
    QString shown = !key.isRoom() && shownAs ? shownAs(key.caption) : shown::name(key.caption);
    // A single '&' would be taken as a mnemonic and vanish.
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    return shown;
}

// A '#' drawn beside a room's caption: no screen name can draw an icon.
QIcon TabStrip::roomMark() const {
    if (m_roomMark.isNull()) {
        const qreal ratio = devicePixelRatioF();
        const int side = fontMetrics().height();
        QPixmap mark(QSize(side, side) * ratio);
        mark.setDevicePixelRatio(ratio);
        mark.fill(Qt::transparent);
        QPainter paint(&mark);
        QFont bold = font();
        bold.setBold(true);
        paint.setFont(bold);
        paint.setPen(QColor(0, 0, 160));
        paint.drawText(QRect(0, 0, side, side), Qt::AlignCenter, QStringLiteral("#"));
        paint.end();
        m_roomMark = QIcon(mark);
    }
    return m_roomMark;
}

int TabStrip::addConversation(const ConversationKey &key) {
    const int index = appendTab(shownCaption(key), QVariant::fromValue(key));
    if (key.isRoom())
        setTabIcon(index, roomMark());
    return index;
}

void TabStrip::refreshCaptions() {
    for (int i = 0; i < count(); ++i)
        if (const ConversationKey k = key(i); !k.isNull())
            setTabText(i, shownCaption(k));
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

ConversationKey TabStrip::key(int index) const {
    const QVariant data = tabData(index);
    return data.metaType() == QMetaType::fromType<ConversationKey>() ? data.value<ConversationKey>()
                                                                     : ConversationKey();
}

bool TabStrip::isConversation(int index, const ConversationKey &k) const {
    return !k.isNull() && key(index) == k;
}

int TabStrip::conversationIndex(const ConversationKey &k) const {
    for (int i = 0; i < count(); ++i)
        if (isConversation(i, k))
            return i;
    return -1;
}

void TabStrip::removeConversation(const ConversationKey &k) {
    for (int i = count() - 1; i >= 0; --i)
        if (isConversation(i, k))
            removeTab(i);
}

QString TabStrip::caption(int index) const {
    if (isFixed(index, Fixed::Settings))
        return kSettings;
    if (isFixed(index, Fixed::Credits))
        return kCredits;
    return key(index).caption;
}

QString TabStrip::shownText(int index) const {
    return tabText(index).replace(QLatin1String("&&"), QLatin1String("&"));
}

QString TabStrip::selectedCaption() const {
    const int index = currentIndex();
    return index < 0 ? QString() : caption(index);
}

bool TabStrip::markUnseen(const ConversationKey &k) {
    bool marked = false;
    for (int i = 0; i < count(); ++i) {
        if (isConversation(i, k) && i != currentIndex() && tabTextColor(i) != kHighlight) {
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
