#include "notsent.h"

#include "protocol/qeltocsock.h"
#include "transcript.h"

#include <QObject>

namespace render {

void showNotSent(QTextEdit *TEXT, const QelTOCSock *toc, int limit) {
    const QString text = (toc && toc->isConnected()) ? QObject::tr("Not sent.")
                                                     : QObject::tr("Not sent: you are offline.");
    // Grey italics on white, so it does not read as part of the conversation.
    add_text2(TEXT, text + QLatin1String("\r\n"), QStringLiteral("8421504"),
              QStringLiteral("16777215"), false, true, false, false, QStringLiteral("Arial"),
              limit);
}

} // namespace render
