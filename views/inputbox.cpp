#include "inputbox.h"

#include "colortext.h"
#include "viewhost.h"

#include <QEvent>
#include <QKeyEvent>
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

namespace {

class EnterSends : public QObject {
  public:
    EnterSends(QPlainTextEdit *box, std::function<void()> send)
        : QObject(box), m_box(box), m_send(std::move(send)) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != m_box || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & Qt::ShiftModifier)
            m_box->insertPlainText(QStringLiteral("\n"));
        else
            m_send();
        return true;
    }

  private:
    QPlainTextEdit *m_box;
    std::function<void()> m_send;
};

} // namespace

void sendOnEnter(QPlainTextEdit *box, std::function<void()> send) {
    box->installEventFilter(new EnterSends(box, std::move(send)));
}

QString typedAsHtml(const QString &typed) {
    QString html;
    html.reserve(typed.size() + typed.size() / 8);
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        if (c == u'&')
            html += QLatin1String("&amp;");
        else if (c == u'<')
            html += QLatin1String("&lt;");
        else if (c == u'>')
            html += QLatin1String("&gt;");
        else if (c == u'\r' && i + 1 < typed.size() && typed.at(i + 1) == u'\n')
            continue; // the "\n" that follows is the break
        else if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator ||
                 c == QChar::ParagraphSeparator)
            html += QLatin1String("<br>");
        else
            html += c;
    }
    return html;
}

void putBack(QPlainTextEdit *box, const QString &typed) {
    const QString draft = box->toPlainText();
    box->setPlainText(draft.isEmpty() ? typed : typed + QLatin1Char('\n') + draft);
    box->moveCursor(QTextCursor::End);
}

} // namespace render
