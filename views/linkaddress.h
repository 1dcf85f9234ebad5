#pragma once
// How a link's address is shown in its tooltip, the user's only way to see
// where a link leads. A host whose letters are plain Latin (ASCII, the
// Latin letters with accents) shows as it reads; any other host (Cyrillic
// "аррӏе.com", which draws as "apple.com", scripts mixed, or another script
// altogether) shows as it goes on the wire, in its "xn--" form, and the
// tooltip says so. The same holds for the domain of a mailto address.

#include <QString>

namespace render {

// Whether a decoded host (or domain) holds only plain Latin letters,
// digits, dots and hyphens.
bool isPlainLatinHost(QStringView host);

// The tooltip of a link to href (an address the reader accepted), as plain
// text: the address, without a password, its characters shown as remote
// text is; for a host that is not plain Latin a second line marks it.
QString linkToolTip(const QString &href);

} // namespace render
