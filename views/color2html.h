#pragma once
// The module Color2html: a colour value (0x00BBGGRR) to the "#RRGGBB" text
// that the formatting settings keep.

#include <QString>

namespace Color2html {

// "#" and six upper-case hex digits, red first. Only the low 24 bits count.
QString ColorToHtml(qint32 v);

} // namespace Color2html

using Color2html::ColorToHtml;
