#pragma once
// Which open conversation belongs to a person and which to a chat room.
// The window numbers its views; this keeps, for each open conversation,
// the number of its view: one per person (names compared normalised, so
// "Pal One" and "palone" are one person) and one per room id (0 is a room
// like any other). A room whose connection ended stays open under its name,
// without an id, until it is joined again. A server could open conversations without end, so
// their number is capped.

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class Conversations {
  public:
    static constexpr int kMaxOpenIMs = 200;
    static constexpr int kMaxOpenRooms = 100;

    // The view of the conversation with a person, or -1.
    int imView(const QString &partner) const;
    bool imsFull() const { return openIMs() >= kMaxOpenIMs; }
    void openIM(const QString &partner, int view);
    void closeIM(int view);
    int openIMs() const { return int(m_imByPartner.size()); }

    // The view of a room, or -1.
    int roomView(qint32 chatId) const;
    bool roomsFull() const { return openRooms() >= kMaxOpenRooms; }
    void openRoom(qint32 chatId, int view, const QString &name = QString());
    void closeRoom(int view);
    int openRooms() const { return int(m_roomOfView.size()); }
    // A room open under this name, compared as servers compare room names
    // (ignoring case, keeping spaces).
    bool inRoomNamed(const QString &name) const;
    // The room name asked for last ("Join Chat", an accepted invitation):
    // named by the join when the server answers "???".
    QString requestedRoom;
    // The user asked for this room: it becomes the room asked for last, and
    // its confirmation is awaited (names compared without case and spaces:
    // a server may answer "Chat 100" to "chat100").
    void awaitRoom(const QString &name);
    // True, once, when the room joined is one the user asked for; a room
    // the server joined by itself is not.
    bool takeAwaitedRoom(const QString &name);

    // The connection ended: every room keeps its view and its name, but
    // no id reaches it any more (the next connection numbers rooms anew).
    void detachRooms();
    // The names of the rooms waiting to be joined again.
    QStringList detachedRooms() const;
    // The room of that name (compared as servers compare room names) was
    // joined again under a new id: its view, now found by that id, or -1
    // when no room waits under the name or the id is taken.
    int rekeyRoom(const QString &name, qint32 chatId);

    // Signing off ends every conversation.
    void clear();

  private:
    QHash<QString, int> m_imByPartner;
    QHash<int, QString> m_partnerOfView;
    QHash<qint32, int> m_roomById;
    QHash<int, qint32> m_roomOfView;
    QHash<int, QString> m_roomNameOfView;
    QSet<int> m_detachedViews;
    QSet<QString> m_awaitedRooms; // normalised
};
