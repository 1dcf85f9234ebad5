#pragma once
// Splits remote HTML into text, start tags and end tags, in one pass over
// the text (no step looks back, so any input costs its length). Tag and
// attribute names are lower-cased; attribute values, in single, double or
// no quotes, have their character references decoded. Comments,
// declarations and what script, style and title elements hold are
// skipped. A tag that never ends is no tag: the rest of the text is text.

#include <QList>
#include <QString>
#include <QStringView>

namespace html {

// An attribute as written: its name in any case, its value not decoded.
struct Attribute {
    QStringView name;
    QStringView value;
};

// The tags the reader knows; any other is Other.
enum class Tag {
    Other,
    A,
    B,
    Body,
    Bold,
    Br,
    Em,
    Font,
    I,
    Italic,
    P,
    S,
    Script,
    Span,
    Strike,
    Strong,
    Style,
    Td,
    Th,
    Title,
    U,
    Underline,
    // Blocks: what they hold stands on lines of its own.
    Address,
    Blockquote,
    Center,
    Dd,
    Div,
    Dl,
    Dt,
    Form,
    H1,
    H2,
    H3,
    H4,
    H5,
    H6,
    Hr,
    Li,
    Ol,
    Pre,
    Table,
    Tr,
    Ul,
};
constexpr int kTagCount = int(Tag::Ul) + 1;
inline bool isBlock(Tag t) {
    return t >= Tag::Address;
}

// The tag a name stands for, in any case.
Tag tagNamed(QStringView name);

struct Token {
    enum class Kind { Text, Start, End };
    Kind kind = Kind::Text;
    // Text: the raw text, references not decoded yet. Tags: nothing.
    QStringView text;
    Tag tag = Tag::Other;
    QList<Attribute> attributes;

    // The value of the attribute of that (lower-case) name, decoded; the
    // null text when the tag has none.
    QString attribute(QLatin1String name) const;
};

class Tokenizer {
  public:
    explicit Tokenizer(QStringView html) : m_html(html) {}

    // The next token; false at the end.
    bool next(Token &token);

  private:
    bool readTag(Token &token);
    qsizetype readAttributes(qsizetype at, Token &token, bool keep) const;
    void skipRawText(QLatin1String endTag);
    bool skipMarkup();

    QStringView m_html;
    qsizetype m_at = 0;
    bool m_restIsText = false;
};

} // namespace html
