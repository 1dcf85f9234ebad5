#include "dialogtext.h"

namespace dialogtext {
namespace {

constexpr QChar kEllipsis(0x2026);
constexpr QChar kZeroWidthSpace(0x200B);
// A word longer than this may wrap after this many characters.
constexpr int kMaxUnbroken = 40;

} // namespace

QString cut(const QString &text, qsizetype max) {
    if (text.size() <= max)
        return text;
    qsizetype keep = max;
    // Never half a surrogate pair.
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + kEllipsis;
}

QString fitted(const QString &text) {
    QString out;
    out.reserve(qMin(text.size(), kMaxText) + kMaxText / kMaxUnbroken + 1);
    int lines = 1;
    int word = 0;
    qsizetype i = 0;
    for (; i < text.size() && i < kMaxText; ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' && ++lines > kMaxLines)
            break;
        if (c.isSpace()) {
            word = 0;
        } else if (++word > kMaxUnbroken && !c.isLowSurrogate() && !c.isMark()) {
            out += kZeroWidthSpace;
            word = 1;
        }
        out += c;
    }
    if (i < text.size()) {
        if (!out.isEmpty() && out.back().isHighSurrogate())
            out.chop(1);
        out += kEllipsis;
    }
    return out;
}

} // namespace dialogtext
