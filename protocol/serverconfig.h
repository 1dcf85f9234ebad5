#pragma once
// The stored configuration the server sends at sign-on (CONFIG2): finding
// where it ends and turning its records into the lists the client shows.
// Pure; collecting the pieces of a split configuration is the caller's job.

#include <QString>
#include <QStringList>

namespace toc {

struct ServerConfig {
    // Group names as "[group]" + name, each followed by its buddies.
    QStringList buddies;
    QStringList blocked;
    QStringList permitted;
    // Records of any other kind, kept whole.
    QStringList misc;
    QString preferences;
    qint16 privacyMode = 0;
};

// Index of the end record "done:" at or after `from`, or -1. It counts only
// as a record of its own (at the start of the text or after a line feed,
// ended by a line feed): a buddy named "xdone:" does not end the list.
qsizetype findConfigEnd(const QString &text, qsizetype from);

// The records up to "done:" (or the end of the text; a last record without
// a line feed counts too). Later "pref:" and "m:" records replace earlier ones.
ServerConfig parseServerConfig(const QString &text);

} // namespace toc
