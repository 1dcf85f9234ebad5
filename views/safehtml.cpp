#include "safehtml.h"

#include "htmlentities.h"
#include "htmlstyles.h"
#include "htmltokens.h"
#include "htmlwriter.h"
#include "weblinks.h"

namespace render {
namespace {

class Reader {
  public:
    Reader(QTextCursor &cursor, const QTextCharFormat &base, const HtmlOptions &options)
        : m_stack(base, options.styles),
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

    // Text outside a link: the bare addresses in it become links.
    void text(QStringView decoded) {
        if (m_out.formatsFull() || !m_stack.current().href.isEmpty()) {
            m_out.text(decoded);
            return;
        }
        qsizetype done = 0;
        for (const BareLink &link : findBareLinks(decoded)) {
            m_out.text(decoded.mid(done, link.start - done));
            m_out.setFormat(m_stack.bareLinkFormat(link.url.toString(QUrl::FullyEncoded)));
            m_out.text(decoded.mid(link.start, link.length));
            m_out.setFormat(m_stack.format());
            done = link.start + link.length;
        }
        m_out.text(decoded.mid(done));
    }

    html::StyleStack m_stack;
    html::Writer m_out;
};

} // namespace

void appendHtml(QTextCursor &cursor, QStringView html, const QTextCharFormat &base,
                const HtmlOptions &options) {
    Reader(cursor, base, options).read(html);
}

} // namespace render
