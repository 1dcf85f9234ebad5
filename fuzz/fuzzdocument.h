#pragma once
// What the safe HTML reader may leave in a document, checked after each
// fuzz input: text in character formats only (no picture, no table, no
// list), and links only to http, https and mailto addresses, each with a
// tooltip of its address and at most the one line that marks its host.

#include "views/linkaddress.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>
#include <cstdlib>

namespace fuzzcheck {

inline void onlySafeFormats(const QTextDocument *doc) {
    if (!doc->rootFrame()->childFrames().isEmpty())
        abort();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block.textList())
            abort();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat() || f.objectType() != QTextFormat::NoObject)
                abort();
            if (!f.isAnchor())
                continue;
            const QString scheme = QUrl(f.anchorHref()).scheme();
            if (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
                scheme != QLatin1String("mailto"))
                abort();
            if (render::linkToolTip(f.anchorHref()).count(u'\n') > 1)
                abort();
        }
    }
}

} // namespace fuzzcheck
