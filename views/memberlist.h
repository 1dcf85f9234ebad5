#pragma once
// The people in a chat room as its member list shows them: indexed by name,
// so that a join or a leave costs the same in a room of ten or of 75,000,
// and each name listed once. Changes are recorded at once and brought to
// the list widget by apply(): a few one by one, many by one rebuild, so a
// flood of leaves costs one pass over the list instead of one per leave.

#include <QHash>
#include <QString>
#include <vector>

class QListWidget;
class QListWidgetItem;

class MemberList {
  public:
    // Rows of the member list are taken as this many pixels high.
    static constexpr int kRowPixels = 16;

    explicit MemberList(QListWidget *list);
    ~MemberList();
    MemberList(const MemberList &) = delete;
    MemberList &operator=(const MemberList &) = delete;

    // False when the name is listed already: nothing changes.
    bool join(const QString &name);
    // False when the name is not listed: nothing changes.
    bool leave(const QString &name);
    // The members, changes not yet applied included.
    int count() const { return int(m_members.size()); }
    // The members' names, changes not yet applied included.
    QList<QString> names() const { return m_members.keys(); }
    // Brings the list widget up to date, in the order people joined.
    void apply();
    // Nobody listed any more, at once.
    void clear();

  private:
    void removeOneByOne();
    void rebuildWithout();

    QListWidget *m_list;
    // Each member's item, in the widget or waiting in m_arrivals.
    QHash<QString, QListWidgetItem *> m_members;
    // Items to add, in order; an item whose member left since is dropped.
    std::vector<QListWidgetItem *> m_arrivals;
    // Items in the widget whose member left.
    std::vector<QListWidgetItem *> m_gone;
};
