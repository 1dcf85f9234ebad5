#pragma once
// Misspelt words in an input box, underlined with a red wave as the user
// types; checked again when the checker's answers change (switched on or
// off, another language, a word added).

#include <QPointer>
#include <QSyntaxHighlighter>

class SpellChecker;

class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

  public:
    SpellHighlighter(QTextDocument *document, SpellChecker *checker);

  protected:
    void highlightBlock(const QString &text) override;

  private:
    // The window may drop the checker before the boxes.
    QPointer<SpellChecker> m_checker;
};
