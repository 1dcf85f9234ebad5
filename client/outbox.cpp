#include "outbox.h"

#include "protocol/qeltocsock.h"
#include "seenonline.h"
#include "sendpacer.h"

Outbox::Outbox(QelTOCSock *toc, QObject *parent)
    : QObject(parent), pacer(new SendPacer(this)), seen(new SeenOnline(toc, this)) {
    // The server counts from the sign-on.
    connect(toc, &QelTOCSock::LoggedIn, pacer, &SendPacer::sessionStarted);
    connect(toc, &QelTOCSock::Warned, this,
            [this](const QString &level) { pacer->setWarningLevel(level.toInt()); });
    connect(toc, &QelTOCSock::Error, this, [this](qint16 code) {
        if (code == 903)
            pacer->speedLimitHit();
    });
}

void Outbox::connectionEnded() {
    pacer->connectionEnded();
    seen->clear();
}
