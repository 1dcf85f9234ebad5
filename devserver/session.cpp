#include "devserver/session.h"

#include "devserver/commandparser.h"
#include "devserver/devserver.h"
#include "devserver/httprequest.h"
#include "protocol/wire.h"

#include <QTcpSocket>

namespace devserver {

namespace {
const QByteArray kGreetingLf = QByteArrayLiteral("FLAPON\n\n");
const QByteArray kGreetingCrLf = QByteArrayLiteral("FLAPON\r\n\r\n");
const QByteArray kHttpGet = QByteArrayLiteral("GET ");
} // namespace

Session::Session(QTcpSocket *socket, DevServer *server)
    : m_socket(socket), m_server(server), m_flood(server->options().floodLimit) {
    m_socket->setParent(this);
    m_socket->setReadBufferSize(kReadChunk);
    m_peer = m_socket->peerAddress().toString() + QLatin1Char(':') +
             QString::number(m_socket->peerPort());
    m_clock.start();
    connect(m_socket, &QTcpSocket::readyRead, this, &Session::onReadyRead);
    // Queued, so that a close never re-enters the code that caused it.
    connect(m_socket, &QTcpSocket::disconnected, this, &Session::onDisconnected,
            Qt::QueuedConnection);
    m_signOnTimer.setSingleShot(true);
    connect(&m_signOnTimer, &QTimer::timeout, this, [this] {
        if (m_userName.isEmpty())
            fail(QStringLiteral("no sign-on in time"));
    });
    m_signOnTimer.start(server->options().signOnTimeoutMs);
}

Session::~Session() = default;

QHostAddress Session::localAddress() const {
    return m_socket->localAddress();
}

QString Session::peer() const {
    return m_userName.isEmpty() ? m_peer : m_userName;
}

QString Session::headProblem(QByteArrayView head) {
    if (head.isEmpty())
        return QString();
    if (head[0] != '*')
        return QStringLiteral("bad frame marker");
    if (head.size() < 2)
        return QString();
    const int type = quint8(head[1]);
    if (type < toc::SignOn || type > toc::KeepAlive)
        return QStringLiteral("bad frame type %1").arg(type);
    if (head.size() < toc::kFlapHeaderSize)
        return QString();
    const int length = toc::bytesToWord(head.sliced(4, 2));
    const int limit = type == toc::Data ? kMaxDataFrame : kMaxOtherFrame;
    if (length > limit)
        return QStringLiteral("frame of %1 bytes").arg(length);
    return QString();
}

void Session::onReadyRead() {
    while (m_stage == Stage::Greeting && m_socket->bytesAvailable() > 0)
        consumeGreeting(m_socket->read(kReadChunk));
    if (m_stage == Stage::Http)
        readHttp();
    readFrames();
}

void Session::readFrames() {
    // Read straight into the frame buffer and handle frames in place: a
    // line's bytes are copied once, by the read.
    while (m_stage == Stage::Frames && !m_held && m_socket->bytesAvailable() > 0) {
        const qint64 want = qMin(m_socket->bytesAvailable(), kReadChunk);
        if (m_frames.appendFrom(
                want, [this](char *into, qsizetype max) { return m_socket->read(into, max); }) <= 0)
            break;
        handleFrames();
    }
}

void Session::consumeGreeting(const QByteArray &bytes) {
    m_greeting += bytes;
    if (m_greeting.startsWith(kHttpGet)) {
        m_stage = Stage::Http;
        readHttp();
        return;
    }
    for (const QByteArray &greeting : {kGreetingLf, kGreetingCrLf}) {
        if (m_greeting.startsWith(greeting)) {
            m_frames.append(m_greeting.mid(greeting.size()));
            m_greeting.clear();
            m_stage = Stage::Frames;
            sendFrame(toc::SignOn, QByteArray("\0\0\0\1", 4));
            handleFrames();
            return;
        }
    }
    if (!kGreetingLf.startsWith(m_greeting) && !kGreetingCrLf.startsWith(m_greeting) &&
        !kHttpGet.startsWith(m_greeting))
        fail(QStringLiteral("bad greeting"));
}

void Session::readHttp() {
    // The request head is collected in m_greeting, up to the size a head may have.
    m_greeting += m_socket->read(qMax<qint64>(0, kMaxHttpHead + 1 - m_greeting.size()));
    if (parseHttpRequest(m_greeting).state == HttpRequest::State::Incomplete &&
        m_greeting.size() <= kMaxHttpHead)
        return;
    m_socket->write(m_server->answerHttp(m_greeting));
    m_greeting.clear();
    m_server->log(QStringLiteral("HTTP request on the TOC port from %1").arg(m_peer));
    closeAfterFlush();
}

void Session::handleFrames() {
    QByteArrayView frame;
    while (m_stage == Stage::Frames && !m_held && m_frames.nextView(frame))
        handleFrame(frame);
    if (m_stage != Stage::Frames || m_held)
        return;
    // Look at the head of the frame still incomplete, so that garbage and
    // huge lengths end the connection at once instead of being buffered.
    const QByteArrayView rest = m_frames.pendingBytes();
    const QString problem =
        headProblem(rest.first(qMin<qsizetype>(rest.size(), toc::kFlapHeaderSize)));
    if (!problem.isEmpty())
        fail(problem);
}

void Session::holdLines() {
    m_held = true;
    m_signOnTimer.stop(); // the client has signed on in time; the wait is ours
}

void Session::releaseLines() {
    if (!m_held)
        return;
    m_held = false;
    handleFrames();
    readFrames();
}

void Session::handleFrame(QByteArrayView frame) {
    const QString problem = headProblem(frame.first(toc::kFlapHeaderSize));
    if (!problem.isEmpty()) {
        fail(problem);
        return;
    }
    switch (quint8(frame[1])) {
    case toc::SignOn:
        m_clientSignOnFrame = true;
        break;
    case toc::Data:
        if (!m_clientSignOnFrame)
            close(QStringLiteral("a line before the sign-on frame"));
        else
            handleLine(frame.sliced(toc::kFlapHeaderSize));
        break;
    case toc::SignOff:
        closeAfterFlush();
        break;
    default:
        // Error frames and keep-alives need no answer.
        break;
    }
}

void Session::handleLine(QByteArrayView data) {
    if (data.endsWith('\0'))
        data.chop(1);
    if (m_server->options().verbose)
        m_server->log(
            QStringLiteral("<- %1: %2")
                .arg(peer(), toc::decodeLine(data.first(qMin<qsizetype>(data.size(), 4096)))));
    if (data.size() > kMaxLine) {
        close(QStringLiteral("line of %1 bytes").arg(data.size()));
        return;
    }
    if (data.isEmpty()) {
        close(QStringLiteral("empty line"));
        return;
    }
    if (!m_userName.isEmpty()) {
        switch (m_flood.check(m_clock.elapsed())) {
        case FloodControl::Verdict::Allow:
            break;
        case FloodControl::Verdict::Refuse:
            refuseLine(QStringLiteral("ERROR:903"),
                       QStringLiteral("over %1 lines a second").arg(m_flood.limit()));
            return;
        case FloodControl::Verdict::Disconnect:
            close(QStringLiteral("still over %1 lines a second").arg(m_flood.limit()));
            return;
        }
    }
    // A line without a command word is an unknown command.
    Command cmd;
    parseCommand(data, &cmd);
    if (m_userName.isEmpty())
        m_server->handleSignOn(this, cmd);
    else
        m_server->handleCommand(this, cmd);
}

void Session::refuseLine(const QString &error, const QString &why) {
    m_server->log(QStringLiteral("error to %1: %2 (%3)").arg(peer(), error, why));
    sendLine(error);
}

void Session::sendLine(const QString &line) {
    if (m_stage != Stage::Frames)
        return;
    if (m_server->options().verbose)
        m_server->log(QStringLiteral("-> %1: %2").arg(peer(), line));
    sendFrame(toc::Data, line.toUtf8());
}

void Session::sendFrame(quint8 type, const QByteArray &data) {
    if (m_stage != Stage::Frames)
        return;
    const QByteArray frame = toc::buildFrame(type, m_sequence, data);
    if (frame.isEmpty())
        return; // over 65535 bytes: never sent with a broken length
    ++m_sequence;
    m_socket->write(frame);
    if (m_socket->bytesToWrite() > kMaxQueued)
        fail(QStringLiteral("not reading"));
}

void Session::close(const QString &why) {
    if (m_stage == Stage::Closing)
        return;
    m_server->log(QStringLiteral("closed %1: %2").arg(peer(), why));
    closeAfterFlush();
}

void Session::closeAfterFlush() {
    if (m_stage == Stage::Closing)
        return;
    m_stage = Stage::Closing;
    m_socket->disconnectFromHost();
    // A peer that never takes the rest is cut off.
    QTimer::singleShot(5000, this, &Session::abortNow);
}

void Session::dropConnection() {
    if (m_stage == Stage::Closing)
        return;
    m_stage = Stage::Closing;
    QTimer::singleShot(0, this, &Session::abortNow);
}

void Session::abortNow() {
    m_socket->abort();
    // Reported once, whether or not the socket still signals its close.
    QTimer::singleShot(0, this, &Session::onDisconnected);
}

void Session::fail(const QString &why) {
    if (m_stage == Stage::Closing)
        return;
    m_server->log(QStringLiteral("dropped %1: %2").arg(peer(), why));
    dropConnection();
}

void Session::onDisconnected() {
    if (m_reported)
        return;
    m_reported = true;
    m_stage = Stage::Closing;
    m_server->sessionClosed(this);
}

} // namespace devserver
