#include "messagescan.h"

#include "htmlentities.h"
#include "protocol/wire.h"
#include "viewhost.h"

namespace render {

QString decodeEntities(QString text) {
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return text;
}

QString plainText(const QString &html) {
    return html::decodeEntities(toc::removeHtml(html));
}

QString outgoingPrefix(const FormatSettings &settings) {
    QString prefix;
    if (settings.bold)
        prefix += QLatin1String("<b>");
    if (settings.italic)
        prefix += QLatin1String("<i>");
    if (settings.strikeout)
        prefix += QLatin1String("<s>");
    if (settings.underline)
        prefix += QLatin1String("<u>");
    prefix += QLatin1String("<FONT FACE=\"") + settings.fontFace + QLatin1String("\" COLOR=\"") +
              settings.textColorHtml + QLatin1String("\">");
    prefix += QLatin1String("<BODY BGCOLOR=\"") + settings.backColorHtml + QLatin1String("\">");
    return prefix;
}

} // namespace render
