// Connection state, sign-on and sending.
#include "qeltocsock.h"

#include "commands.h"
#include "keepalive.h"
#include "linkwatch.h"
#include "outgoinglines.h"
#include "wire.h"

#include <QTcpSocket>

const QString QelTOCSock::kDefaultAuthServer = QStringLiteral("login.oscar.aol.com");
const QString QelTOCSock::kNoChatName = QStringLiteral("[No Chat Name Found for ID]");
const QString QelTOCSock::kCapabilities =
    QStringLiteral("09461345-4C7F-11D1-8222-444553540000 09461343-4C7F-11D1-8222-444553540000");

QelTOCSock::QelTOCSock(QObject *parent)
    : QObject(parent), Sock(new QTcpSocket(this)), m_watch(new toc::LinkWatch(this)),
      m_outgoing(new toc::OutgoingLines(
          [this](const QByteArray &data) { SendPacket(toc::Data, data); }, this)) {
    // A burst is taken a slice per pass of the event loop: the rest waits
    // in the kernel, instead of being held twice (as read and as frames)
    // in the client's memory, and the window paints between the slices.
    Sock->setReadBufferSize(kReadSlice);
    connect(Sock, &QTcpSocket::connected, this, &QelTOCSock::onConnected);
    connect(Sock, &QTcpSocket::readyRead, this, &QelTOCSock::onReadyRead);
    connect(Sock, &QTcpSocket::errorOccurred, this, &QelTOCSock::onSocketError);
    connect(Sock, &QTcpSocket::disconnected, this, &QelTOCSock::onSocketDisconnected);
    // Any line answers: the server's answer to its own user's status is
    // simply the next thing it says.
    connect(m_watch, &toc::LinkWatch::askServer, this,
            [this] { sendLine(toc::cmd::getStatus(m_screenName)); });
    connect(m_watch, &toc::LinkWatch::lost, this,
            [this] { linkLost(QStringLiteral("The server stopped answering.")); });
}

QelTOCSock::~QelTOCSock() {
    // Nothing may be raised to an owner that is being torn down.
    Sock->disconnect(this);
    Sock->abort();
}

bool QelTOCSock::isConnected() const {
    return Sock->state() == QAbstractSocket::ConnectedState;
}

void QelTOCSock::clearChatTable() {
    for (ChatSlot &slot : m_chats)
        slot = ChatSlot();
}

void QelTOCSock::closeSocket() {
    // Closing ourselves is not a close by the server: raise nothing for it.
    ++m_generation;
    m_watch->stop();
    m_outgoing->connectionEnded();
    m_closingOurselves = true;
    Sock->abort();
    m_closingOurselves = false;
}

void QelTOCSock::Login(const QString &UserName, const QString &Password, const QString &TOCServer,
                       qint32 Port, const QString &AuthServer) {
    clearChatTable();
    const QString auth = AuthServer.trimmed().isEmpty() ? kDefaultAuthServer : AuthServer;
    m_screenName = NormalizeScreenName(UserName);
    m_roastedPassword = RoastPassword(Password);
    m_tocServer = TOCServer.trimmed();
    m_port = Port;
    m_authServer = auth.trimmed();

    closeSocket();
    // Bytes of an old connection must never be glued to the next one.
    dropReceived();
    m_configRemainder.clear();
    m_disconnectReported = false;
    if (Port < 0 || Port > 65535)
        return; // the connect step fails; nothing else to do
    Sock->connectToHost(m_tocServer, quint16(Port));
}

void QelTOCSock::LogOff() {
    clearChatTable();
    closeSocket();
    dropReceived();
    const QString name = m_screenName;
    emit LoggedOut(name);
    m_screenName.clear();
    m_roastedPassword.clear();
    m_authServer.clear();
    m_tocServer.clear();
    m_port = kDefaultPort;
    LastChatID = 0;
}

