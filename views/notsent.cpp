#include "notsent.h"

#include "client/notsenttext.h"
#include "transcript.h"

#include <QObject>

namespace render {

QString showNotSent(QTextEdit *TEXT, const QelTOCSock *toc, int limit) {
    return showNotSentText(TEXT, notSentText(toc), limit);
}

QString showNotSentText(QTextEdit *TEXT, const QString &text, int limit) {
    // Grey italics on white, so it does not read as part of the conversation.
    add_text2(TEXT, text + QLatin1String("\r\n"), QStringLiteral("8421504"),
              QStringLiteral("16777215"), false, true, false, false, QStringLiteral("Arial"),
              limit);
    return text;
}

} // namespace render
