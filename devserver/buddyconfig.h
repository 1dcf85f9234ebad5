#pragma once
// One account's stored configuration: groups with their buddies, the permit
// and deny lists and the privacy mode. Pure data with the rules for editing
// it, rendering it as configuration records and deciding who is allowed.

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace devserver {

struct BuddyEntry {
    QString name;  // normalised
    QString alias; // may be empty
    QString note;  // may be empty
};

struct BuddyGroup {
    QString name;
    QList<BuddyEntry> buddies;
};

enum PrivacyMode {
    ModeNotSet = 0, // allows all, and no m: record is sent
    AllowAll = 1,
    BlockAll = 2,
    AllowPermitted = 3,
    BlockDenied = 4,
    AllowBuddies = 5
};

class BuddyConfig {
  public:
    static constexpr int kMaxGroups = 100;
    static constexpr int kMaxBuddies = 1000;
    static constexpr int kMaxListed = 500;

    QList<BuddyGroup> groups;
    QStringList permit; // normalised names
    QStringList deny;   // normalised names
    int pdmode = ModeNotSet;

    // The group whose name normalises like `name`, or nullptr.
    BuddyGroup *findGroup(const QString &name);
    const BuddyGroup *findGroup(const QString &name) const;

    // Each returns true when something changed; false when the item was
    // already there (add), absent (remove) or a limit was reached.
    bool addGroup(const QString &name);
    bool removeGroup(const QString &name);
    bool addBuddy(const QString &group, const QString &name, const QString &alias,
                  const QString &note = QString());
    bool removeBuddy(const QString &group, const QString &name);
    bool addListed(QStringList *list, const QString &normalized);
    bool removeListed(QStringList *list, const QString &normalized);

    int buddyCount() const;
    bool hasBuddy(const QString &normalized) const;
    // Normalised names of every buddy in every group.
    QSet<QString> buddyNames() const;

    // Whether the privacy mode lets `normalized` see this account and reach
    // it with IMs and chat invitations.
    bool allows(const QString &normalized) const;

    // The configuration records, each ended by a line feed, without "done:":
    // m (once a mode was set), d and p first, then g/b in order; buddies as
    // "b:name", "b:name:alias" or "b:name:alias:::::note".
    QStringList records() const;
};

} // namespace devserver
