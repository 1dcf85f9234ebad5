// Typing in an input box of 2,000 characters with the spell checker on
// (every key checks the whole paragraph again; known words come from the
// checker's cache) beside the same typing with the checker off, in the same
// run; and checking 2,000 characters of words never seen before, where
// every word goes to Hunspell. The dictionary is the system's en_US when
// installed, else one the benchmark writes.
#include "client/dictionaries.h"
#include "client/spellchecker.h"
#include "client/spellwords.h"
#include "guibenchmain.h"
#include "views/spellmenu.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBoxChars = 2000;

QString prose() {
    const QString line = QStringLiteral(
        "We could meet tomorrow after the meeting, if the wether is good and the train "
        "arrives on time; otherwise I'll send a mesage before lunch. ");
    QString text;
    while (text.size() < kBoxChars)
        text += line;
    return text.left(kBoxChars);
}

QStringList dictionaryDirs() {
    for (const dictionaries::Dictionary &d : dictionaries::installed(dictionaries::searchDirs()))
        if (d.name == QLatin1String("en_US"))
            return {QFileInfo(d.dicPath).absolutePath()};
    static QTemporaryDir made;
    QFile aff(made.filePath(QStringLiteral("en_US.aff")));
    QFile dic(made.filePath(QStringLiteral("en_US.dic")));
    if (aff.open(QIODevice::WriteOnly) && dic.open(QIODevice::WriteOnly)) {
        aff.write("SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n");
        const QString words = prose().toLower().remove(QRegularExpression(QStringLiteral("[,.;]")));
        const QStringList list = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        dic.write(QByteArray::number(list.size()) + '\n' + list.join(QLatin1Char('\n')).toUtf8());
    }
    return {made.path()};
}

SpellChecker &checker() {
    static QTemporaryDir data;
    static SpellChecker spell(nullptr, dictionaryDirs(), data.filePath(QStringLiteral("w.txt")));
    spell.setLanguage(QStringLiteral("en_US"));
    return spell;
}

// One key typed at the end of the box and taken back again.
void typeInBox(benchmark::State &state, bool checked) {
    QPlainTextEdit box;
    if (checked)
        spelling::attach(&box, &checker());
    box.setPlainText(prose());
    box.moveCursor(QTextCursor::End);
    QTextCursor cursor = box.textCursor();
    cursor.insertText(QStringLiteral("x")); // warms the cache
    cursor.deletePreviousChar();
    for (auto _ : state) {
        cursor.insertText(QStringLiteral("s"));
        cursor.deletePreviousChar();
    }
    state.counters["active"] = checked && checker().active();
}

void BM_TypeChecked(benchmark::State &state) {
    typeInBox(state, true);
}
void BM_TypeUnchecked(benchmark::State &state) {
    typeInBox(state, false);
}

// 2,000 characters of words no check has seen: all go to Hunspell.
void BM_CheckNewWords(benchmark::State &state) {
    SpellChecker &spell = checker();
    QRandomGenerator random(7);
    for (auto _ : state) {
        state.PauseTiming();
        QString text;
        while (text.size() < kBoxChars) {
            for (int i = 0, n = 3 + random.bounded(6); i < n; ++i)
                text += QChar(u'a' + random.bounded(26));
            text += QLatin1Char(' ');
        }
        state.ResumeTiming();
        int wrong = 0;
        for (const spellwords::Word &word : spellwords::split(text))
            wrong += spell.isCorrect(QStringView(text).sliced(word.start, word.length)) ? 0 : 1;
        benchmark::DoNotOptimize(wrong);
    }
}

} // namespace

BENCHMARK(BM_TypeChecked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeUnchecked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckNewWords)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
