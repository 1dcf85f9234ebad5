#pragma once
// Colour conversions shared by the transcript renderer and the views.
//
// A colour value is a signed 32-bit number laid out 0x00BBGGRR (red in the
// low byte). A value with the top bit set, 0x80000000 + n, names system
// colour n. A colour text is that value written as decimal ("16711680") or
// as "&H" hexadecimal ("&HFF0000", any case).

#include <QColor>
#include <QString>
#include <optional>

namespace render {

// Reads a decimal or "&H" colour text. nullopt when it is not a number that
// fits 32 bits.
std::optional<qint32> colorTextToValue(const QString &text);

// The colour a value stands for: the 24-bit colour, or for a system colour
// the colour of the application palette role nearest to the named role.
// nullopt for a system colour index that does not exist.
std::optional<QColor> colorFromValue(qint32 value);

// Both steps at once: nullopt when the text does not convert.
std::optional<QColor> colorFromText(const QString &text);

// The other way: a colour's 0x00BBGGRR value, and that value as the decimal
// colour text the window's settings hold.
qint32 colorValue(const QColor &c);
QString decimalText(const QColor &c);

// A colour as remote HTML writes it: "#rrggbb", "#rgb", bare "rrggbb" (as
// some clients send it) or one of the sixteen HTML colour names, in any
// case; nullopt for anything else.
std::optional<QColor> htmlColor(QStringView text);

// Whether text in one colour is too close to a background in the other to
// be read: their contrast (the ratio of their relative luminances, each
// plus 0.05, as WCAG measures it) is under 1.3. White on white, black on
// black, yellow and aqua on white are; lime on white and red on white are
// not.
bool tooClose(const QColor &text, const QColor &background);

} // namespace render
