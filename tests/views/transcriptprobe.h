#pragma once
// Reading back what a transcript shows: its text and the format of a run.

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

// The format of the character at pos (0-based, as in toPlainText()).
inline QTextCharFormat formatAt(const QTextEdit *edit, int pos) {
    QTextCursor c(edit->document());
    c.setPosition(pos + 1);
    return c.charFormat();
}

// The format of the first character of the first occurrence of text; an
// invalid format when the text is not shown.
inline QTextCharFormat formatOf(const QTextEdit *edit, const QString &text, int from = 0) {
    const int at = int(edit->toPlainText().indexOf(text, from));
    if (at < 0)
        return QTextCharFormat();
    return formatAt(edit, at);
}

inline QColor foregroundOf(const QTextCharFormat &f) {
    return f.foreground().color();
}
// An invalid colour when the run has no background of its own.
inline QColor backgroundOf(const QTextCharFormat &f) {
    return f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color() : QColor();
}
inline bool isBold(const QTextCharFormat &f) {
    return f.fontWeight() >= QFont::Bold;
}
