#pragma once
// Which addresses in remote text become links: http, https and mailto ones,
// given in an anchor or written bare ("http://", "https://", "www."). Any
// other scheme stays text. The client never follows a link itself; a click
// hands it to the desktop's browser.

#include <QList>
#include <QStringView>
#include <QUrl>

namespace render {

// The address an anchor's href names, or an invalid URL when it may not be
// a link.
QUrl linkTarget(QStringView href);

// A bare address found in text: where it stands and where it leads.
struct BareLink {
    qsizetype start;
    qsizetype length;
    QUrl url;
};
// The bare addresses in text, in order.
QList<BareLink> findBareLinks(QStringView text);

} // namespace render
