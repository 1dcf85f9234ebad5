#pragma once
// Pure builders for every command line the client sends: the protocol
// control, the tests and the benchmarks all build their lines here, so a
// line looks the same whoever sends it. Each returns the line without its
// NUL; screen names are normalised and free text is escaped where the
// server expects it.

#include <QString>

namespace toc::cmd {

// Real servers close the connection on a command line longer than this
// (in bytes, its NUL included): what a user's action would send is checked
// against it before it goes out.
constexpr qsizetype kServerLineLimit = 2048;
bool fitsServer(const QString &line);

QString initDone();
QString sendIm(const QString &user, const QString &message, bool autoResponse);
QString getInfo(const QString &user);
QString getStatus(const QString &user);
QString evil(const QString &user, bool anonymous);
QString setAway(const QString &message);
QString setInfo(const QString &profile);
QString setIdle(qint32 seconds);
// The user's typing in a conversation with `user`: 2 typing, 1 stopped with
// text in the box, 0 nothing typed.
QString clientEvent(const QString &user, int typing);
QString setCaps(const QString &caps);
QString formatNickname(const QString &formatted);
QString changePassword(const QString &oldPassword, const QString &newPassword);

QString chatJoin(qint16 exchange, const QString &room);
QString chatLeave(qint32 id);
QString chatSend(qint32 id, const QString &message);
QString chatAccept(qint32 id);
QString chatInvite(qint32 id, const QString &message, const QString &users);

QString newBuddies(const QString &group, const QString &buddy);
QString removeBuddy(const QString &group, const QString &buddy);
QString newGroup(const QString &group);
QString delGroup(const QString &group);
QString addDeny(const QString &user);
QString removeDeny(const QString &user);
QString addPermit(const QString &user);
QString removePermit(const QString &user);
QString setPdMode(qint16 mode);

} // namespace toc::cmd
