#include "shownname.h"

#include <QTextDocument>

namespace shown {
namespace {

constexpr char16_t kFirstStrongIsolate = 0x2068;
constexpr char16_t kPopDirectionalIsolate = 0x2069;

enum class Kind { Name, Line, Body };

bool isBidiControl(char16_t u) {
    return u == 0x061C || u == 0x200E || u == 0x200F || (u >= 0x202A && u <= 0x202E) ||
           (u >= 0x2066 && u <= 0x2069);
}

bool escapes(QChar c, Kind kind) {
    const char16_t u = c.unicode();
    if (kind == Kind::Body && (u == '\t' || u == '\r' || u == '\n'))
        return false;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    case QChar::Other_Format:
        return kind == Kind::Name || isBidiControl(u);
    default:
        return false;
    }
}

QString escapeOne(char16_t u) {
    return QLatin1String("\\u") +
           QString::number(uint(u), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString escaped(const QString &text, Kind kind) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    // Most text has nothing to escape: return it as it is.
    auto needs = [&](qsizetype at) {
        const QChar c = text.at(at);
        return escapes(c, kind) ||
               (c == QLatin1Char('\\') && at + 1 < n && text.at(at + 1) == QLatin1Char('u'));
    };
    while (i < n && !needs(i))
        ++i;
    if (i == n)
        return text;
    QString out = text.left(i);
    for (; i < n; ++i) {
        if (needs(i))
            out += escapeOne(text.at(i).unicode());
        else
            out += text.at(i);
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
    for (const QChar c : text)
        if (!escapes(c, Kind::Name))
            out += c;
    return out;
}

QString plainToolTip(const QString &text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QLatin1String("<qt>") + text.toHtmlEscaped() + QLatin1String("</qt>");
}

QString NameDelegate::displayText(const QVariant &value, const QLocale &locale) const {
    if (value.typeId() == QMetaType::QString)
        return name(value.toString());
    return QStyledItemDelegate::displayText(value, locale);
}

} // namespace shown
