#pragma once
// Writes the text of remote HTML into a document through
// QTextCursor::insertText only: runs of one format at a time, each
// neutralised as a message body is (control and bidi characters drawn as
// escapes), line breaks limited to one empty line, and a break opportunity
// in every long word, so that laying out a line never shapes more than a
// few dozen characters of a word that does not fit. What one text shows is
// bounded; past that a mark ends it.

#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>

namespace html {

class Writer {
  public:
    // Message: spaces and line breaks as sent. Page: runs of white space
    // are one space, as a browser shows them.
    enum class Spaces { Kept, Collapsed };

    // At most this many characters shown, and this many changes of format
    // (what follows keeps the format then in force).
    static constexpr qsizetype kMaxShown = 65536;
    static constexpr int kMaxFormats = 4096;
    // A word longer than kLongWord gets a break opportunity after it and
    // after every kBreakEvery characters more, so that its pieces fill the
    // lines.
    static constexpr int kLongWord = 64;
    static constexpr int kBreakEvery = 16;

    Writer(QTextCursor &cursor, Spaces spaces) : m_cursor(cursor), m_spaces(spaces) {}

    void setFormat(const QTextCharFormat &format);
    // Decoded text; in Kept mode its line breaks break the line.
    void text(QStringView text);
    void lineBreak();
    // A paragraph or block starts or ends: a line break, with lines = 2 an
    // empty line, unless the line is empty already.
    void blockBoundary(int lines);
    // A table cell starts: a space between it and what stands before.
    void cellBoundary();
    // Writes what is still held; call once at the end.
    void finish();

    bool full() const { return m_shown >= kMaxShown; }
    // No more changes of format are taken.
    bool formatsFull() const { return m_formats >= kMaxFormats; }

  private:
    void put(QStringView visible);
    void takeFormat();
    void flush();

    QTextCursor &m_cursor;
    Spaces m_spaces;
    QTextCharFormat m_format; // for the text that comes next
    bool m_formatChanged = false;
    int m_formats = 0;
    QTextCharFormat m_heldFormat;
    QString m_held; // text in m_heldFormat not inserted yet
    qsizetype m_shown = 0;
    bool m_written = false;  // anything shown
    bool m_lineStart = true; // nothing shown on the line yet
    int m_pendingBreaks = 0; // written before the next text, at most 2
    bool m_pendingSpace = false;
    int m_wordLength = 0; // characters since the last space
};

} // namespace html
