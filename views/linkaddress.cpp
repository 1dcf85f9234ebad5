#include "linkaddress.h"

#include "uikit/shownname.h"

#include <QUrl>

namespace render {
namespace {

const QString kMark =
    QStringLiteral("\u26A0 The host is not in plain Latin letters: shown as sent.");

// A host as the tooltip shows it: decoded when plain Latin, else its ACE
// ("xn--") form; `marked` when the latter differs from what it reads as.
QString shownHost(const QString &host, bool &marked) {
    const QByteArray ace = QUrl::toAce(host);
    if (ace.isEmpty())
        return host;
    const QString decoded = QUrl::fromAce(ace, QUrl::IgnoreIDNWhitelist);
    if (isPlainLatinHost(decoded))
        return decoded;
    marked = true;
    return QString::fromLatin1(ace);
}

} // namespace

bool isPlainLatinHost(QStringView host) {
    for (const QChar c : host) {
        const char16_t u = c.unicode();
        const bool ascii = u < 0x80;
        // Latin-1 letters, Latin Extended-A and -B but its click letters
        // (drawn as "l" and "!"), Latin Extended Additional.
        const bool latin =
            (u >= 0xC0 && u <= 0x24F && u != 0xD7 && u != 0xF7 && (u < 0x1C0 || u > 0x1C3)) ||
            (u >= 0x1E00 && u <= 0x1EFF);
        if (!ascii && !latin)
            return false;
    }
    return true;
}

QString linkToolTip(const QString &href) {
    const QUrl url(href);
    bool marked = false;
    QString shown;
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0) {
        // mailto:name@domain: the domain after the last "@".
        const QString path = url.path();
        const qsizetype at = path.lastIndexOf(u'@');
        shown = url.scheme() + u':' +
                (at < 0 ? path : path.left(at + 1) + shownHost(path.mid(at + 1), marked));
        if (url.hasQuery())
            shown += u'?' + url.query();
    } else {
        shown = url.scheme() + QLatin1String("://");
        if (!url.userName().isEmpty())
            shown += url.userName() + u'@';
        const QString host = shownHost(url.host(), marked);
        shown += host.contains(u':') ? u'[' + host + u']' : host;
        if (url.port() >= 0)
            shown += u':' + QString::number(url.port());
        shown += url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority);
    }
    shown = shown::line(shown);
    return marked ? shown + u'\n' + kMark : shown;
}

} // namespace render
