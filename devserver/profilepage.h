#pragma once
// The HTML pages behind "toc_get_info". Pure. Names are escaped; the profile
// is the user's own HTML, kept as HTML: the HTTP listeners serve it in a
// sandbox that runs no script and loads nothing.

#include <QByteArray>
#include <QString>

namespace devserver {

// Our own page, at /info?screenname=<name> on the HTTP listener.
QByteArray renderProfilePage(const QString &formattedName, const QString &profileHtml,
                             qint64 memberSince, int warning);

// The page a relative GOTO_URL leads to, laid out as the TOC2 servers people
// run lay it out; `user` is the name as the requester typed it.
QByteArray renderProfileLookup(const QString &user, const QString &profileHtml);

} // namespace devserver
