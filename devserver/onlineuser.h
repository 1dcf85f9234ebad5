#pragma once
// A signed-on account as the server keeps it while the connection lasts.

#include "devserver/buddyconfig.h"
#include "devserver/endpoint.h"

#include <QSet>
#include <QString>

namespace devserver {

struct OnlineUser {
    QString name; // normalised
    QString formatted;
    Endpoint *endpoint = nullptr;
    BuddyConfig config;
    QSet<QString> buddies;   // normalised names of config's buddies
    QSet<QString> visibleTo; // online watchers that currently see this user online
    bool online = false;     // after toc_init_done
    bool service = false;    // the built-in bot
    qint64 signOnTime = 0;   // Unix seconds
    int warning = 0;         // percent
    qint64 idleSince = 0;    // Unix seconds, 0 when not idle
    bool away = false;
    QString awayMessage;
    QString caps; // comma-separated
};

} // namespace devserver
