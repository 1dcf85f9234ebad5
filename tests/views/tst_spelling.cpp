// The spell checker over a dictionary the test writes: words, suggestions,
// the user's own words across a restart, other encodings; and in a box,
// the underline and a correction from the menu.

#include "client/spellchecker.h"
#include "client/spellwords.h"
#include "views/spellmenu.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

class TestSpelling : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir m_dir;

    // "xx_XX" in `encoding`, knowing `words`.
    QString dictionary(const char *encoding, const QStringList &words) {
        const QString folder = m_dir.filePath(QString::fromLatin1(encoding));
        QDir().mkpath(folder);
        QFile aff(folder + "/xx_XX.aff"), dic(folder + "/xx_XX.dic");
        aff.open(QIODevice::WriteOnly);
        aff.write(QByteArray("SET ") + encoding + "\nTRY esianrtolcdugmphbyfvkwz\n");
        dic.open(QIODevice::WriteOnly);
        QStringEncoder encode(encoding);
        dic.write(QByteArray::number(words.size()) + '\n' + QByteArray(encode(words.join('\n'))) +
                  '\n');
        return folder;
    }

    SpellChecker *checker(const QString &folder) {
        auto *spell = new SpellChecker(nullptr, {folder}, m_dir.filePath("words.txt"), this);
        spell->setLanguage("xx_XX");
        return spell;
    }

  private slots:
    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("prose") << "don't stop, 'me'" << QStringList{"don't", "stop", "me"};
        QTest::newRow("digits") << "abc123 x_y 42 ok" << QStringList{"ok"};
        QTest::newRow("addresses") << "see http://x.y/ab me@h.org now" << QStringList{"see", "now"};
        QTest::newRow("scripts") << "mixed Привет 😀" << QStringList{"mixed", "Привет"};
        QTest::newRow("too long") << QString(101, 'a') + " b" << QStringList{"b"};
    }
    void split() {
        QFETCH(QString, text);
        QStringList found;
        for (const spellwords::Word &word : spellwords::split(text))
            found << text.mid(word.start, word.length);
        QFETCH(QStringList, words);
        QCOMPARE(found, words);
    }

    void checks_data() {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("right");
        QTest::newRow("right") << QByteArray("UTF-8") << "hello" << true;
        QTest::newRow("wrong") << QByteArray("UTF-8") << "helo" << false;
        QTest::newRow("accented") << QByteArray("UTF-8") << "café" << true;
        QTest::newRow("latin1 right") << QByteArray("ISO8859-1") << "café" << true;
        QTest::newRow("latin1 wrong") << QByteArray("ISO8859-1") << "cafè" << false;
        // Not in the dictionary's encoding: not the dictionary's to judge.
        QTest::newRow("latin1 other script") << QByteArray("ISO8859-1") << "日本" << true;
    }
    void checks() {
        QFETCH(QByteArray, encoding);
        SpellChecker *spell = checker(dictionary(encoding.constData(), {"hello", "café"}));
        QVERIFY(spell->active());
        QFETCH(QString, word);
        QFETCH(bool, right);
        QCOMPARE(spell->isCorrect(word), right);
        QVERIFY(spell->suggestions("helo").contains("hello"));
    }

    void addedWordStaysAfterRestart() {
        const QString folder = dictionary("UTF-8", {"hello"});
        QVERIFY(!checker(folder)->isCorrect(u"vorkle"));
        checker(folder)->addWord("vorkle");
        QVERIFY(checker(folder)->isCorrect(u"vorkle"));
    }

    void noDictionaryMarksNothing() {
        SpellChecker spell(nullptr, {m_dir.filePath("none")}, m_dir.filePath("w.txt"));
        QVERIFY(!spell.active());
        QVERIFY(spell.isCorrect(u"zzqx"));
    }

    void boxUnderlinesAndCorrects() {
        SpellChecker *spell = checker(dictionary("UTF-8", {"hello", "world"}));
        QPlainTextEdit box;
        spelling::attach(&box, spell);
        box.setPlainText("helo world");
        const auto underlined = [&box] {
            QList<int> starts;
            for (const QTextLayout::FormatRange &range :
                 box.document()->firstBlock().layout()->formats())
                if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                    starts << range.start;
            return starts;
        };
        QTRY_COMPARE(underlined(), QList<int>{0});

        std::unique_ptr<QMenu> menu(spelling::menuFor(&box, spell, QTextCursor(box.document())));
        QCOMPARE(menu->actions().first()->text(), "hello");
        menu->actions().first()->trigger();
        QCOMPARE(box.toPlainText(), "hello world");
        QTRY_COMPARE(underlined(), QList<int>{});
    }
};

QTEST_MAIN(TestSpelling)
#include "tst_spelling.moc"
