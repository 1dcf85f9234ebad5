#include "htmlentities.h"

#include <algorithm>
#include <cstring>

namespace html {
namespace {

// The longest name in the table is eight letters ("thetasym").
constexpr qsizetype kMaxNameLength = 8;
// "&#x10FFFF;" and "&#1114111;" have at most seven digits; leading zeros
// are allowed, up to this many digits in all.
constexpr qsizetype kMaxDigits = 10;

bool isAsciiAlnum(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

int digitValue(char16_t c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// A code point that may stand in text: not zero, not a surrogate, in range.
bool isCharacter(char32_t u) {
    return u != 0 && u <= 0x10FFFF && (u < 0xD800 || u > 0xDFFF);
}

qsizetype numeric(QStringView text, qsizetype at, QString &out) {
    qsizetype i = at + 2; // past "&#"
    int base = 10;
    if (i < text.size() && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    }
    const qsizetype first = i;
    char32_t value = 0;
    for (int d; i < text.size() && (d = digitValue(text[i].unicode(), base)) >= 0; ++i) {
        if (i - first >= kMaxDigits)
            return 0;
        value = value * char32_t(base) + char32_t(d);
    }
    if (i == first || i >= text.size() || text[i] != u';' || !isCharacter(value))
        return 0;
    const char32_t one[] = {value};
    out += QString::fromUcs4(one, 1);
    return i + 1 - at;
}

qsizetype named(QStringView text, qsizetype at, QString &out) {
    qsizetype i = at + 1;
    char name[kMaxNameLength + 1] = {};
    qsizetype n = 0;
    for (; i < text.size() && isAsciiAlnum(text[i].unicode()); ++i, ++n) {
        if (n == kMaxNameLength)
            return 0;
        name[n] = char(text[i].unicode());
    }
    if (n == 0 || i >= text.size() || text[i] != u';')
        return 0;
    const NamedEntity *end = kNamedEntities + kNamedEntityCount;
    const NamedEntity *found =
        std::lower_bound(kNamedEntities, end, name, [](const NamedEntity &e, const char *key) {
            return std::strcmp(e.name, key) < 0;
        });
    if (found == end || std::strcmp(found->name, name) != 0)
        return 0;
    out += QChar(found->code);
    return i + 1 - at;
}

} // namespace

qsizetype decodeEntityAt(QStringView text, qsizetype at, QString &out) {
    if (at + 1 >= text.size() || text[at] != u'&')
        return 0;
    return text[at + 1] == u'#' ? numeric(text, at, out) : named(text, at, out);
}

QString decodeEntities(QStringView text) {
    QString out;
    out.reserve(text.size());
    qsizetype done = 0;
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1)) {
        out += text.mid(done, at - done);
        const qsizetype used = decodeEntityAt(text, at, out);
        done = used > 0 ? at + used : at;
        if (used > 0)
            at += used - 1;
    }
    out += text.mid(done);
    return out;
}

} // namespace html
