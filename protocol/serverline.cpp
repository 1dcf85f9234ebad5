// One parser per command word, found through a table; each checks the
// fields it needs and copies only the ones its record keeps.
#include "serverline.h"

#include "fieldviews.h"
#include "servererror.h"
#include "wire.h"

#include <QHash>

namespace toc {

namespace {

using Parser = ServerRecord (*)(QStringView line);

// Known messages that raise nothing.
ServerRecord ignore(QStringView) {
    return msg::Ignored{};
}

ServerRecord nick(QStringView line) {
    const FieldViews f(line, 2);
    if (f.size() < 2)
        return msg::Ignored{};
    return msg::ScreennameFormat{f.str(1)};
}

// Everything after "CONFIG2:", line feeds included.
ServerRecord config(QStringView line) {
    return msg::ConfigPiece{line.mid(8).toString()};
}

// UPDATE_BUDDY2 ends with an empty field: the user class is field 6.
ServerRecord buddyUpdate(QStringView line) {
    const FieldViews f(line, 8);
    if (f.size() < 7)
        return msg::Ignored{};
    bool ok1 = false, ok2 = false, ok3 = false;
    const qint16 warning = toInt16(f[3], &ok1);
    const qint32 online = toInt32(f[4], &ok2);
    const qint32 idle = toInt32(f[5], &ok3);
    if (!(ok1 && ok2 && ok3))
        return msg::Ignored{};
    return msg::BuddyUpdate{f.str(1), f[2] != u"F", warning, online, idle, f.str(6)};
}

ServerRecord buddyCaps(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 3)
        return msg::Ignored{};
    return msg::BuddyCapabilities{f.str(1), f.str(2)};
}

ServerRecord bart(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 3)
        return msg::Ignored{};
    return msg::BuddyBart{f.str(1), f.str(2)};
}

ServerRecord chatJoin(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 3)
        return msg::Ignored{};
    bool ok = false;
    const qint32 id = toInt32(f[1], &ok);
    if (!ok)
        return msg::Ignored{};
    return msg::ChatJoined{id, f.str(2)};
}

// The names are every field after the flag, each ended by a colon.
ServerRecord chatUpdateBuddy(QStringView line) {
    const FieldViews f(line, 5);
    if (f.size() < 4)
        return msg::Ignored{};
    bool ok = false;
    const qint32 id = toInt32(f[1], &ok);
    if (!ok)
        return msg::Ignored{};
    // Joins and leaves alike may list several people, one field each.
    QStringList names;
    for (QStringView name : f.from(3).split(u':'))
        names.append(name.toString());
    return msg::ChatMembers{id, f[2] == u"T", names};
}

ServerRecord chatIn(QStringView line) {
    const FieldViews f(line, 7);
    if (f.size() < 7)
        return msg::Ignored{};
    bool ok = false;
    const qint32 id = toInt32(f[1], &ok);
    if (!ok)
        return msg::Ignored{};
    return msg::ChatMessage{id, f.str(2), f.str(6)};
}

ServerRecord chatLeft(QStringView line) {
    const FieldViews f(line, 2);
    if (f.size() < 2)
        return msg::Ignored{};
    bool ok = false;
    const qint32 id = toInt32(f[1], &ok);
    if (!ok)
        return msg::Ignored{};
    return msg::ChatLeft{id};
}

// "<room>:<id>:<from>:<message>": a room name may hold colons itself, so the
// room ends before the first field that is an id followed by a sender.
ServerRecord chatInvite(QStringView line) {
    const QList<QStringView> f = line.split(u':');
    for (qsizetype at = 2; at + 2 < f.size(); ++at) {
        bool ok = false;
        const qint32 id = toInt32(f[at], &ok);
        if (!ok)
            continue;
        const qsizetype roomStart = f[1].data() - line.data();
        const qsizetype roomEnd = f[at].data() - line.data() - 1;
        return msg::ChatInvite{line.sliced(roomStart, roomEnd - roomStart).toString(), id,
                               f[at + 1].toString(),
                               line.sliced(f[at + 2].data() - line.data()).toString()};
    }
    return msg::Ignored{};
}

// The message is the tenth field and keeps its colons.
ServerRecord instantMessage(QStringView line) {
    const FieldViews f(line, 10);
    if (f.size() < 10)
        return msg::Ignored{};
    return msg::InstantMessage{f.str(1), f.str(9), f[2] != u"F", f.str(5)};
}

