#include "shownname.h"

#include <QTextDocument>
#include <utility>

namespace shown {
namespace {

constexpr char16_t kFirstStrongIsolate = 0x2068;
constexpr char16_t kPopDirectionalIsolate = 0x2069;

enum class Kind { Name, Line, Body };

bool isBidiControl(char32_t u) {
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

// Characters that draw nothing (or draw as a space) though they are not
// controls: a name holding one looks exactly like the name without it.
bool isInvisible(char32_t u) {
    return u == 0x034F || u == 0x115F || u == 0x1160 || u == 0x17B4 || u == 0x17B5 ||
           (u >= 0x180B && u <= 0x180F) || u == 0x2800 || u == 0x3164 ||
           (u >= 0xFE00 && u <= 0xFE0F) || u == 0xFFA0 || (u >= 0xFFF0 && u <= 0xFFF8) ||
           (u >= 0x1BCA0 && u <= 0x1BCA3) || (u >= 0x1D173 && u <= 0x1D17A) ||
           (u >= 0xE0000 && u <= 0xE0FFF);
}

bool escapes(char32_t u, Kind kind) {
    if (kind == Kind::Body && (u == '\t' || u == '\r' || u == '\n'))
        return false;
    switch (QChar::category(u)) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    case QChar::Other_Format:
        return kind == Kind::Name || isBidiControl(u);
    case QChar::Separator_Space:
        return kind != Kind::Body && u != ' ';
    default:
        return kind != Kind::Body && isInvisible(u);
    }
}

QString escapeOne(char16_t u) {
    return QLatin1String("\\u") +
           QString::number(uint(u), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// The code point at `at` and the number of UTF-16 units it takes.
std::pair<char32_t, int> codePointAt(const QString &text, qsizetype at) {
    const QChar c = text.at(at);
    if (c.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text.at(at + 1)), 2};
    return {c.unicode(), 1};
}

QString escaped(const QString &text, Kind kind) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    // Most text has nothing to escape: return it as it is.
    auto needs = [&](qsizetype at) {
        const QChar c = text.at(at);
        return escapes(codePointAt(text, at).first, kind) ||
               (c == QLatin1Char('\\') && at + 1 < n && text.at(at + 1) == QLatin1Char('u'));
    };
    while (i < n && !needs(i))
        i += codePointAt(text, i).second;
    if (i >= n)
        return text;
    QString out = text.left(i);
    while (i < n) {
        const int units = codePointAt(text, i).second;
        const bool escape = needs(i);
        for (int k = 0; k < units; ++k)
            out += escape ? escapeOne(text.at(i + k).unicode()) : QString(text.at(i + k));
        i += units;
    }
    return out;
}

bool holdsRightToLeft(QStringView text) {
    for (const QChar c : text) {
        const QChar::Direction d = c.direction();
        if (d == QChar::DirR || d == QChar::DirAL || d == QChar::DirAN)
            return true;
    }
    return false;
}

QString wrap(QStringView text) {
    return QChar(kFirstStrongIsolate) + text.toString() + QChar(kPopDirectionalIsolate);
}

} // namespace

QString name(const QString &text) {
    return escaped(text, Kind::Name);
}

QString nameInText(const QString &text) {
    return isolated(name(text));
}

QString line(const QString &text) {
    return escaped(text, Kind::Line);
}

QString isolated(const QString &text) {
    return holdsRightToLeft(text) ? wrap(text) : text;
}

QString body(const QString &text) {
    const QString safe = escaped(text, Kind::Body);
    if (!holdsRightToLeft(safe))
        return safe;
    // Each line on its own: an isolate ends with its paragraph.
    QString out;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= safe.size(); ++i) {
        if (i < safe.size() && safe.at(i) != QLatin1Char('\r') && safe.at(i) != QLatin1Char('\n'))
            continue;
        const QStringView piece = QStringView(safe).mid(start, i - start);
        out += holdsRightToLeft(piece) ? wrap(piece) : piece.toString();
        if (i < safe.size())
            out += safe.at(i);
        start = i + 1;
    }
    return out;
}

QString withoutControls(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const auto [u, units] = codePointAt(text, i);
        if (!escapes(u, Kind::Name))
            out += text.mid(i, units);
        i += units;
    }
    return out;
}

QString plainToolTip(const QString &text) {
    if (!Qt::mightBeRichText(text))
        return text;
    // Its lines stay lines.
    return QLatin1String("<qt>") +
           text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")) +
           QLatin1String("</qt>");
}

QString NameDelegate::displayText(const QVariant &value, const QLocale &locale) const {
    if (value.typeId() == QMetaType::QString)
        return name(value.toString());
    return QStyledItemDelegate::displayText(value, locale);
}

} // namespace shown
