// Receiving: reassembly, the frame handler and every server message.
#include "qeltocsock.h"

#include "wire.h"

#include <QTcpSocket>

using toc::splitFields;
using toc::toInt16;
using toc::toInt32;

void QelTOCSock::onReadyRead() {
    if (!isConnected())
        return;
    processIncoming(Sock->readAll());
}

void QelTOCSock::processIncoming(const QByteArray &bytes) {
    m_receive.append(bytes);
    // A handler that spins an event loop may bring us back here: the outer
    // loop below picks up what was appended.
    if (m_reading)
        return;
    m_reading = true;
    const quint32 generation = m_generation;
    QByteArray frame;
    // Stop as soon as a handler ended or restarted the connection: what is
    // left belonged to the old one.
    while (generation == m_generation && m_receive.next(frame))
        HandlePacket(frame);
    m_reading = false;
}

void QelTOCSock::HandlePacket(const QByteArray &frame) {
    emit IncomingPacket(frame);
    const quint8 type = frame.size() > 1 ? quint8(frame[1]) : 0;
    switch (type) {
    case toc::SignOn:
        sendSignOn();
        break;
    case toc::Data:
        dispatchLine(toc::decodeLine(QByteArrayView(frame).sliced(toc::kFlapHeaderSize)));
        break;
    case toc::FrameError:
    case toc::SignOff:
        break;
    case toc::KeepAlive:
        SendPacket(toc::KeepAlive, QByteArray());
        break;
    default:
        emit Error(0, QStringLiteral("Unknown Channel Detected: ") + QChar(ushort(type)));
        break;
    }
}

void QelTOCSock::dispatchLine(const QString &line) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    const QString name = colon < 0 ? line : line.left(colon);
    bool ok1 = false, ok2 = false, ok3 = false;

    if (name == QLatin1String("SIGN_ON") || name == QLatin1String("UPDATED2")) {
        return;
    } else if (name == QLatin1String("NICK")) {
        const QStringList f = splitFields(line, 2);
        if (f.size() >= 2)
            emit ScreennameFormat(f[1]);
    } else if (name == QLatin1String("CONFIG2")) {
        handleConfig(line);
    } else if (name == QLatin1String("ERROR")) {
        handleError(line);
    } else if (name == QLatin1String("UPDATE_BUDDY2")) {
        const QStringList f = splitFields(line, 8);
        if (f.size() < 7)
            return;
        const qint16 warning = toInt16(f[3], &ok1);
        const qint32 online = toInt32(f[4], &ok2);
        const qint32 idle = toInt32(f[5], &ok3);
        if (ok1 && ok2 && ok3)
            emit BuddyUpdate(f[1], f[2] != QLatin1String("F"), warning, online, idle, f[6]);
    } else if (name == QLatin1String("BUDDY_CAPS2")) {
        const QStringList f = splitFields(line, 3);
        if (f.size() >= 3)
            emit BuddyCapabilities(f[1], f[2]);
    } else if (name == QLatin1String("BART2")) {
        const QStringList f = splitFields(line, 3);
        if (f.size() >= 3)
            emit BuddyBart(f[1], f[2]);
    } else if (name == QLatin1String("CHAT_JOIN")) {
        handleChatJoin(splitFields(line, 3));
    } else if (name == QLatin1String("CHAT_UPDATE_BUDDY")) {
        const QStringList f = splitFields(line, 0);
        if (f.size() < 4)
            return;
        const qint32 id = toInt32(f[1], &ok1);
        if (!ok1)
            return;
        if (f[2] == QLatin1String("T")) {
            for (qsizetype i = 3; i < f.size(); ++i)
                emit ChatUserUpdate(f[i], true, id);
        } else {
            emit ChatUserUpdate(f[3], false, id);
        }
    } else if (name == QLatin1String("CHAT_IN_ENC")) {
        const QStringList f = splitFields(line, 7);
        if (f.size() < 7)
            return;
        const qint32 id = toInt32(f[1], &ok1);
        if (ok1)
            emit ChatMessage(id, f[2], f[6]);
    } else if (name == QLatin1String("CHAT_LEFT")) {
        handleChatLeft(splitFields(line, 2));
    } else if (name == QLatin1String("IM_IN_ENC2")) {
        const QStringList f = splitFields(line, 10);
        if (f.size() >= 10)
            emit InstantMessage(f[1], f[9], f[2] != QLatin1String("F"), f[5]);
    } else if (name == QLatin1String("INSERTED2") || name == QLatin1String("DELETED2")) {
        const bool inserted = name == QLatin1String("INSERTED2");
        const QStringList kind = splitFields(line, 3);
        if (kind.size() < 3)
            return;
        const QString &k = kind[1];
        if (k == QLatin1String("b")) {
            const QStringList f = splitFields(line, inserted ? 5 : 4);
            if (inserted && f.size() >= 5)
                emit BuddyAdded(f[4], f[3], f[2]);
            else if (!inserted && f.size() >= 4)
                emit BuddyRemoved(f[3], f[2]);
        } else if (k == QLatin1String("g")) {
            inserted ? emit GroupAdded(kind[2]) : emit GroupRemoved(kind[2]);
        } else if (k == QLatin1String("p")) {
            if (inserted) {
                emit PrivateBuddyAdded(kind[2]);
            } else {
                // Removal splits with a limit of 4: field 2 stops at the next colon.
                emit PrivateBuddyRemoved(splitFields(line, 4)[2]);
            }
        } else if (k == QLatin1String("d")) {
            inserted ? emit BuddyBlocked(kind[2]) : emit BuddyUnblocked(kind[2]);
        }
    } else if (name == QLatin1String("CHAT_INVITE")) {
        const QStringList f = splitFields(line, 5);
        if (f.size() < 5)
            return;
        const qint32 id = toInt32(f[2], &ok1);
        if (ok1)
            emit ChatInvite(f[1], id, f[3], f[4]);
    } else if (name == QLatin1String("GOTO_URL")) {
        const QStringList f = splitFields(line, 3);
        if (f.size() >= 3)
            emit UserProfile(f[2]);
    } else if (name == QLatin1String("EVILED")) {
        const QStringList f = splitFields(line, 3);
        if (f.size() < 3)
            return;
        const qint16 level = toInt16(f[1], &ok1);
        if (ok1)
            emit Warned(QString::number(level), f[2]);
    } else if (name == QLatin1String("ADMIN_NICK_STATUS")) {
        emit ScreenNameFormatted();
    } else if (name == QLatin1String("ADMIN_PASSWD_STATUS")) {
        emit PasswordChanged();
    } else if (name == QLatin1String("RVOUS_PROPOSE")) {
        const QStringList f = splitFields(line, 0);
        if (f.size() < 9)
            return;
        const qint32 port = toInt32(f[8], &ok1);
        if (ok1)
            emit RendevousRequest(f[1], f[2], f[3], f[5], f[6], f[7], port);
    } else if (name == QLatin1String("CLIENT_EVENT2")) {
        const QStringList f = splitFields(line, 3);
        if (f.size() < 3)
            return;
        const qint16 status = toInt16(f[2], &ok1);
        if (ok1)
            emit TypingStatus(f[1], status);
    }
}

