#include "colortext.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace {

struct NamedColor {
    const char *name;
    quint32 value;
};

// The HTML colour names, then the system-colour names; searched in this
// order, first match wins.
constexpr std::array<NamedColor, 44> kNamedColors{{
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
    {"activeborder", 0x8000000A},
    {"activecaption", 0x80000002},
    {"appworkspace", 0x8000000C},
    {"background", 0x80000001},
    {"buttonface", 0x8000000F},
    {"buttonhighlight", 0x80000014},
    {"buttonshadow", 0x80000010},
    {"buttontext", 0x80000012},
    {"captiontext", 0x80000009},
    {"graytext", 0x80000011},
    {"highlight", 0x8000000D},
    {"highlighttext", 0x8000000E},
    {"inactiveborder", 0x8000000B},
    {"inactivecaption", 0x80000003},
    {"inactivecaptiontext", 0x80000013},
    {"infobackground", 0x80000018},
    {"infotext", 0x80000017},
    {"menu", 0x80000004},
    {"menutext", 0x80000007},
    {"scrollbar", 0x80000000},
    {"threeddarkshadow", 0x80000015},
    {"threedface", 0x8000000F},
    {"threedhighlight", 0x80000014},
    {"threedlightshadow", 0x80000016},
    {"threedshadow", 0x80000010},
    {"window", 0x80000005},
    {"windowframe", 0x80000006},
    {"windowtext", 0x80000008},
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

// Mid$(s, start, 2) with start counted from 1; empty past the end.
QString mid2(const QString &s, qsizetype start) {
    if (start - 1 >= s.size())
        return QString();
    return s.mid(start - 1, 2);
}

} // namespace

qint32 HTMLColorTextToColor(const QString &name) {
    const QString lower = name.toLower();
    for (const NamedColor &row : kNamedColors)
        if (lower == QLatin1String(row.name))
            return qint32(row.value);
    return -1;
}

QString HTML2RGBStr(const QString &c) {
    QString digits;
    if (c.startsWith(QLatin1Char('#'))) {
        digits = c.right(2) + mid2(c, 4) + mid2(c, 2);
    } else {
        const qint32 v = HTMLColorTextToColor(c);
        if (v != -1)
            return QStringLiteral("&H") + QString::number(quint32(v), 16).toUpper();
        digits = c.right(2) + mid2(c, 3) + c.left(2);
    }
    qsizetype zeros = 0;
    while (zeros < digits.size() && digits.at(zeros) == QLatin1Char('0'))
        ++zeros;
    digits.remove(0, zeros);
    if (digits.isEmpty())
        return QStringLiteral("&H0");
    return QStringLiteral("&H") + digits;
}

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

qint32 colorValue(const QColor &c) {
    return qint32(c.red()) | (qint32(c.green()) << 8) | (qint32(c.blue()) << 16);
}

QString decimalText(const QColor &c) {
    return QString::number(colorValue(c));
}

} // namespace render
