#pragma once
// The user's buddy list as the client knows it: the groups, the known
// buddies with the groups each is in, and the commands that change them.
// Every change goes through the protocol control first: when the command
// could not be sent, nothing changes. The window turns the signals into
// tree changes.

#include "knownbuddies.h"

#include <QObject>
#include <QSet>
#include <QStringList>

class QelTOCSock;

class BuddyBook : public QObject {
    Q_OBJECT

  public:
    explicit BuddyBook(QelTOCSock *toc, QObject *parent = nullptr);

    QelTOCSock *protocol() const { return m_toc; }

    // The user's groups in the order they came; the window reads them as
    // `groups`.
    QStringList groups;
    // "group:screenname" entries; the window reads them as `BuddyListx`.
    KnownBuddies buddies;

    // The configuration of a sign-on: "[group]" entries start a group, the
    // entries after one are its buddies (kept normalised). The groups are
    // replaced, and so are the known buddies.
    void load(const QStringList &BuddyList);

    // The text is a group's name (compared normalised).
    bool isGroup(const QString &text) const;
    // The groups a buddy is in, looked up by its normalised name.
    QStringList groupsOf(const QString &buddy) const;

    // Each sends its command and returns false, changing nothing, when it
    // was not sent.
    // A buddy is added by its normalised name; `writing` is how the user
    // wrote it, shown until the server says how it writes it.
    bool addBuddy(const QString &group, const QString &buddy, const QString &writing = {});
    bool addGroup(const QString &group);
    bool removeBuddy(const QString &group, const QString &buddy);
    bool removeGroup(const QString &group);

  signals:
    // A buddy the user added to a group: known now, shown offline until the
    // server reports it online.
    void buddyAdded(const QString &group, const QString &buddy, const QString &writing);
    // A group the user added: it gets a node of its own.
    void groupAdded(const QString &group);
    // A group the user removed: its nodes go.
    void groupRemoved(const QString &group);
    // A buddy the user removed from one group: its node there goes.
    void buddyRemoved(const QString &group, const QString &buddy);

  private:
    QelTOCSock *m_toc;
    // isGroup's index of the normalised group names.
    mutable QSet<QString> m_groupIndex;
    mutable qsizetype m_indexed = 0;
    mutable const QString *m_indexedData = nullptr;
};
