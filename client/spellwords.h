#pragma once
// Which parts of a typed text are words for the spell checker: runs of
// letters (an apostrophe inside a word belongs to it, "don't"). Whatever
// is not prose is left alone: a word with a digit or an underscore, a web
// or mail address, a path, and anything longer than a word can be.

#include <QList>
#include <QStringView>
#include <optional>

namespace spellwords {

// Longer runs of letters are not checked: no dictionary knows them and a
// pasted blob must not cost a dictionary look-up.
constexpr qsizetype kMaxWordLength = 100;

struct Word {
    qsizetype start = 0;
    qsizetype length = 0;
};

QList<Word> split(QStringView text);

// The word that holds (or ends at) `position`, if it is one to check.
std::optional<Word> at(QStringView text, qsizetype position);

} // namespace spellwords
