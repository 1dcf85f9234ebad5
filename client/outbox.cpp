#include "outbox.h"

#include "protocol/qeltocsock.h"
#include "seenonline.h"
#include "sendpacer.h"

#include <QTcpSocket>

Outbox::Outbox(QelTOCSock *toc, QObject *parent)
    : QObject(parent), pacer(new SendPacer(this)), seen(new SeenOnline(toc, this)) {
    // A line typed while a new sign-on is under way waits for it; the
    // server counts from the sign-on.
    connect(toc->Sock, &QTcpSocket::connected, pacer, &SendPacer::hold);
    connect(toc, &QelTOCSock::LoggedIn, pacer, &SendPacer::sessionStarted);
    connect(toc, &QelTOCSock::Warned, this,
            [this](const QString &level) { pacer->setWarningLevel(level.toInt()); });
    connect(toc, &QelTOCSock::Error, this,
            [this](qint16 code) { m_refusalShown = code == 903 && pacer->speedLimitHit(); });
}

void Outbox::connectionEnded() {
    pacer->connectionEnded();
    seen->clear();
}
