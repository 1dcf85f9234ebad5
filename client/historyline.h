#pragma once
// One line of a conversation as the history keeps it: an IM or a room
// message, incoming or outgoing, an auto-response, or the "Not sent" line
// the window showed. The text is kept as it arrived (HTML).

#include <QDateTime>
#include <QString>

struct HistoryLine {
    enum class Kind : int { Message = 0, AutoResponse = 1, NotSent = 2 };

    qint64 at = 0;        // milliseconds since 1970, UTC
    QString conversation; // the partner's screen name, or the room's name
    bool room = false;
    bool outgoing = false;
    Kind kind = Kind::Message;
    QString sender; // empty for a "Not sent" line
    QString text;

    // A line of an IM conversation, stamped now.
    static HistoryLine im(const QString &partner, bool outgoing, Kind kind, const QString &sender,
                          const QString &text) {
        return {QDateTime::currentMSecsSinceEpoch(), partner, false, outgoing, kind, sender, text};
    }
    // A line of a room, stamped now.
    static HistoryLine inRoom(const QString &room, bool outgoing, Kind kind, const QString &sender,
                              const QString &text) {
        return {QDateTime::currentMSecsSinceEpoch(), room, true, outgoing, kind, sender, text};
    }
};
