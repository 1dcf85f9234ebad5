// How remote names and texts are drawn: controls and bidi controls as
// visible escapes, right-to-left text isolated, plain text untouched.
#include "uikit/shownname.h"

#include <QTest>

class TestShownName : public QObject {
    Q_OBJECT

  private slots:
    void shown_data();
    void shown();
};

namespace {
enum Form { Name, NameInText, Body, Line, WithoutControls };
const QString fsi(QChar(0x2068));
const QString pdi(QChar(0x2069));
} // namespace

void TestShownName::shown_data() {
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain name untouched") << int(NameInText) << "alice b."
                                          << "alice b.";
    QTest::newRow("plain body untouched") << int(Body) << "hi\r\nyou\tthere"
                                          << "hi\r\nyou\tthere";
    QTest::newRow("override and pop") << int(Name) << QStringLiteral("\u202Eecila\u202C")
                                      << QStringLiteral("\\u202Eecila\\u202C");
    QTest::newRow("C0, DEL, C1") << int(Name) << QStringLiteral("a\x1b\x7f\u0085b")
                                 << QStringLiteral("a\\u001B\\u007F\\u0085b");
    QTest::newRow("line breaks in a name") << int(Name) << "mallory\r\nalice"
                                           << "mallory\\u000D\\u000Aalice";
    QTest::newRow("separators, isolates, marks")
        << int(Name) << QStringLiteral("\u2028\u2029\u2066\u2069\u061C\u200E\u200F")
        << QStringLiteral("\\u2028\\u2029\\u2066\\u2069\\u061C\\u200E\\u200F");
    QTest::newRow("zero-width space in a name")
        << int(Name) << QStringLiteral("al\u200Bice") << QStringLiteral("al\\u200Bice");
    QTest::newRow("invisible marks and fillers in a name")
        << int(Name) << QStringLiteral("alice\u034F\uFE0F\u3164\u2800")
        << QStringLiteral("alice\\u034F\\uFE0F\\u3164\\u2800");
    QTest::newRow("spaces other than the space in a name")
        << int(Name) << QStringLiteral("a b\u00A0c\u3000") << QStringLiteral("a b\\u00A0c\\u3000");
    QTest::newRow("a tag character, one escape per unit")
        << int(Name) << QString::fromUcs4(U"a\U000E0041") << QStringLiteral("a\\uDB40\\uDC41");
    QTest::newRow("emoji beyond the BMP stays")
        << int(Name) << QString::fromUcs4(U"\U0001F600") << QString::fromUcs4(U"\U0001F600");
    QTest::newRow("a body keeps its non-breaking space")
        << int(Body) << QStringLiteral("a\u00A0b") << QStringLiteral("a\u00A0b");
    QTest::newRow("an escape typed as text stays apart") << int(Name) << "\\u202Eecila"
                                                         << "\\u005Cu202Eecila";
    QTest::newRow("a lone backslash stays") << int(Name) << "a\\b"
                                            << "a\\b";
    QTest::newRow("right-to-left name isolated in text")
        << int(NameInText) << QStringLiteral("\u05D0\u05D1")
        << fsi + QStringLiteral("\u05D0\u05D1") + pdi;
    QTest::newRow("right-to-left name alone not wrapped")
        << int(Name) << QStringLiteral("\u05D0") << QStringLiteral("\u05D0");
    QTest::newRow("arabic digits isolated")
        << int(NameInText) << QStringLiteral("x\u0661") << fsi + QStringLiteral("x\u0661") + pdi;
    QTest::newRow("body escapes all but tab and line breaks")
        << int(Body) << QStringLiteral("a\tb\r\nc\x1b\u202E\u2028")
        << QStringLiteral("a\tb\r\nc\\u001B\\u202E\\u2028");
    QTest::newRow("body isolates each right-to-left line")
        << int(Body) << QStringLiteral("\u05D0!\r\nb\n\u05D1")
        << fsi + QStringLiteral("\u05D0!") + pdi + "\r\nb\n" + fsi + QStringLiteral("\u05D1") + pdi;
    QTest::newRow("body keeps a zero-width joiner")
        << int(Body) << QStringLiteral("x\u200Dy") << QStringLiteral("x\u200Dy");
    QTest::newRow("line escapes line breaks, keeps joiner")
        << int(Line) << QStringLiteral("a\r\nb\u200D") << QStringLiteral("a\\u000D\\u000Ab\u200D");
    QTest::newRow("own name loses its controls")
        << int(WithoutControls) << QStringLiteral("a\x1b\x07\x08\r\n\tb\u202Ec\u200B") << "abc";
}

void TestShownName::shown() {
    QFETCH(int, form);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString out = form == Name         ? shown::name(text)
                        : form == NameInText ? shown::nameInText(text)
                        : form == Body       ? shown::body(text)
                        : form == Line       ? shown::line(text)
                                             : shown::withoutControls(text);
    QCOMPARE(out, expected);
}

QTEST_GUILESS_MAIN(TestShownName)
#include "tst_shownname.moc"
