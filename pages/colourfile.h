#pragma once
// The colour-scheme file that "Save" writes and "Load" reads: an INI file
// with the scheme colour, the font face, the text and background colours
// and the four style switches.

#include <QString>
#include <optional>

struct ColourScheme {
    QString scheme;    // "#RRGGBB": the settings texts' colour
    QString fontFace;  // txtFont
    QString textColor; // "#RRGGBB": txtColor
    QString backColor; // "#RRGGBB": txtBackColor
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

namespace colourfile {

// The name "Save" proposes.
QString suggestedName();

// True when the file was written completely.
bool write(const QString &path, const ColourScheme &scheme);
// The scheme, or nullopt when the file is missing, unreadable, too large,
// or any value is absent or not valid. Colours come back in upper case.
std::optional<ColourScheme> read(const QString &path);

// "#" followed by exactly six hexadecimal digits.
bool isHtmlColour(const QString &text);
// A face that fits in the outgoing FONT tag: two to 100 characters, no
// double quote, no angle bracket, no control character.
bool isFontFace(const QString &text);

} // namespace colourfile
