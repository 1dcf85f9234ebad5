#include "notsenttext.h"

#include "protocol/qeltocsock.h"

QString notSentText(const QelTOCSock *toc) {
    return (toc && toc->isConnected()) ? QStringLiteral("Not sent.")
                                       : QStringLiteral("Not sent: you are offline.");
}
