#include "devserver/vorklebot.h"

#include "devserver/devserver.h"
#include "protocol/wire.h"

#include <QTimer>

namespace devserver {

namespace {
constexpr int kMaxQuote = 200;
} // namespace

VorkleBot::VorkleBot(DevServer *server) : m_server(server) {}

QString VorkleBot::replyTo(const QString &message) {
    QString text = toc::removeHtml(message).simplified();
    // What removeHtml leaves of a broken tag is not passed on as markup.
    text.remove(QLatin1Char('<'));
    text.remove(QLatin1Char('>'));
    if (text.size() > kMaxQuote)
        text = text.left(kMaxQuote) + QStringLiteral("...");
    return QStringLiteral("You said: \"") + text + QLatin1Char('"');
}

void VorkleBot::sendLine(const QString &line) {
    if (line.startsWith(QLatin1String("IM_IN_ENC2:")))
        onIm(line);
    else if (line.startsWith(QLatin1String("CHAT_IN_ENC:")))
        onChat(line);
    else if (line.startsWith(QLatin1String("CHAT_INVITE:")))
        onInvite(line);
}

void VorkleBot::onIm(const QString &line) {
    const QStringList f = toc::splitFields(line, 10);
    if (f.size() < 10 || f[2] != QLatin1String("F"))
        return; // never answer an auto-response: two bots would talk forever
    const QString sender = toc::normalizeScreenName(f[1]);
    const QString reply = replyTo(f[9]);
    const ServerOptions &o = m_server->options();
    QTimer::singleShot(o.botTypingDelayMs, this, [this, sender] {
        if (OnlineUser *bot = m_server->user(DevServer::kBotName))
            m_server->sendClientEvent(*bot, sender, 2);
    });
    QTimer::singleShot(qMax(o.botReplyDelayMs, o.botTypingDelayMs), this, [this, sender, reply] {
        OnlineUser *bot = m_server->user(DevServer::kBotName);
        OnlineUser *target = m_server->user(sender);
        if (bot && target && target->online)
            m_server->sendIm(*bot, sender, reply, false);
    });
}

void VorkleBot::onChat(const QString &line) {
    const QStringList f = toc::splitFields(line, 7);
    if (f.size() < 7)
        return;
    bool ok = false;
    const qint32 id = toc::toInt32(f[1], &ok);
    if (!ok || toc::normalizeScreenName(f[2]) == DevServer::kBotName ||
        !toc::removeHtml(f[6]).toLower().contains(DevServer::kBotName))
        return;
    const QString reply = f[2] + QStringLiteral(", ") + replyTo(f[6]);
    QTimer::singleShot(m_server->options().botReplyDelayMs, this, [this, id, reply] {
        if (Connection *bot = m_server->botConnection())
            m_server->chatSend(*bot, id, reply);
    });
}

void VorkleBot::onInvite(const QString &line) {
    const QStringList f = toc::splitFields(line, 5);
    bool ok = false;
    const qint32 id = f.size() >= 5 ? toc::toInt32(f[2], &ok) : 0;
    if (!ok)
        return;
    QTimer::singleShot(m_server->options().botReplyDelayMs, this, [this, id] {
        if (Connection *bot = m_server->botConnection())
            m_server->chatAccept(*bot, id);
    });
}

} // namespace devserver
