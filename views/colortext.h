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

// A colour name of the HTML table or a system-colour name, compared after
// lower-casing; -1 for a name that is in neither table.
qint32 HTMLColorTextToColor(const QString &name);

// An HTML colour text ("#rrggbb", a colour name or bare "rrggbb") turned into
// a colour text in the "&H" form (blue, green, red order of the digits).
QString HTML2RGBStr(const QString &c);

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

} // namespace render
