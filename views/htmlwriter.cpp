#include "htmlwriter.h"

#include "uikit/shownname.h"

namespace html {
namespace {

constexpr QChar kZeroWidthSpace(0x200B);
constexpr QChar kEllipsis(0x2026);

bool isHtmlSpace(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\f';
}

// A break may not go inside a surrogate pair or before a combining mark.
bool mayBreakBefore(QChar c) {
    if (c.isLowSurrogate())
        return false;
    const QChar::Category k = c.category();
    return k != QChar::Mark_NonSpacing && k != QChar::Mark_SpacingCombining &&
           k != QChar::Mark_Enclosing;
}

} // namespace

void Writer::setFormat(const QTextCharFormat &format) {
    if (format == m_format || m_formats >= kMaxFormats)
        return;
    m_format = format;
    m_formatChanged = true;
    ++m_formats;
}

void Writer::text(QStringView text) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size() && !full(); ++i) {
        const QChar c = text[i];
        if (m_spaces == Spaces::Collapsed && isHtmlSpace(c)) {
            put(text.mid(start, i - start));
            if (!m_lineStart && !m_pendingSpace) {
                // The space takes the format in force where it stands.
                takeFormat();
                m_pendingSpace = true;
            }
            start = i + 1;
        } else if (m_spaces == Spaces::Kept && (c == u'\r' || c == u'\n')) {
            put(text.mid(start, i - start));
            // CR LF is one line break.
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            lineBreak();
            start = i + 1;
        }
    }
    put(text.mid(start));
}

void Writer::lineBreak() {
    m_pendingBreaks = qMin(m_pendingBreaks + 1, 2);
    m_pendingSpace = false;
    m_lineStart = true;
}

void Writer::blockBoundary(int lines) {
    if (!m_written)
        return;
    m_pendingBreaks = qMax(m_pendingBreaks, lines);
    m_pendingSpace = false;
    m_lineStart = true;
}

void Writer::cellBoundary() {
    if (!m_lineStart)
        m_pendingSpace = true;
}

void Writer::put(QStringView visible) {
    if (visible.isEmpty() || full())
        return;
    // Breaks and spaces held go before text, never at the start or end.
    if (m_written && m_pendingBreaks > 0) {
        // Line separators: the text stays one paragraph, laid out as one.
        m_held += QString(m_pendingBreaks, QChar::LineSeparator);
        m_shown += m_pendingBreaks;
        m_wordLength = 0;
    } else if (m_written && m_pendingSpace) {
        m_held += u' ';
        m_wordLength = 0;
    }
    m_pendingBreaks = 0;
    m_pendingSpace = false;
    m_written = true;
    m_lineStart = false;
    takeFormat();

    QString safe = shown::body(visible.toString());
    if (m_shown + safe.size() > kMaxShown) {
        safe.truncate(kMaxShown - m_shown);
        if (!safe.isEmpty() && safe.back().isHighSurrogate())
            safe.chop(1);
        safe += kEllipsis;
        m_shown = kMaxShown;
    } else {
        m_shown += safe.size();
    }
    for (const QChar c : std::as_const(safe)) {
        if (isHtmlSpace(c)) {
            m_wordLength = 0;
        } else {
            if (m_wordLength >= kLongWord && mayBreakBefore(c)) {
                m_held += kZeroWidthSpace;
                m_wordLength = kLongWord - kBreakEvery;
            }
            ++m_wordLength;
        }
        m_held += c;
    }
}

// What is held goes in, in the format it was held in; what follows is
// held in the format now in force.
void Writer::takeFormat() {
    if (!m_formatChanged)
        return;
    flush();
    m_heldFormat = m_format;
    m_formatChanged = false;
}

void Writer::flush() {
    if (m_held.isEmpty())
        return;
    m_cursor.insertText(m_held, m_heldFormat);
    m_held.clear();
}

void Writer::finish() {
    flush();
}

} // namespace html
