#include "spellwords.h"

#include <QChar>

namespace spellwords {

namespace {

bool isApostrophe(char32_t c) {
    return c == U'\'' || c == U'\u2019';
}

// Letters, the marks that combine with them, and what makes a run of them
// something other than prose (digits, underscores).
bool isWordChar(char32_t c) {
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == U'_';
}

char32_t codePointAt(QStringView text, qsizetype i, qsizetype *size) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *size = 2;
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    }
    *size = 1;
    return c.unicode();
}

// Addresses and paths: "http://...", "www.x", "me@host", "/usr/bin".
bool isNotProse(QStringView token) {
    return token.contains(u'@') || token.contains(u'/') || token.contains(u'\\') ||
           token.startsWith(u"www.", Qt::CaseInsensitive);
}

bool worthChecking(QStringView word) {
    if (word.isEmpty() || word.size() > kMaxWordLength)
        return false;
    for (const QChar c : word)
        if (c.isDigit() || c == u'_' || c.category() == QChar::Number_Other ||
            c.category() == QChar::Number_Letter)
            return false;
    return true;
}

// The words of one token (text between white space).
void splitToken(QStringView text, qsizetype from, qsizetype to, QList<Word> &words) {
    qsizetype i = from;
    while (i < to) {
        qsizetype size = 1;
        if (!isWordChar(codePointAt(text, i, &size))) {
            i += size;
            continue;
        }
        const qsizetype start = i;
        qsizetype end = i;
        while (i < to) {
            const char32_t c = codePointAt(text, i, &size);
            if (isWordChar(c)) {
                i += size;
                end = i;
            } else if (isApostrophe(c) && i + 1 < to &&
                       isWordChar(codePointAt(text, i + 1, &size))) {
                i += 1;
            } else {
                break;
            }
        }
        const QStringView word = text.sliced(start, end - start);
        if (worthChecking(word))
            words.append({start, end - start});
    }
}

} // namespace

QList<Word> split(QStringView text) {
    QList<Word> words;
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size) {
        while (i < size && text.at(i).isSpace())
            ++i;
        const qsizetype start = i;
        while (i < size && !text.at(i).isSpace())
            ++i;
        if (i > start && !isNotProse(text.sliced(start, i - start)))
            splitToken(text, start, i, words);
    }
    return words;
}

std::optional<Word> at(QStringView text, qsizetype position) {
    for (const Word &word : split(text))
        if (position >= word.start && position <= word.start + word.length)
            return word;
    return std::nullopt;
}

} // namespace spellwords
