#include "colortext.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct NamedColor {
    const char *name;
    quint32 value;
};

// The sixteen HTML colour names.
constexpr std::array<NamedColor, 16> kNamedColors{{
    {"aqua", 0xFFFF00},
    {"black", 0x000000},
    {"blue", 0xFF0000},
    {"fuchsia", 0xFF00FF},
    {"gray", 0x808080},
    {"green", 0x008000},
    {"lime", 0x00FF00},
    {"maroon", 0x000080},
    {"navy", 0x800000},
    {"olive", 0x008080},
    {"purple", 0x800080},
    {"red", 0x0000FF},
    {"silver", 0xC0C0C0},
    {"teal", 0x808000},
    {"white", 0xFFFFFF},
    {"yellow", 0x00FFFF},
}};

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// System colour index -> the palette role that plays the same part.
constexpr std::array<SystemRole, 25> kSystemRoles{{
    {QPalette::Active, QPalette::Button},            // 0 scroll bar
    {QPalette::Active, QPalette::Dark},              // 1 desktop
    {QPalette::Active, QPalette::Highlight},         // 2 active title bar
    {QPalette::Inactive, QPalette::Highlight},       // 3 inactive title bar
    {QPalette::Active, QPalette::Window},            // 4 menu background
    {QPalette::Active, QPalette::Base},              // 5 window background
    {QPalette::Active, QPalette::Shadow},            // 6 window frame
    {QPalette::Active, QPalette::WindowText},        // 7 menu text
    {QPalette::Active, QPalette::Text},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText},   // 9 title bar text
    {QPalette::Active, QPalette::Window},            // 10 active border
    {QPalette::Inactive, QPalette::Window},          // 11 inactive border
    {QPalette::Active, QPalette::Mid},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight},         // 13 selection background
    {QPalette::Active, QPalette::HighlightedText},   // 14 selection text
    {QPalette::Active, QPalette::Button},            // 15 button face
    {QPalette::Active, QPalette::Dark},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text},            // 17 disabled text
    {QPalette::Active, QPalette::ButtonText},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText}, // 19 inactive title bar text
    {QPalette::Active, QPalette::Light},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow},            // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight},          // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText},       // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase},       // 24 tooltip background
}};

// The value of an ASCII hex digit, or -1.
int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

namespace render {

std::optional<qint32> colorTextToValue(const QString &text) {
    const QString t = text.trimmed();
    if (t.size() > 2 && t.at(0) == QLatin1Char('&') &&
        (t.at(1) == QLatin1Char('H') || t.at(1) == QLatin1Char('h'))) {
        qsizetype i = 2;
        while (i < t.size() - 1 && t.at(i) == QLatin1Char('0'))
            ++i;
        const qsizetype len = t.size() - i;
        if (len > 8)
            return std::nullopt;
        quint32 v = 0;
        for (; i < t.size(); ++i) {
            const int d = hexDigit(t.at(i));
            if (d < 0)
                return std::nullopt;
            v = v * 16 + quint32(d);
        }
        return qint32(v);
    }
    if (t.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const char16_t u = t.at(i).unicode();
        const bool sign = i == 0 && (u == '-' || u == '+') && t.size() > 1;
        if (!sign && (u < '0' || u > '9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint32 v = t.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<QColor> colorFromValue(qint32 value) {
    const quint32 u = quint32(value);
    if ((u & 0x80000000u) == 0)
        return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
    const quint32 index = u & 0x7FFFFFFFu;
    if (index >= kSystemRoles.size())
        return std::nullopt;
    const SystemRole &r = kSystemRoles[index];
    return QGuiApplication::palette().color(r.group, r.role);
}

std::optional<QColor> colorFromText(const QString &text) {
    const std::optional<qint32> v = colorTextToValue(text);
    if (!v)
        return std::nullopt;
    return colorFromValue(*v);
}

std::optional<QColor> htmlColor(QStringView text) {
    text = text.trimmed();
    const bool hash = text.startsWith(u'#');
    const QStringView digits = hash ? text.mid(1) : text;
    if ((digits.size() == 6 || (hash && digits.size() == 3)) &&
        std::all_of(digits.begin(), digits.end(), [](QChar c) { return hexDigit(c) >= 0; })) {
        const auto at = [&](qsizetype i) { return hexDigit(digits[i]); };
        if (digits.size() == 3)
            return QColor(at(0) * 17, at(1) * 17, at(2) * 17);
        return QColor(at(0) * 16 + at(1), at(2) * 16 + at(3), at(4) * 16 + at(5));
    }
    if (hash || text.size() > 7)
        return std::nullopt;
    const QString lower = text.toString().toLower();
    for (const NamedColor &row : kNamedColors)
        if (lower == QLatin1String(row.name))
            return colorFromValue(qint32(row.value));
    return std::nullopt;
}

namespace {

double channel(double c) {
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

} // namespace

bool tooClose(const QColor &text, const QColor &background) {
    const double a = luminance(text) + 0.05;
    const double b = luminance(background) + 0.05;
    return std::max(a, b) / std::min(a, b) < 1.3;
}

qint32 colorValue(const QColor &c) {
    return qint32(c.red()) | (qint32(c.green()) << 8) | (qint32(c.blue()) << 16);
}

QString decimalText(const QColor &c) {
    return QString::number(colorValue(c));
}

} // namespace render
