#include "inputbox.h"

#include "colortext.h"
#include "viewhost.h"

#include <QPalette>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace render {

void applyStyleFlags(QPlainTextEdit *box, const FormatSettings &settings) {
    QFont font = box->font();
    font.setBold(settings.bold);
    font.setItalic(settings.italic);
    font.setStrikeOut(settings.strikeout);
    font.setUnderline(settings.underline);
    box->setFont(font);
}

static bool applyColor(QPlainTextEdit *box, QPalette::ColorRole role, const QString &colorText) {
    const std::optional<QColor> color = colorFromText(colorText);
    if (!color)
        return false;
    QPalette palette = box->palette();
    palette.setColor(QPalette::Active, role, *color);
    palette.setColor(QPalette::Inactive, role, *color);
    box->setPalette(palette);
    return true;
}

bool applyTextColor(QPlainTextEdit *box, const QString &colorText) {
    return applyColor(box, QPalette::Text, colorText);
}

bool applyBackColor(QPlainTextEdit *box, const QString &colorText) {
    return applyColor(box, QPalette::Base, colorText);
}

bool applyFontName(QPlainTextEdit *box, const QString &fontName) {
    if (fontName.trimmed().isEmpty())
        return false;
    QFont font = box->font();
    font.setFamilies(QStringList{fontName});
    box->setFont(font);
    return true;
}

bool hasLineBreak(const QString &text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

QString withCrLf(const QString &text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return out;
}

QString withoutLineBreaks(const QString &text) {
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.remove(QLatin1Char('\n'));
    return out;
}

void keepDraft(QPlainTextEdit *box) {
    box->setPlainText(withoutLineBreaks(box->toPlainText()));
    box->moveCursor(QTextCursor::End);
}

} // namespace render
