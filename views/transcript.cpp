#include "transcript.h"

#include "colortext.h"
#include "messagescan.h"
#include "safehtml.h"
#include "uikit/shownname.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>

namespace render {

void scrollToEnd(QTextEdit *TEXT) {
    if (QScrollBar *bar = TEXT->verticalScrollBar())
        bar->setValue(bar->maximum());
}

void setupTranscript(QTextEdit *TEXT) {
    TEXT->setReadOnly(true);
    TEXT->setUndoRedoEnabled(false);
    TEXT->setAcceptRichText(false);
    // Every line starts with a screen name, so paragraphs read left to
    // right; saying so spares the layout a scan of every paragraph for its
    // direction on each append.
    QTextOption option = TEXT->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    TEXT->document()->setDefaultTextOption(option);
}

int transcriptLength(const QTextEdit *TEXT) {
    // The document counts one more: the paragraph separator that ends it.
    return TEXT->document()->characterCount() - 1;
}

namespace {

// The body's own format before its tags: black on white, as the name line.
const QTextCharFormat &bodyFormat() {
    static const QTextCharFormat format = [] {
        // Inserted as it is (not merged into the name's): what it does not
        // set is plain.
        QTextCharFormat f;
        f.setForeground(Qt::black);
        f.setBackground(Qt::white);
        f.setFontFamilies(QStringList{QStringLiteral("Arial")});
        return f;
    }();
    return format;
}

void clearOverLimit(QTextEdit *TEXT, int limit) {
    if (limit >= 0 && transcriptLength(TEXT) > limit)
        TEXT->clear();
}

} // namespace

void showMessage(QTextEdit *TEXT, const QString &name, const QString &message,
                 const MessageLook &look, int limit) {
    const QString black = QStringLiteral("0");
    const QString white = QStringLiteral("16777215");
    const QString arial = QStringLiteral("Arial");
    // One edit for all runs: the transcript lays the line out once.
    QTextCursor edit(TEXT->document());
    edit.beginEditBlock();
    if (look.time.isValid())
        add_text2(TEXT, look.time.toString(QStringLiteral("[hh:mm] ")), black, white, false, false,
                  false, false, arial, limit);
    const QLatin1String after(look.autoResponse ? " (auto-response): " : ": ");
    add_text2(TEXT, shown::nameInText(name) + after, QStringLiteral("16711680"), white, true, false,
              false, false, arial, limit);
    clearOverLimit(TEXT, limit);
    QTextCursor cursor(TEXT->document());
    cursor.movePosition(QTextCursor::End);
    const QTextCharFormat &body = bodyFormat();
    appendHtml(cursor, message, body, {HtmlOptions::Kind::Message, look.styles, look.smileys});
    cursor.insertText(QStringLiteral("\n"), body);
    edit.endEditBlock();
    scrollToEnd(TEXT);
}

} // namespace render

void add_text2(QTextEdit *TEXT, const QString &text, const QString &colorText,
               const QString &backColorText, bool bold, bool italic, bool underline,
               bool strikethrough, const QString &fontName, int limit) {
    if (!TEXT)
        return;
    render::clearOverLimit(TEXT, limit);

    const QString run = render::decodeEntities(text);

    std::optional<qint32> color = render::colorTextToValue(colorText);
    if (!color && run.contains(QLatin1String("\r\n")))
        color = 0;

    QTextCursor cursor(TEXT->document());
    cursor.movePosition(QTextCursor::End);

    // Start from the formatting in force at the end, so that an attribute
    // that cannot be set keeps it.
    QTextCharFormat format = cursor.charFormat();
    if (color) {
        if (const std::optional<QColor> c = render::colorFromValue(*color))
            format.setForeground(*c);
    }
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontStrikeOut(strikethrough);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    format.setFontFamilies(QStringList{fontName});

    // A background that does not convert ("orange") is left unset: the
    // transcript's own background keeps the text readable.
    if (const std::optional<QColor> back = render::colorFromText(backColorText))
        format.setBackground(*back);
    else
        format.clearBackground();

    cursor.insertText(run, format);

    // Keep the newest text in view.
    render::scrollToEnd(TEXT);
}
