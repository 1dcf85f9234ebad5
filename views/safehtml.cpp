#include "safehtml.h"

#include "htmlentities.h"
#include "htmlstyles.h"
#include "htmltokens.h"
#include "htmlwriter.h"
#include "weblinks.h"

#include <QSet>

namespace render {
namespace {

// Tags whose start and end put what they hold on lines of its own. A
// paragraph is set off by an empty line.
const QSet<QString> &blockTags() {
    static const QSet<QString> tags{
        QStringLiteral("div"),        QStringLiteral("li"),      QStringLiteral("tr"),
        QStringLiteral("ul"),         QStringLiteral("ol"),      QStringLiteral("dl"),
        QStringLiteral("dt"),         QStringLiteral("dd"),      QStringLiteral("table"),
        QStringLiteral("h1"),         QStringLiteral("h2"),      QStringLiteral("h3"),
        QStringLiteral("h4"),         QStringLiteral("h5"),      QStringLiteral("h6"),
        QStringLiteral("blockquote"), QStringLiteral("pre"),     QStringLiteral("hr"),
        QStringLiteral("center"),     QStringLiteral("address"), QStringLiteral("form"),
    };
    return tags;
}

class Reader {
  public:
    Reader(QTextCursor &cursor, const QTextCharFormat &base, const HtmlOptions &options)
        : m_base(base), m_styles(options.styles),
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
                text(html::decodeEntities(token.text));
                break;
            case html::Token::Kind::Start:
                if (m_stack.start(token))
                    m_out.setFormat(m_stack.format(m_base, m_styles));
                boundary(token.tag, true);
                break;
            case html::Token::Kind::End:
                if (m_stack.end(token.tag))
                    m_out.setFormat(m_stack.format(m_base, m_styles));
                boundary(token.tag, false);
                break;
            }
        }
        m_out.finish();
    }

  private:
    void boundary(const QString &tag, bool start) {
        if (tag == u"br") {
            if (start)
                m_out.lineBreak();
        } else if (tag == u"p") {
            m_out.blockBoundary(2);
        } else if (tag == u"td" || tag == u"th") {
            if (start)
                m_out.cellBoundary();
        } else if (blockTags().contains(tag)) {
            m_out.blockBoundary(1);
        }
    }

    // Text outside a link: the bare addresses in it become links.
    void text(const QString &decoded) {
        if (!m_stack.current().href.isEmpty()) {
            m_out.text(decoded);
            return;
        }
        qsizetype done = 0;
        for (const BareLink &link : findBareLinks(decoded)) {
            m_out.text(QStringView(decoded).mid(done, link.start - done));
            const QTextCharFormat format = m_stack.format(m_base, m_styles);
            m_out.setFormat(html::linkFormat(format, link.url.toString(QUrl::FullyEncoded)));
            m_out.text(QStringView(decoded).mid(link.start, link.length));
            m_out.setFormat(format);
            done = link.start + link.length;
        }
        m_out.text(QStringView(decoded).mid(done));
    }

    const QTextCharFormat m_base;
    const bool m_styles;
    html::StyleStack m_stack;
    html::Writer m_out;
};

} // namespace

void appendHtml(QTextCursor &cursor, QStringView html, const QTextCharFormat &base,
                const HtmlOptions &options) {
    Reader(cursor, base, options).read(html);
}

} // namespace render