void QelTOCSock::handleError(const QString &line) {
    QStringList f = splitFields(line, 3);
    if (f.size() < 2)
        return;
    const QString &code = f[1];
    const QString arg = f.size() > 2 ? f[2] : QString();
    bool ok = false;
    if (code == QLatin1String("901")) {
        emit Error(901, arg + QStringLiteral(" is not available"));
    } else if (code == QLatin1String("902")) {
        emit Error(902, QStringLiteral("Warning of ") + arg +
                            QStringLiteral(" is not currently available"));
    } else if (code == QLatin1String("903")) {
        emit Error(
            903,
            QStringLiteral("A message has been dropped, you are exceeding the server speed limit"));
    } else if (code == QLatin1String("911")) {
        emit Error(911, QStringLiteral("Error validating input"));
    } else if (code == QLatin1String("951")) {
        f = splitFields(line, 4);
        const QString room = f.size() > 2 ? f[2] : QString();
        const QString reason = f.size() > 3 ? f[3] : QString();
        QString why;
        if (reason == QLatin1String("-1"))
            why = QStringLiteral("': Possible Reset");
        else if (reason == QLatin1String("24"))
            why = QStringLiteral("': Chat Full");
        else if (reason == QLatin1String("48"))
            why = QStringLiteral("': Rated");
        else if (reason == QLatin1String("74"))
            why = QStringLiteral("': Ejected");
        else
            why = QStringLiteral("': Unknown error");
        emit Error(951, QStringLiteral("Could not join chat '") + room + why);
    } else if (code == QLatin1String("980")) {
        emit Error(980, QStringLiteral("Invalid account or password"));
    } else if (code == QLatin1String("983")) {
        emit Error(983, QStringLiteral("You are attempting to sign on again too soon"));
    } else if (code == QLatin1String("989")) {
        if (arg == QLatin1String("7")) {
            emit Error(989, QStringLiteral("The screenname or password you entered is not valid"));
        } else if (arg == QLatin1String("17")) {
            emit Error(989, QStringLiteral("Sign on Blocked"));
        } else {
            const qint16 sub = toInt16(arg, &ok);
            if (ok)
                emit Error(sub, QStringLiteral("Unknown error code 989, sub error: ") + arg);
        }
    } else {
        const qint16 number = toInt16(code, &ok);
        if (ok)
            emit Error(number, QStringLiteral("Error code: ") + code);
    }
}

