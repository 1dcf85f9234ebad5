#include "htmltokens.h"

#include "htmlentities.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace html {
namespace {

// Attribute names longer than this are none the reader knows.
constexpr qsizetype kMaxKeptName = 16;

struct NamedTag {
    const char *name;
    Tag tag;
};
// Sorted by name.
constexpr NamedTag kTags[] = {
    {"a", Tag::A},           {"address", Tag::Address},
    {"b", Tag::B},           {"blockquote", Tag::Blockquote},
    {"body", Tag::Body},     {"bold", Tag::Bold},
    {"br", Tag::Br},         {"center", Tag::Center},
    {"dd", Tag::Dd},         {"div", Tag::Div},
    {"dl", Tag::Dl},         {"dt", Tag::Dt},
    {"em", Tag::Em},         {"font", Tag::Font},
    {"form", Tag::Form},     {"h1", Tag::H1},
    {"h2", Tag::H2},         {"h3", Tag::H3},
    {"h4", Tag::H4},         {"h5", Tag::H5},
    {"h6", Tag::H6},         {"hr", Tag::Hr},
    {"i", Tag::I},           {"italic", Tag::Italic},
    {"li", Tag::Li},         {"ol", Tag::Ol},
    {"p", Tag::P},           {"pre", Tag::Pre},
    {"s", Tag::S},           {"script", Tag::Script},
    {"span", Tag::Span},     {"strike", Tag::Strike},
    {"strong", Tag::Strong}, {"style", Tag::Style},
    {"table", Tag::Table},   {"td", Tag::Td},
    {"th", Tag::Th},         {"title", Tag::Title},
    {"tr", Tag::Tr},         {"u", Tag::U},
    {"ul", Tag::Ul},         {"underline", Tag::Underline},
};
constexpr qsizetype kLongestTagName = 10;
// A page or message names few attributes; the rest are read and dropped.
constexpr qsizetype kMaxAttributes = 8;

bool isSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// The end of a tag or attribute name.
bool endsName(QChar c) {
    return isSpace(c) || c == u'/' || c == u'>' || c == u'=';
}

// The tags whose attributes the reader looks at; the others' are skipped
// without being decoded.
bool hasReadAttributes(Tag tag) {
    return tag == Tag::Font || tag == Tag::A || tag == Tag::Span || tag == Tag::Body;
}

} // namespace

Tag tagNamed(QStringView name) {
    if (name.size() > kLongestTagName)
        return Tag::Other;
    char lower[kLongestTagName + 1] = {};
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (u > 0x7F)
            return Tag::Other;
        lower[i] = char(u >= 'A' && u <= 'Z' ? u - 'A' + 'a' : u);
    }
    const auto end = std::end(kTags);
    const auto found =
        std::lower_bound(std::begin(kTags), end, lower, [](const NamedTag &t, const char *key) {
            return std::strcmp(t.name, key) < 0;
        });
    return found != end && std::strcmp(found->name, lower) == 0 ? found->tag : Tag::Other;
}

QString Token::attribute(QLatin1String name) const {
    for (const Attribute &a : attributes)
        if (a.name.compare(name, Qt::CaseInsensitive) == 0)
            return decodeEntities(a.value);
    return QString();
}

bool Tokenizer::next(Token &token) {
    token.attributes.clear();
    token.tag = Tag::Other;
    while (m_at < m_html.size()) {
        const qsizetype lt = m_restIsText ? -1 : m_html.indexOf(u'<', m_at);
        if (lt != m_at) {
            const qsizetype end = lt < 0 ? m_html.size() : lt;
            token.kind = Token::Kind::Text;
            token.text = m_html.mid(m_at, end - m_at);
            m_at = end;
            return true;
        }
        if (readTag(token))
            return true;
        if (skipMarkup())
            continue;
        // A '<' that starts no tag is text; what follows is read again.
        token.kind = Token::Kind::Text;
        token.text = m_html.mid(m_at, 1);
        ++m_at;
        return true;
    }
    return false;
}

