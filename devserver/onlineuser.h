#pragma once
// A signed-on account as the server keeps it while any of its connections
// lasts.

#include "devserver/buddyconfig.h"
#include "devserver/connection.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace devserver {

struct OnlineUser {
    QString name; // normalised
    QString formatted;
    std::vector<std::unique_ptr<Connection>> connections;
    BuddyConfig config;
    QSet<QString> buddies;   // normalised names of config's buddies
    QSet<QString> visibleTo; // online watchers that currently see this user online
    QSet<QString> imedBy;    // users who sent this one an IM: it may warn them
    bool online = false;     // once a connection has sent toc_init_done
    bool service = false;    // the built-in bot
    qint64 signOnTime = 0;   // Unix seconds
    int warning = 0;         // percent
    qint64 idleSince = 0;    // Unix seconds, 0 when not idle
    QString awayMessage;
    QStringList caps; // lower case, the chat capability last

    // Away only while every connection is.
    bool away() const {
        for (const auto &c : connections) {
            if (!c->away)
                return false;
        }
        return !connections.empty();
    }
};

} // namespace devserver
