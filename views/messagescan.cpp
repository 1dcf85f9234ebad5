#include "messagescan.h"

#include "colortext.h"
#include "protocol/wire.h"
#include "viewhost.h"

namespace render {
namespace {

// The colour value that follows the first occurrence of marker in lower, or
// the null text when the marker is absent or ends the text.
QString valueAfter(const QString &lower, QLatin1String marker) {
    const qsizetype at = lower.indexOf(marker);
    if (at < 0)
        return QString();
    const qsizetype start = at + marker.size();
    if (start >= lower.size())
        return QString();
    // The piece up to the next marker, then its first space-separated word,
    // then what stands before ">".
    qsizetype end = lower.indexOf(marker, start);
    if (end < 0)
        end = lower.size();
    const qsizetype space = lower.indexOf(QLatin1Char(' '), start);
    if (space >= 0 && space < end)
        end = space;
    QString value = lower.mid(start, end - start);
    const qsizetype gt = value.indexOf(QLatin1Char('>'));
    if (gt >= 0)
        value.truncate(gt);
    // Attribute values come in double or single quotes (clients that avoid
    // double quotes on the wire write the latter).
    value.remove(QLatin1Char('"'));
    value.remove(QLatin1Char('\''));
    if (value.isNull())
        value = QLatin1String(""); // found, but empty: not the same as absent
    return value;
}

} // namespace

MessageStyle scanMessage(const QString &message, BackMarker marker) {
    MessageStyle style;
    const QString lower = message.toLower();
    style.bold = lower.contains(QLatin1String("<bold>")) || lower.contains(QLatin1String("<b>"));
    style.italic =
        lower.contains(QLatin1String("<i>")) || lower.contains(QLatin1String("<italic>"));
    style.underline =
        lower.contains(QLatin1String("<u>")) || lower.contains(QLatin1String("<underline>"));

    const QString color = valueAfter(lower, QLatin1String(" color="));
    if (!color.isNull())
        style.colorText = HTML2RGBStr(color);
    // Both views look for " bgcolor="; the chat view then cuts at the first
    // "bgcolor=", with or without the space before it.
    if (lower.contains(QLatin1String(" bgcolor="))) {
        const QString back =
            valueAfter(lower, marker == BackMarker::Spaced ? QLatin1String(" bgcolor=")
                                                           : QLatin1String("bgcolor="));
        if (!back.isNull())
            style.backColorText = HTML2RGBStr(back);
    }
    return style;
}

QString decodeEntities(QString text) {
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    return text;
}

QString plainText(const QString &html) {
    return decodeEntities(toc::removeHtml(html));
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
