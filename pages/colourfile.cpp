#include "colourfile.h"

#include <QFileInfo>
#include <QSettings>

namespace colourfile {

namespace {
const QString kGroup = QStringLiteral("VorkleColors");
const QString kScheme = QStringLiteral("scheme");
const QString kFont = QStringLiteral("font");
const QString kColor = QStringLiteral("color");
const QString kBackColor = QStringLiteral("backColor");
const QString kBold = QStringLiteral("bold");
const QString kItalic = QStringLiteral("italic");
const QString kUnderline = QStringLiteral("underline");
const QString kStrikethru = QStringLiteral("strikethru");
// A colour file holds a few lines; anything much larger is not one.
constexpr qint64 kMaxBytes = 64 * 1024;

std::optional<QString> text(const QSettings &s, const QString &key) {
    const QVariant v = s.value(key);
    if (v.typeId() != QMetaType::QString)
        return std::nullopt;
    return v.toString();
}

std::optional<bool> flag(const QSettings &s, const QString &key) {
    const std::optional<QString> t = text(s, key);
    if (t == QStringLiteral("1"))
        return true;
    if (t == QStringLiteral("0"))
        return false;
    return std::nullopt;
}

std::optional<QString> colour(const QSettings &s, const QString &key) {
    const std::optional<QString> t = text(s, key);
    if (!t || !isHtmlColour(*t))
        return std::nullopt;
    return t->toUpper();
}

QString bit(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

QString suggestedName() {
    return QStringLiteral("vorkle-colors.ini");
}

bool isHtmlColour(const QString &text) {
    if (text.size() != 7 || text.at(0) != QLatin1Char('#'))
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!hex)
            return false;
    }
    return true;
}

bool isFontFace(const QString &text) {
    if (text.size() < 2 || text.size() > 100)
        return false;
    for (const QChar c : text)
        if (c == QLatin1Char('"') || c == QLatin1Char('<') || c == QLatin1Char('>') ||
            c.category() == QChar::Other_Control)
            return false;
    return true;
}

bool write(const QString &path, const ColourScheme &scheme) {
    QSettings s(path, QSettings::IniFormat);
    // The file holds exactly the scheme, whatever it held before.
    s.clear();
    s.beginGroup(kGroup);
    s.setValue(kScheme, scheme.scheme);
    s.setValue(kFont, scheme.fontFace);
    s.setValue(kColor, scheme.textColor);
    s.setValue(kBackColor, scheme.backColor);
    s.setValue(kBold, bit(scheme.bold));
    s.setValue(kItalic, bit(scheme.italic));
    s.setValue(kUnderline, bit(scheme.underline));
    s.setValue(kStrikethru, bit(scheme.strikeout));
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError && QFileInfo(path).isFile();
}

std::optional<ColourScheme> read(const QString &path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable() || info.size() > kMaxBytes)
        return std::nullopt;
    QSettings s(path, QSettings::IniFormat);
    if (s.status() != QSettings::NoError)
        return std::nullopt;
    s.beginGroup(kGroup);
    const auto scheme = colour(s, kScheme);
    const auto font = text(s, kFont);
    const auto color = colour(s, kColor);
    const auto back = colour(s, kBackColor);
    const auto bold = flag(s, kBold);
    const auto italic = flag(s, kItalic);
    const auto underline = flag(s, kUnderline);
    const auto strike = flag(s, kStrikethru);
    if (!scheme || !font || !isFontFace(*font) || !color || !back || !bold || !italic ||
        !underline || !strike)
        return std::nullopt;
    return ColourScheme{*scheme, *font, *color, *back, *bold, *italic, *underline, *strike};
}

} // namespace colourfile