// "<!-- ... -->", "<!DOCTYPE ...>", "<?xml ...?>": read and dropped. A
// comment that never ends takes the rest with it, as in a browser.
bool Tokenizer::skipMarkup() {
    const QStringView rest = m_html.mid(m_at);
    if (rest.startsWith(u"<!--")) {
        const qsizetype end = m_html.indexOf(u"-->", m_at + 4);
        m_at = end < 0 ? m_html.size() : end + 3;
        return true;
    }
    if (rest.size() > 1 && (rest[1] == u'!' || rest[1] == u'?')) {
        const qsizetype end = m_html.indexOf(u'>', m_at);
        if (end < 0) {
            m_restIsText = true;
            return false;
        }
        m_at = end + 1;
        return true;
    }
    return false;
}

bool Tokenizer::readTag(Token &token) {
    qsizetype i = m_at + 1;
    const bool end = i < m_html.size() && m_html[i] == u'/';
    if (end)
        ++i;
    if (i >= m_html.size() || !isAsciiLetter(m_html[i]))
        return false;
    const qsizetype nameStart = i;
    while (i < m_html.size() && !endsName(m_html[i]))
        ++i;
    token.tag = tagNamed(m_html.mid(nameStart, i - nameStart));
    const qsizetype close = readAttributes(i, token, !end && hasReadAttributes(token.tag));
    if (close < 0) {
        // Never closed: no markup follows that could be read as such.
        m_restIsText = true;
        token.attributes.clear();
        return false;
    }
    m_at = close + 1;
    token.kind = end ? Token::Kind::End : Token::Kind::Start;
    if (!end && token.tag == Tag::Script)
        skipRawText(QLatin1String("</script"));
    else if (!end && token.tag == Tag::Style)
        skipRawText(QLatin1String("</style"));
    else if (!end && token.tag == Tag::Title)
        skipRawText(QLatin1String("</title"));
    return true;
}

// Reads attributes from at; returns the position of the closing '>', or -1
// when the tag does not end.
qsizetype Tokenizer::readAttributes(qsizetype i, Token &token, bool keep) const {
    const qsizetype n = m_html.size();
    while (i < n) {
        while (i < n && (isSpace(m_html[i]) || m_html[i] == u'/'))
            ++i;
        if (i >= n)
            return -1;
        if (m_html[i] == u'>')
            return i;
        const qsizetype nameStart = i;
        ++i; // a stray '=' starts a name, as in a browser
        while (i < n && !endsName(m_html[i]))
            ++i;
        const QStringView name = m_html.mid(nameStart, i - nameStart);
        while (i < n && isSpace(m_html[i]))
            ++i;
        QStringView value;
        if (i < n && m_html[i] == u'=') {
            ++i;
            while (i < n && isSpace(m_html[i]))
                ++i;
            if (i < n && (m_html[i] == u'"' || m_html[i] == u'\'')) {
                const qsizetype endQuote = m_html.indexOf(m_html[i], i + 1);
                if (endQuote < 0)
                    return -1;
                value = m_html.mid(i + 1, endQuote - i - 1);
                i = endQuote + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < n && !isSpace(m_html[i]) && m_html[i] != u'>')
                    ++i;
                value = m_html.mid(valueStart, i - valueStart);
            }
        }
        if (keep && token.attributes.size() < kMaxAttributes && name.size() <= kMaxKeptName)
            token.attributes.append({name, value});
    }
    return -1;
}

// What a script, style or title element holds is never shown: skipped to
// its end tag, or to the end of the text.
void Tokenizer::skipRawText(QLatin1String endTag) {
    const qsizetype end = m_html.indexOf(endTag, m_at, Qt::CaseInsensitive);
    if (end < 0) {
        m_at = m_html.size();
        return;
    }
    const qsizetype gt = m_html.indexOf(u'>', end);
    m_at = gt < 0 ? m_html.size() : gt + 1;
}

} // namespace html
