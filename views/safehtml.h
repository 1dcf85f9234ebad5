#pragma once
// The reader for HTML that others send: messages and profile pages. It
// shows text with inline styles (b strong i em u s strike, font with
// color, face and size, span with color, font-weight and font-style, body
// with bgcolor), line breaks (br, p) and links (a href, and bare
// addresses; http, https and mailto only). Everything else is dropped, its
// text kept: no pictures, tables, lists or layout, nothing is fetched and
// no markup reaches Qt's HTML engine. The text goes into the document
// through QTextCursor::insertText, neutralised as any remote text is.

#include <QStringView>
#include <QTextCharFormat>

class QTextCursor;

namespace render {

struct HtmlOptions {
    // Message: spaces and line breaks as sent. Page: a web page, its white
    // space collapsed and its blocks (div, li, tr, headings) on lines of
    // their own.
    enum class Kind { Message, Page };
    Kind kind = Kind::Message;
    // Without styles the text shows in the base format (links stay links).
    bool styles = true;
    // Text smileys (":-)") shown as their emoji, outside links.
    bool smileys = false;
};

// Appends what html shows at the cursor, in formats built on base.
void appendHtml(QTextCursor &cursor, QStringView html, const QTextCharFormat &base,
                const HtmlOptions &options = {});

} // namespace render
