#include "safehtml.h"

#include "htmlentities.h"
#include "htmlstyles.h"
#include "htmltokens.h"
#include "htmlwriter.h"
#include "smileys.h"
#include "weblinks.h"

namespace render {
namespace {

// A font that draws emoji in colour is asked first: the system's fallback
// for the sender's font could take a monochrome one (DejaVu Sans has them).
QTextCharFormat emojiFormat(QTextCharFormat format) {
    QStringList families{QStringLiteral("Noto Color Emoji"), QStringLiteral("emoji")};
    families += format.fontFamilies().toStringList();
    format.setFontFamilies(families);
    return format;
}

class Reader {
  public:
    Reader(QTextCursor &cursor, const QTextCharFormat &base, const HtmlOptions &options)
        : m_smileys(options.smileys), m_stack(base, options.styles),
          m_out(cursor, options.kind == HtmlOptions::Kind::Page ? html::Writer::Spaces::Collapsed
                                                                : html::Writer::Spaces::Kept) {
        m_out.setFormat(base);
    }

    void read(QStringView source) {
        html::Tokenizer tokens(source);
        html::Token token;
        while (!m_out.full() && tokens.next(token)) {
            switch (token.kind) {
            case html::Token::Kind::Text:
                if (token.text.contains(u'&'))
                    text(html::decodeEntities(token.text));
                else
                    text(token.text);
                break;
            case html::Token::Kind::Start:
                // Once the writer takes no more formats, styles need no reading.
                if (!m_out.formatsFull() && m_stack.start(token))
                    m_out.setFormat(m_stack.format());
                boundary(token.tag, true);
                break;
            case html::Token::Kind::End:
                if (!m_out.formatsFull() && m_stack.end(token.tag))
                    m_out.setFormat(m_stack.format());
                boundary(token.tag, false);
                break;
            }
        }
        m_out.finish();
    }

  private:
    // Line breaks: br; a paragraph is set off by an empty line, blocks
    // stand on lines of their own, table cells apart by a space.
    void boundary(html::Tag tag, bool start) {
        if (tag == html::Tag::Br || tag == html::Tag::P || tag == html::Tag::Td ||
            tag == html::Tag::Th || html::isBlock(tag))
            m_before = u' ';
        if (tag == html::Tag::Br) {
            if (start)
                m_out.lineBreak();
        } else if (tag == html::Tag::P) {
            m_out.blockBoundary(2);
        } else if (tag == html::Tag::Td || tag == html::Tag::Th) {
            if (start)
                m_out.cellBoundary();
        } else if (html::isBlock(tag)) {
            m_out.blockBoundary(1);
        }
    }

    // Text outside a link: the bare addresses in it become links, and the
    // smileys between them emoji.
    void text(QStringView decoded) {
        if (decoded.isEmpty())
            return;
        if (m_out.formatsFull() || !m_stack.current().href.isEmpty()) {
            m_out.text(decoded);
            m_before = decoded.back();
            return;
        }
        const QList<SmileyAt> smileys =
            m_smileys ? findSmileys(decoded, m_before) : QList<SmileyAt>();
        qsizetype next = 0; // the first smiley not passed yet
        qsizetype done = 0;
        for (const BareLink &link : findBareLinks(decoded)) {
            plain(decoded, done, link.start, smileys, next);
            m_out.setFormat(m_stack.bareLinkFormat(link.url.toString(QUrl::FullyEncoded)));
            m_out.text(decoded.mid(link.start, link.length));
            m_out.setFormat(m_stack.format());
            done = link.start + link.length;
        }
        plain(decoded, done, decoded.size(), smileys, next);
        m_before = decoded.back();
    }

    // decoded[from, to) with each smiley that lies wholly in it shown as
    // its emoji; one overlapping an address stays text.
    void plain(QStringView decoded, qsizetype from, qsizetype to, const QList<SmileyAt> &smileys,
               qsizetype &next) {
        for (; next < smileys.size() && smileys[next].start < to; ++next) {
            const SmileyAt &s = smileys[next];
            if (s.start < from || s.start + s.length > to)
                continue;
            m_out.text(decoded.mid(from, s.start - from));
            m_out.setFormat(emojiFormat(m_stack.format()));
            m_out.text(s.emoji);
            m_out.setFormat(m_stack.format());
            from = s.start + s.length;
        }
        m_out.text(decoded.mid(from, to - from));
    }

    bool m_smileys;
    QChar m_before = u' '; // the character shown last
    html::StyleStack m_stack;
    html::Writer m_out;
};

} // namespace

void appendHtml(QTextCursor &cursor, QStringView html, const QTextCharFormat &base,
                const HtmlOptions &options) {
    Reader(cursor, base, options).read(html);
}

} // namespace render
