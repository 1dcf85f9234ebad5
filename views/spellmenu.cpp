#include "spellmenu.h"

#include "client/spellchecker.h"
#include "client/spellwords.h"
#include "spellhighlighter.h"
#include "uikit/contextmenus.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>

namespace spelling {

namespace {

// The box's menu events: the mouse's come to its viewport, the keyboard's
// to the box.
class SpellMenus : public QObject {
  public:
    SpellMenus(QPlainTextEdit *box, SpellChecker *checker)
        : QObject(box), m_box(box), m_checker(checker) {
        box->installEventFilter(this);
        box->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ContextMenu ||
            (watched != m_box && watched != m_box->viewport()) || !m_checker)
            return false;
        const auto *asked = static_cast<QContextMenuEvent *>(event);
        const bool mouse = asked->reason() == QContextMenuEvent::Mouse;
        const QTextCursor where =
            mouse ? m_box->cursorForPosition(m_box->viewport()->mapFromGlobal(asked->globalPos()))
                  : m_box->textCursor();
        const QPoint place =
            contextmenus::placeOf(asked, m_box->viewport(), m_box->cursorRect().center());
        QMenu *menu = menuFor(m_box, m_checker, where);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(place);
        return true;
    }

  private:
    QPlainTextEdit *m_box;
    QPointer<SpellChecker> m_checker;
};

QString menuText(const QString &text) {
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

void attach(QPlainTextEdit *box, SpellChecker *checker) {
    if (!checker)
        return;
    new SpellHighlighter(box->document(), checker);
    new SpellMenus(box, checker);
}

QMenu *menuFor(QPlainTextEdit *box, SpellChecker *checker, const QTextCursor &where) {
    QMenu *menu = box->createStandardContextMenu();
    const QTextBlock block = where.block();
    const QString text = block.text();
    const auto word = spellwords::at(text, where.positionInBlock());
    if (!word || box->isReadOnly() || !checker->active())
        return menu;
    const QString misspelt = text.mid(word->start, word->length);
    if (checker->isCorrect(misspelt))
        return menu;

    QAction *first = menu->actions().value(0);
    const int start = block.position() + int(word->start);
    const int end = start + int(word->length);
    const QStringList suggestions = checker->suggestions(misspelt);
    for (const QString &suggestion : suggestions) {
        QAction *replace = new QAction(menuText(suggestion), menu);
        QObject::connect(replace, &QAction::triggered, box, [box, start, end, suggestion] {
            QTextCursor cursor(box->document());
            cursor.setPosition(start);
            cursor.setPosition(end, QTextCursor::KeepAnchor);
            cursor.insertText(suggestion);
        });
        menu->insertAction(first, replace);
    }
    if (suggestions.isEmpty()) {
        QAction *none = new QAction(QObject::tr("(no suggestions)"), menu);
        none->setEnabled(false);
        menu->insertAction(first, none);
    }
    QAction *add = new QAction(QObject::tr("Add to dictionary"), menu);
    add->setObjectName(QStringLiteral("mnuAddWord"));
    QObject::connect(add, &QAction::triggered, checker,
                     [checker, misspelt] { checker->addWord(misspelt); });
    menu->insertAction(first, add);
    menu->insertSeparator(first);
    return menu;
}

} // namespace spelling
