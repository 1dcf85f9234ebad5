#include "htmlstyles.h"

#include "colortext.h"
#include "htmltokens.h"
#include "weblinks.h"

#include <QGuiApplication>
#include <QPalette>

namespace html {
namespace {

// A font face names at most this many families, each at most this long.
constexpr qsizetype kMaxFamilies = 3;
constexpr qsizetype kMaxFamilyLength = 64;

const QColor kLinkColor(0, 0, 0xEE);

// HTML sizes 1 to 7 ("+1" and "-2" count from 3, the normal size).
std::optional<int> fontSize(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    const bool relative = text[0] == u'+' || text[0] == u'-';
    bool ok = false;
    const int n = text.mid(relative && text[0] == u'+' ? 1 : 0).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return qBound(1, relative ? 3 + n : n, 7);
}

QStringList families(QStringView face) {
    QStringList out;
    for (QStringView name : face.split(u',')) {
        name = name.trimmed();
        if (name.startsWith(u'\'') || name.startsWith(u'"'))
            name = name.mid(1);
        if (name.endsWith(u'\'') || name.endsWith(u'"'))
            name.chop(1);
        if (!name.isEmpty() && name.size() <= kMaxFamilyLength)
            out.append(name.toString());
        if (out.size() == kMaxFamilies)
            break;
    }
    return out;
}

// style="color: ...; font-weight: ...; font-style: ..."; nothing else.
void applyCss(QStringView css, Style &style) {
    for (QStringView declaration : css.split(u';')) {
        const qsizetype colon = declaration.indexOf(u':');
        if (colon < 0)
            continue;
        const QString property = declaration.left(colon).trimmed().toString().toLower();
        const QString value = declaration.mid(colon + 1).trimmed().toString().toLower();
        if (property == u"color") {
            if (const std::optional<QColor> c = render::htmlColor(value))
                style.foreground = c;
        } else if (property == u"font-weight") {
            bool number = false;
            const int weight = value.toInt(&number);
            style.bold = number ? weight >= 600 : (value == u"bold" || value == u"bolder");
        } else if (property == u"font-style") {
            style.italic = value == u"italic" || value == u"oblique";
        }
    }
}

// Sets what the tag says; false for a tag that sets no style.
bool apply(const Token &tag, Style &style) {
    switch (tag.tag) {
    case Tag::B:
    case Tag::Strong:
    case Tag::Bold:
        style.bold = true;
        return true;
    case Tag::I:
    case Tag::Em:
    case Tag::Italic:
        style.italic = true;
        return true;
    case Tag::U:
    case Tag::Underline:
        style.underline = true;
        return true;
    case Tag::S:
    case Tag::Strike:
        style.strike = true;
        return true;
    case Tag::Font: {
        if (const std::optional<QColor> c =
                render::htmlColor(tag.attribute(QLatin1String("color"))))
            style.foreground = c;
        const QStringList faces = families(tag.attribute(QLatin1String("face")));
        if (!faces.isEmpty())
            style.families = faces;
        if (const std::optional<int> size = fontSize(tag.attribute(QLatin1String("size"))))
            style.size = size;
        return true;
    }
    case Tag::Span:
        applyCss(tag.attribute(QLatin1String("style")), style);
        return true;
    case Tag::Body:
        if (const std::optional<QColor> c =
                render::htmlColor(tag.attribute(QLatin1String("bgcolor"))))
            style.background = c;
        return true;
    case Tag::A: {
        const QUrl target = render::linkTarget(tag.attribute(QLatin1String("href")));
        style.href = target.isValid() ? target.toString(QUrl::FullyEncoded) : QString();
        // A link shows in its own colour, unless its text sets one.
        if (target.isValid())
            style.foreground.reset();
        return true;
    }
    default:
        return false;
    }
}

// A colour the format sets, else otherwise.
QColor colorOf(const QTextCharFormat &format, QTextFormat::Property property,
               const QColor &otherwise) {
    return format.hasProperty(property) ? format.brushProperty(property).color() : otherwise;
}

} // namespace

StyleStack::StyleStack(const QTextCharFormat &base, bool styles)
    : m_base(base), m_styles(styles),
      m_baseText(
          colorOf(base, QTextFormat::ForegroundBrush, QGuiApplication::palette().text().color())),
      m_baseBack(
          colorOf(base, QTextFormat::BackgroundBrush, QGuiApplication::palette().base().color())) {
    m_stack.reserve(kMaxDepth + 1);
    m_stack.push_back({Tag::Other, Style(), base});
    m_flattened.fill(0);
}

bool StyleStack::start(const Token &tag) {
    Style style = current();
    if (!apply(tag, style))
        return false;
    if (int(m_stack.size()) > kMaxDepth) {
        ++m_flattened[size_t(tag.tag)];
        return false;
    }
    QTextCharFormat format = formatOf(style);
    m_stack.push_back({tag.tag, std::move(style), std::move(format)});
    return true;
}

bool StyleStack::end(Tag tag) {
    if (m_flattened[size_t(tag)] > 0) {
        --m_flattened[size_t(tag)];
        return false;
    }
    for (size_t i = m_stack.size() - 1; i > 0; --i) {
        if (m_stack[i].tag != tag)
            continue;
        // Tags left open inside end with it.
        m_stack.resize(i);
        return true;
    }
    return false;
}

QTextCharFormat StyleStack::formatOf(const Style &s) const {
    QTextCharFormat f = m_base;
    if (m_styles) {
        if (s.bold)
            f.setFontWeight(QFont::Bold);
        if (s.italic)
            f.setFontItalic(true);
        if (s.underline)
            f.setFontUnderline(true);
        if (s.strike)
            f.setFontStrikeOut(true);
        if (s.foreground)
            f.setForeground(*s.foreground);
        if (s.background)
            f.setBackground(*s.background);
        if (!s.families.isEmpty())
            f.setFontFamilies(s.families);
        if (s.size)
            f.setProperty(QTextFormat::FontSizeAdjustment, *s.size - 3);
    }
    if (!s.href.isEmpty()) {
        f = linkFormat(f, s.href);
        if (m_styles && s.foreground)
            f.setForeground(*s.foreground);
    }
    keepReadable(f);
    return f;
}

QTextCharFormat StyleStack::bareLinkFormat(const QString &href) const {
    QTextCharFormat f = linkFormat(format(), href);
    keepReadable(f);
    return f;
}

void StyleStack::keepReadable(QTextCharFormat &f) const {
    const QColor back = colorOf(f, QTextFormat::BackgroundBrush, m_baseBack);
    if (!render::tooClose(colorOf(f, QTextFormat::ForegroundBrush, m_baseText), back))
        return;
    const auto takeBase = [&](QTextFormat::Property property) {
        if (m_base.hasProperty(property))
            f.setProperty(property, m_base.property(property));
        else
            f.clearProperty(property);
    };
    takeBase(QTextFormat::ForegroundBrush);
    if (render::tooClose(m_baseText, back))
        takeBase(QTextFormat::BackgroundBrush);
}

QTextCharFormat linkFormat(QTextCharFormat format, const QString &href) {
    format.setAnchor(true);
    format.setAnchorHref(href);
    format.setFontUnderline(true);
    format.setForeground(kLinkColor);
    return format;
}

} // namespace html
