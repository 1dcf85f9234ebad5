#include "memberlist.h"

#include "uikit/shownname.h"

#include <QListWidget>
#include <QScrollBar>
#include <QSet>

namespace {

// Up to this many removals, each finds its row; past it the list is
// rebuilt once, which costs about as much as a few searches of its rows.
constexpr size_t kRemovedOneByOne = 32;

} // namespace

MemberList::MemberList(QListWidget *list) : m_list(list) {}

MemberList::~MemberList() {
    // Items in the widget belong to it; the waiting ones to nobody else.
    for (QListWidgetItem *item : m_arrivals)
        if (!item->listWidget())
            delete item;
}

bool MemberList::join(const QString &name) {
    if (m_members.contains(name))
        return false;
    auto *item = new QListWidgetItem(name);
    item->setSizeHint(
        QSize(m_list->fontMetrics().horizontalAdvance(shown::name(name)) + 8, kRowPixels));
    m_members.insert(name, item);
    m_arrivals.push_back(item);
    return true;
}

bool MemberList::leave(const QString &name) {
    QListWidgetItem *item = m_members.take(name);
    if (!item)
        return false;
    // One still waiting is dropped by apply(), which finds it unlisted.
    if (item->listWidget())
        m_gone.push_back(item);
    return true;
}

void MemberList::apply() {
    if (m_gone.size() > kRemovedOneByOne)
        rebuildWithout();
    else
        removeOneByOne();
    m_gone.clear();
    for (QListWidgetItem *item : m_arrivals) {
        if (m_members.value(item->text()) == item)
            m_list->addItem(item);
        else
            delete item;
    }
    m_arrivals.clear();
}

void MemberList::clear() {
    for (QListWidgetItem *item : m_arrivals)
        if (!item->listWidget())
            delete item;
    m_arrivals.clear();
    m_gone.clear();
    m_members.clear();
    m_list->clear();
}

void MemberList::removeOneByOne() {
    for (QListWidgetItem *item : m_gone)
        delete m_list->takeItem(m_list->row(item));
}

void MemberList::rebuildWithout() {
    const QSet<QListWidgetItem *> gone(m_gone.begin(), m_gone.end());
    QListWidgetItem *current = m_list->currentItem();
    const int top = m_list->verticalScrollBar()->value();
    // Taken from the end, no row moves; put back in their order.
    std::vector<QListWidgetItem *> kept;
    kept.reserve(size_t(m_list->count()));
    for (int row = m_list->count() - 1; row >= 0; --row) {
        QListWidgetItem *item = m_list->takeItem(row);
        if (gone.contains(item))
            delete item;
        else
            kept.push_back(item);
    }
    for (auto it = kept.rbegin(); it != kept.rend(); ++it)
        m_list->addItem(*it);
    if (current && !gone.contains(current))
        m_list->setCurrentItem(current);
    m_list->verticalScrollBar()->setValue(top);
}