bool QelTOCSock::SendPacket(qint16 intChannel, const QByteArray &strData) {
    if (!isConnected())
        return false;
    QByteArray data = strData;
    if (intChannel == toc::Data)
        data.append('\0');
    if (data.size() > toc::kMaxFrameData)
        return false;
    if (m_sequence > 0xFFFF)
        m_sequence = 0;
    const QByteArray frame = toc::buildFrame(quint8(intChannel), quint16(m_sequence), data);
    ++m_sequence;
    Sock->write(frame);
    return true;
}

bool QelTOCSock::sendLine(const QString &line) {
    if (!isConnected())
        return false;
    const QByteArray data = m_rawNames.encode(line);
    // Refused now, while the caller can still say so (the NUL goes with it).
    if (data.size() + 1 > toc::kMaxFrameData)
        return false;
    m_outgoing->send(data);
    return true;
}

void QelTOCSock::onConnected() {
    // A link that stops acknowledging ends in a socket error (a timeout),
    // which onSocketError reports like any lost connection.
    Sock->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    if (!toc::applyKeepAlive(Sock->socketDescriptor(), toc::keepAliveTimers()))
        qWarning("Could not set the keep-alive timers of the connection");
    // Until the sign-on is done, nothing else is written.
    m_outgoing->connectionStarted();
    Sock->write(QByteArrayLiteral("FLAPON\n\n"));
}

void QelTOCSock::sendSignOn() {
    SendPacket(toc::SignOn, toc::signOnData(m_screenName.toUtf8()));
    SendPacket(toc::Data, m_rawNames.encode(toc::signOnLine(m_authServer, m_port, m_screenName,
                                                            m_roastedPassword)));
}

void QelTOCSock::onSocketError() {
    if (m_closingOurselves)
        return;
    // A close by the server is reported once, as Disconnected, not as an error.
    if (Sock->error() == QAbstractSocket::RemoteHostClosedError) {
        onSocketDisconnected();
        return;
    }
    linkLost(Sock->errorString());
}

void QelTOCSock::linkLost(const QString &why) {
    const QStringList inDoubt = m_watch->takeInDoubt();
    if (!inDoubt.isEmpty())
        emit MessagesInDoubt(inDoubt);
    emit WinsockError(why);
    closeSocket();
}

void QelTOCSock::onSocketDisconnected() {
    if (m_closingOurselves || m_disconnectReported)
        return;
    m_disconnectReported = true;
    m_watch->stop();
    m_outgoing->connectionEnded();
    emit Disconnected();
}

// --- helpers shared by callers ---

QString QelTOCSock::RemoveHtml(const QString &strMessage) {
    return toc::removeHtml(strMessage);
}

QString QelTOCSock::GetChatName(qint32 lngChatID) const {
    const int slot = chatSlotIndex(lngChatID);
    return slot < 0 ? kNoChatName : m_chats[slot].name;
}

// Every id is a room, 0 included: a slot is free by its mark, not its id.
int QelTOCSock::chatSlotIndex(qint32 id) const {
    for (int i = 0; i < int(m_chats.size()); ++i)
        if (m_chats[i].used && m_chats[i].id == id)
            return i;
    return -1;
}

int QelTOCSock::freeChatSlot() const {
    for (int i = 0; i < int(m_chats.size()); ++i)
        if (!m_chats[i].used)
            return i;
    return -1;
}

QString QelTOCSock::NormalizeScreenName(const QString &strName) {
    return toc::normalizeScreenName(strName);
}

QString QelTOCSock::EscapeArgument(const QString &strText) {
    return toc::escapeArgument(strText);
}

QByteArray QelTOCSock::WordToBytes(qint32 n) {
    return toc::wordToBytes(n);
}

qint32 QelTOCSock::BytesToWord(const QByteArray &strBytes) {
    return toc::bytesToWord(strBytes);
}

QString QelTOCSock::RoastPassword(const QString &strPassword) {
    return toc::roastPassword(strPassword.toUtf8());
}
