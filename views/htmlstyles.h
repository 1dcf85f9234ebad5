#pragma once
// The inline styles of remote HTML: which tags set what, nested at most
// kMaxDepth deep (deeper tags are flattened: they and their end tags
// change nothing), and the character format that results. Text whose
// colour is too close to its background to be read (white on white) is
// drawn in the base colour, and on the base background when that is too
// close as well (black on black), as a colour that is not one is.

#include "htmltokens.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <array>
#include <optional>
#include <vector>

namespace html {

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<QColor> foreground;
    std::optional<QColor> background;
    QStringList families;
    std::optional<int> size; // HTML font size 1 to 7
    QString href;            // a link's address, checked already
};

class StyleStack {
  public:
    static constexpr int kMaxDepth = 32;

    // Formats are built on base; without styles only links show.
    StyleStack(const QTextCharFormat &base, bool styles);

    // A start or end tag; true when the style in force changed.
    bool start(const Token &tag);
    bool end(Tag tag);
    const Style &current() const { return m_stack.back().style; }
    // The format for text in the current style, made once per tag.
    const QTextCharFormat &format() const { return m_stack.back().format; }
    // The format of an address found in text in the current style.
    QTextCharFormat bareLinkFormat(const QString &href) const;

  private:
    QTextCharFormat formatOf(const Style &s) const;
    void keepReadable(QTextCharFormat &f) const;

    struct Entry {
        Tag tag;
        Style style;
        QTextCharFormat format;
    };
    const QTextCharFormat m_base;
    const bool m_styles;
    // What the view draws where a format sets no colour.
    const QColor m_baseText;
    const QColor m_baseBack;
    std::vector<Entry> m_stack; // the first entry: no tag, no style
    // Start tags past the depth, by tag: their end tags change nothing.
    std::array<int, kTagCount> m_flattened;
};

// The format of an address found in the text itself.
QTextCharFormat linkFormat(QTextCharFormat format, const QString &href);

} // namespace html
