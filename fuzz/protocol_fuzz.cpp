// The protocol control's receive path: arbitrary bytes, cut into arbitrary
// reads, through reassembly and the frame handler, with handlers that call
// the control back the way the main window does.
#include "protocol/qeltocsock.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdlib>

namespace {

QelTOCSock *control() {
    static int argc = 1;
    static char name[] = "fuzz_protocol";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QelTOCSock *sock = [] {
        auto *s = new QelTOCSock;
        QObject::connect(s, &QelTOCSock::IncomingPacket, [](const QByteArray &frame) {
            // Every frame is whole: its length field matches its size.
            if (frame.size() < 6 || frame.size() != 6 + QelTOCSock::BytesToWord(frame.mid(4, 2)))
                abort();
        });
        QObject::connect(s, &QelTOCSock::LoggedIn, [s] {
            s->SetProfile(QStringLiteral("profile"));
            s->SetCapability(QelTOCSock::kCapabilities);
        });
        QObject::connect(s, &QelTOCSock::InstantMessage,
                         [s](const QString &from, const QString &message, bool, const QString &) {
                             s->SendIM(from, message, true);
                             if (message.contains(QLatin1String("logoff")))
                                 s->LogOff();
                             else if (message.contains(QLatin1String("login")))
                                 s->Login(from, message, QStringLiteral("127.0.0.1"), 1);
                         });
        QObject::connect(s, &QelTOCSock::JoinedChat, [s](const QString &room, qint32 id) {
            s->SendChat(room, QStringLiteral("hi"), 0);
            s->InviteUsers(room, QStringLiteral("come"), QStringLiteral("x"), id);
        });
        QObject::connect(s, &QelTOCSock::ChatLeft,
                         [s](qint32 id) { s->LeaveChat(s->GetChatName(id), id); });
        QObject::connect(s, &QelTOCSock::ChatMessage,
                         [s](qint32 id, const QString &, const QString &m) {
                             s->SendChat(QString(), QelTOCSock::RemoveHtml(m), id);
                         });
        QObject::connect(s, &QelTOCSock::BuddyUpdate,
                         [s](const QString &b, bool, qint16, qint32, qint32 idle, const QString &) {
                             s->GetProfile(b);
                             s->SetIdleTime(idle);
                         });
        QObject::connect(s, &QelTOCSock::Error, [s](qint16 code, const QString &) {
            if (code == 980)
                s->LogOff();
        });
        return s;
    }();
    return sock;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    QelTOCSock *sock = control();
    // Each read: one length byte, then up to that many bytes.
    size_t at = 0;
    while (at < size) {
        const size_t want = size_t(data[at++]) * 4 + 1;
        const size_t take = std::min(want, size - at);
        sock->processIncoming(
            QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(take)));
        at += take;
    }
    // A fresh start for the next input: nothing of this one may leak into it.
    sock->LogOff();
    sock->processIncoming(QByteArray());
    // Events the socket posted (a connect started by Login, its failure)
    // are handled as the program's event loop would, instead of piling up.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