// INSERTED2 / DELETED2 "<kind>:..." for a buddy, group, permit or deny entry.
ServerRecord listChange(QStringView line, bool inserted) {
    const FieldViews kind(line, 3);
    if (kind.size() < 3)
        return msg::Ignored{};
    const QStringView k = kind[1];
    if (k == u"b") {
        const FieldViews f(line, inserted ? 5 : 4);
        if (inserted && f.size() >= 5)
            return msg::BuddyAdded{f.str(4), f.str(3), f.str(2)};
        if (!inserted && f.size() >= 4)
            return msg::BuddyRemoved{f.str(3), f.str(2)};
        return msg::Ignored{};
    }
    if (k == u"g")
        return inserted ? ServerRecord(msg::GroupAdded{kind.str(2)})
                        : ServerRecord(msg::GroupRemoved{kind.str(2)});
    if (k == u"p") {
        if (inserted)
            return msg::PrivateBuddyAdded{kind.str(2)};
        // A removed permit entry ends at the next colon.
        return msg::PrivateBuddyRemoved{FieldViews(line, 4).str(2)};
    }
    if (k == u"d")
        return inserted ? ServerRecord(msg::BuddyBlocked{kind.str(2)})
                        : ServerRecord(msg::BuddyUnblocked{kind.str(2)});
    return msg::Ignored{};
}

ServerRecord inserted(QStringView line) {
    return listChange(line, true);
}

ServerRecord deleted(QStringView line) {
    return listChange(line, false);
}

ServerRecord gotoUrl(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 3)
        return msg::Ignored{};
    return msg::UserProfile{f.str(2)};
}

ServerRecord eviled(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 3)
        return msg::Ignored{};
    bool ok = false;
    const qint16 level = toInt16(f[1], &ok);
    if (!ok)
        return msg::Ignored{};
    return msg::Warned{QString::number(level), f.str(2)};
}

ServerRecord nickStatus(QStringView) {
    return msg::ScreenNameFormatted{};
}

ServerRecord passwordStatus(QStringView) {
    return msg::PasswordChanged{};
}

// Fields 1..8; field 4 (the sequence) is not passed on, and field 8 ends at
// the next colon.
ServerRecord rendezvous(QStringView line) {
    const FieldViews f(line, 10);
    if (f.size() < 9)
        return msg::Ignored{};
    bool ok = false;
    const qint32 port = toInt32(f[8], &ok);
    if (!ok)
        return msg::Ignored{};
    return msg::RendezvousRequest{f.str(1), f.str(2), f.str(3), f.str(5), f.str(6), f.str(7), port};
}

ServerRecord clientEvent(QStringView line) {
    const FieldViews f(line, 3);
    if (f.size() < 3)
        return msg::Ignored{};
    bool ok = false;
    const qint16 status = toInt16(f[2], &ok);
    if (!ok)
        return msg::Ignored{};
    return msg::TypingStatus{f.str(1), status};
}

const QHash<QStringView, Parser> &parsers() {
    static const QHash<QStringView, Parser> table = {
        {u"SIGN_ON", &ignore},
        {u"UPDATED2", &ignore},
        {u"NICK", &nick},
        {u"CONFIG2", &config},
        {u"ERROR", &detail::decodeError},
        {u"UPDATE_BUDDY2", &buddyUpdate},
        {u"BUDDY_CAPS2", &buddyCaps},
        {u"BART2", &bart},
        {u"CHAT_JOIN", &chatJoin},
        {u"CHAT_UPDATE_BUDDY", &chatUpdateBuddy},
        {u"CHAT_IN_ENC", &chatIn},
        {u"CHAT_LEFT", &chatLeft},
        {u"CHAT_INVITE", &chatInvite},
        {u"IM_IN_ENC2", &instantMessage},
        {u"INSERTED2", &inserted},
        {u"DELETED2", &deleted},
        {u"GOTO_URL", &gotoUrl},
        {u"EVILED", &eviled},
        {u"ADMIN_NICK_STATUS", &nickStatus},
        {u"ADMIN_PASSWD_STATUS", &passwordStatus},
        {u"RVOUS_PROPOSE", &rendezvous},
        {u"CLIENT_EVENT2", &clientEvent},
    };
    return table;
}

} // namespace

ServerRecord decodeServerLine(const QString &line) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    const QStringView word = colon < 0 ? QStringView(line) : QStringView(line).left(colon);
    const Parser parse = parsers().value(word);
    return parse ? parse(line) : msg::Ignored{};
}

} // namespace toc
