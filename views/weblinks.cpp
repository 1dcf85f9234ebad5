#include "weblinks.h"

namespace render {
namespace {

// An address written in running text is not longer than this; a longer
// run is not taken for one.
constexpr qsizetype kMaxBareLink = 2048;

bool endsAddress(QChar c) {
    return c.isSpace() || c == u'<' || c == u'>' || c == u'"' ||
           c.category() == QChar::Other_Control;
}

// Punctuation that ends a sentence rather than the address before it.
bool isTrailingPunctuation(QChar c) {
    return QStringView(u".,;:!?)]}'").contains(c);
}

bool startsWord(QStringView text, qsizetype at) {
    return at == 0 || !text[at - 1].isLetterOrNumber();
}

// Where a bare address may start at or after from: "http://", "https://"
// or "www.", in any case, at the start of a word.
qsizetype nextStart(QStringView text, qsizetype from, bool &www) {
    for (qsizetype at = from; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c != u'h' && c != u'H' && c != u'w' && c != u'W')
            continue;
        if (!startsWord(text, at))
            continue;
        const QStringView rest = text.mid(at);
        if (rest.startsWith(u"http://", Qt::CaseInsensitive) ||
            rest.startsWith(u"https://", Qt::CaseInsensitive)) {
            www = false;
            return at;
        }
        if (rest.startsWith(u"www.", Qt::CaseInsensitive)) {
            www = true;
            return at;
        }
    }
    return -1;
}

} // namespace

QUrl linkTarget(QStringView href) {
    const QUrl url(href.trimmed().toString());
    if (!url.isValid())
        return QUrl();
    const QString scheme = url.scheme().toLower();
    if (scheme == u"mailto")
        return url.path().isEmpty() ? QUrl() : url;
    if ((scheme == u"http" || scheme == u"https") && !url.host().isEmpty())
        return url;
    return QUrl();
}

QList<BareLink> findBareLinks(QStringView text) {
    QList<BareLink> links;
    bool www = false;
    for (qsizetype at = nextStart(text, 0, www); at >= 0; at = nextStart(text, at, www)) {
        qsizetype end = at;
        while (end < text.size() && !endsAddress(text[end]))
            ++end;
        const qsizetype scanned = end;
        while (end > at && isTrailingPunctuation(text[end - 1]))
            --end;
        const qsizetype length = end - at;
        if (length <= kMaxBareLink) {
            const QString written = text.mid(at, length).toString();
            const QUrl url = linkTarget(www ? QLatin1String("http://") + written : written);
            if (url.isValid() && length > (www ? 4 : 7))
                links.append({at, length, url});
        }
        at = scanned;
    }
    return links;
}

} // namespace render
