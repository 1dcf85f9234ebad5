#pragma once
// The HTML page behind "toc_get_info". Pure. The screen name is escaped;
// the profile is the user's own HTML, kept as HTML: the HTTP listener
// serves it in a sandbox that runs no script and loads nothing.

#include <QByteArray>
#include <QString>

namespace devserver {

QByteArray renderProfilePage(const QString &formattedName, const QString &profileHtml,
                             qint64 memberSince, int warning);

} // namespace devserver