void QelTOCSock::handleChatJoin(const QStringList &f) {
    if (f.size() < 3)
        return;
    bool ok = false;
    const qint32 id = toInt32(f[1], &ok);
    if (!ok)
        return;
    const int free = chatSlotIndex(0);
    if (free >= 0)
        m_chats[free] = ChatSlot{id, f[2]};
    LastChatID = id;
    emit JoinedChat(f[2], LastChatID);
}

void QelTOCSock::handleChatLeft(const QStringList &f) {
    if (f.size() < 2)
        return;
    bool ok = false;
    const qint32 id = toInt32(f[1], &ok);
    if (!ok)
        return;
    const int slot = chatSlotIndex(id);
    if (slot >= 0)
        m_chats[slot] = ChatSlot();
    emit ChatLeft(id);
}

// Index of a "done:" record (at the start of the text or right after a line
// feed, and ended by a line feed) at or after `from`, or -1.
// Far beyond any real buddy list (several thousand entries fit in 1 MiB).
static constexpr qsizetype kMaxConfigChars = 16 * 1024 * 1024;

static qsizetype findDoneRecord(const QString &text, qsizetype from) {
    static const QString kDone = QStringLiteral("done:\n");
    for (qsizetype at = text.indexOf(kDone, from); at >= 0; at = text.indexOf(kDone, at + 1)) {
        if (at == 0 || text[at - 1] == QLatin1Char('\n'))
            return at;
    }
    return -1;
}

void QelTOCSock::handleConfig(const QString &line) {
    // The end marker counts only as a record of its own: a buddy named
    // "xdone:" must not end the configuration early and lose the rest, and
    // a marker split over two lines is still found.
    const qsizetype from = qMax<qsizetype>(0, m_configRemainder.size() - 6);
    m_configRemainder += line.mid(8);
    if (findDoneRecord(m_configRemainder, from) < 0) {
        // A server that never ends its configuration must not eat all memory.
        if (m_configRemainder.size() > kMaxConfigChars)
            m_configRemainder.clear();
        return;
    }
    const QString config = m_configRemainder;
    m_configRemainder.clear();

    QStringList buddies, blocked, permitted, misc;
    QString preferences;
    qint16 mode = 0;
    qsizetype pos = 0;
    // A last piece without a line feed is taken as a record too.
    while (pos < config.size()) {
        qsizetype end = config.indexOf(QLatin1Char('\n'), pos);
        if (end < 0)
            end = config.size();
        const QStringView record = QStringView(config).mid(pos, end - pos);
        pos = end + 1;
        if (record.startsWith(u"g:")) {
            buddies.append(QStringLiteral("[group]") + record.mid(2).toString());
        } else if (record.startsWith(u"b:")) {
            buddies.append(
                record.mid(2).toString().replace(QStringLiteral(":::::"), QStringLiteral(":")));
        } else if (record.startsWith(u"d:")) {
            blocked.append(record.mid(2).toString());
        } else if (record.startsWith(u"pref:")) {
            preferences = record.mid(5).toString();
        } else if (record.startsWith(u"p:")) {
            permitted.append(record.mid(2).toString());
        } else if (record.startsWith(u"m:")) {
            const QStringView digit = record.mid(2, 1);
            if (digit.size() == 1 && digit[0].isDigit() && digit[0].unicode() < 128)
                mode = qint16(digit[0].unicode() - '0');
        } else if (record.startsWith(u"done:")) {
            break;
        } else {
            misc.append(record.toString());
        }
    }
    emit LoggedIn(m_screenName, buddies, blocked, permitted, misc, preferences, mode);
    sendLine(QStringLiteral("toc_init_done"));
}
