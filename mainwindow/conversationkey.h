#pragma once
// What a conversation's tab, notification and view are found by: a person
// (the screen name compared normalised) or a room (the number of its view,
// which stays while the room is open, also when it is joined again under a
// new chat id after a reconnect). The caption only rides along for display:
// a person called "team." and the room "team" (caption "team.") are two
// keys, and so are two rooms that share a name.

#include "protocol/wire.h"

#include <QMetaType>
#include <QString>

struct ConversationKey {
    enum class Kind : quint8 { None, Person, Room };

    Kind kind = Kind::None;
    QString person; // normalised
    int roomView = 0;
    QString caption; // the partner as he arrived, or the room's caption

    static ConversationKey ofPerson(const QString &partner) {
        return {Kind::Person, toc::normalizeScreenName(partner), 0, partner};
    }
    static ConversationKey ofRoom(int roomView, const QString &caption) {
        return {Kind::Room, QString(), roomView, caption};
    }

    bool isNull() const { return kind == Kind::None; }
    bool isRoom() const { return kind == Kind::Room; }
    // One text per conversation, for tables keyed by text.
    QString text() const {
        return kind == Kind::Room ? QLatin1String("room:") + QString::number(roomView)
                                  : QLatin1String("im:") + person;
    }

    // The key a text() names (its caption left empty: keys compare
    // without it); a null key for any other text.
    static ConversationKey fromText(const QString &text) {
        if (text.startsWith(QLatin1String("im:")))
            return {Kind::Person, text.mid(3), 0, QString()};
        bool ok = false;
        const int view = text.startsWith(QLatin1String("room:")) ? text.mid(5).toInt(&ok) : 0;
        return ok ? ofRoom(view, QString()) : ConversationKey();
    }

    friend bool operator==(const ConversationKey &a, const ConversationKey &b) {
        return a.kind == b.kind && a.person == b.person && a.roomView == b.roomView;
    }
    friend bool operator!=(const ConversationKey &a, const ConversationKey &b) { return !(a == b); }
};
Q_DECLARE_METATYPE(ConversationKey)
