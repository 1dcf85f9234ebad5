#include "messagescan.h"

#include "htmlentities.h"
#include "viewhost.h"

namespace render {

QString decodeEntities(QString text) {
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return text;
}

namespace {

// "br", "BR", "br/", "br clear=all": a tag's text between its angle brackets.
bool isLineBreak(QStringView tag) {
    return tag.startsWith(u"br", Qt::CaseInsensitive) &&
           (tag.size() == 2 || tag[2] == u'/' || tag[2].isSpace());
}

} // namespace

QString plainText(const QString &html) {
    // The tags cut as toc::removeHtml cuts them (a "<" without a later ">"
    // ends the work), a line break kept where a br stood.
    QString out;
    out.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype open = html.indexOf(u'<', i);
        const qsizetype close = open < 0 ? -1 : html.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        out += QStringView(html).mid(i, open - i);
        if (isLineBreak(QStringView(html).mid(open + 1, close - open - 1)))
            out += u'\n';
        i = close + 1;
    }
    out += QStringView(html).mid(i);
    return html::decodeEntities(out);
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
