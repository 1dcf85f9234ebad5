#include "spellhighlighter.h"

#include "client/spellchecker.h"
#include "client/spellwords.h"

SpellHighlighter::SpellHighlighter(QTextDocument *document, SpellChecker *checker)
    : QSyntaxHighlighter(document), m_checker(checker) {
    connect(checker, &SpellChecker::changed, this, &QSyntaxHighlighter::rehighlight);
}

void SpellHighlighter::highlightBlock(const QString &text) {
    if (!m_checker || !m_checker->active())
        return;
    QTextCharFormat misspelt;
    misspelt.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    misspelt.setUnderlineColor(Qt::red);
    const QStringView view(text);
    for (const spellwords::Word &word : spellwords::split(view))
        if (!m_checker->isCorrect(view.sliced(word.start, word.length)))
            setFormat(int(word.start), int(word.length), misspelt);
}
