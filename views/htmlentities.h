#pragma once
// Character references in remote HTML: "&amp;", every named one Qt's HTML
// reader knows, and numeric ones ("&#39;", "&#x27;"). Each is decoded once:
// "&amp;lt;" reads "&lt;".

#include <QString>
#include <QStringView>
#include <cstddef>

namespace html {

struct NamedEntity {
    const char *name;
    char16_t code;
};
extern const NamedEntity kNamedEntities[];
extern const std::size_t kNamedEntityCount;

// Reads the reference that starts at text[at] (an '&'). On success appends
// what it stands for to out and returns the characters it took; returns 0
// (appending nothing) when no reference starts there.
qsizetype decodeEntityAt(QStringView text, qsizetype at, QString &out);

// The text with every reference decoded.
QString decodeEntities(QStringView text);

} // namespace html
