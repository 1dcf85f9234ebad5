// The renderer: colour conversions, entity decoding, the outgoing prefix,
// the runs appended to a transcript and messages shown in it.
#include "transcriptprobe.h"
#include "views/color2html.h"
#include "views/colortext.h"
#include "views/historytext.h"
#include "views/messagescan.h"
#include "views/transcript.h"
#include "views/viewhost.h"

#include <QApplication>
#include <QPalette>
#include <QTest>

class TestRender : public QObject {
    Q_OBJECT

  private slots:
    void htmlColor_data();
    void htmlColor();
    void colorTextToValue_data();
    void colorTextToValue();
    void systemColorsFollowThePalette_data();
    void systemColorsFollowThePalette();
    void colorToHtml_data();
    void colorToHtml();
    void scan_data();
    void scan();
    void timestamps();
    void decodeEntities_data();
    void decodeEntities();
    void historyText_data();
    void historyText();
    void outgoingPrefix_data();
    void outgoingPrefix();
    void addText2Colors_data();
    void addText2Colors();
    void addText2KeepsColourInForce();
    void addText2Styles();
    void transcriptIsReadOnlyWithoutUndo();
    void messageDisplay_data();
    void messageDisplay();
    void chatLimit_data();
    void chatLimit();
};

// HTML colour texts: the names and the notations clients send; system
// colour names and anything else are no colour.
void TestRender::htmlColor_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QColor>("color"); // invalid: none
    QTest::newRow("aqua") << "aqua" << QColor(0, 255, 255);
    QTest::newRow("blue") << "blue" << QColor(0, 0, 255);
    QTest::newRow("red") << "red" << QColor(255, 0, 0);
    QTest::newRow("maroon") << "maroon" << QColor(128, 0, 0);
    QTest::newRow("upper case") << "YeLLow" << QColor(255, 255, 0);
    QTest::newRow("padded") << " red" << QColor(255, 0, 0);
    QTest::newRow("windowtext") << "windowtext" << QColor();
    QTest::newRow("threedface") << "threedface" << QColor();
    QTest::newRow("not a name") << "chartreuse" << QColor();
    QTest::newRow("#ff0000 red") << "#ff0000" << QColor(255, 0, 0);
    QTest::newRow("#000080 navy") << "#000080" << QColor(0, 0, 128);
    QTest::newRow("#FFFFFF") << "#FFFFFF" << QColor(255, 255, 255);
    QTest::newRow("#fff three digits") << "#fff" << QColor(255, 255, 255);
    QTest::newRow("# alone") << "#" << QColor();
    QTest::newRow("bare 00ff00") << "00ff00" << QColor(0, 255, 0);
    QTest::newRow("bare 0000ff") << "0000ff" << QColor(0, 0, 255);
    QTest::newRow("bare three digits") << "0f0" << QColor();
    QTest::newRow("empty") << "" << QColor();
    QTest::newRow("one char") << "f" << QColor();
}

void TestRender::htmlColor() {
    QFETCH(QString, html);
    QFETCH(QColor, color);
    const std::optional<QColor> c = render::htmlColor(html);
    QCOMPARE(c.value_or(QColor()), color);
}

void TestRender::colorTextToValue_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<qint32>("value");
    QTest::newRow("decimal 0") << "0" << true << 0;
    QTest::newRow("decimal white") << "16777215" << true << 16777215;
    QTest::newRow("decimal blue") << "16711680" << true << 16711680;
    QTest::newRow("negative decimal") << "-1" << true << -1;
    QTest::newRow("spaces around") << " 12 " << true << 12;
    QTest::newRow("&HFF") << "&HFF" << true << 255;
    QTest::newRow("&hff lower") << "&hff" << true << 255;
    QTest::newRow("&Hfffff") << "&Hfffff" << true << 0xFFFFF;
    QTest::newRow("&H0") << "&H0" << true << 0;
    QTest::newRow("system colour") << "&H8000000A" << true << qint32(0x8000000A);
    QTest::newRow("eight digits all set") << "&HFFFFFFFF" << true << -1;
    QTest::newRow("leading zeros beyond eight") << "&H0000000FF" << true << 255;
    QTest::newRow("nine digits") << "&H123456789" << false << 0;
    QTest::newRow("invalid hex digit") << "&Hsearch" << false << 0;
    QTest::newRow("&H alone") << "&H" << false << 0;
    QTest::newRow("&H#") << "&H#" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("word") << "red" << false << 0;
    QTest::newRow("html form") << "#FF0000" << false << 0;
    QTest::newRow("decimal overflow") << "99999999999" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("non-ASCII digits") << QStringLiteral("\u0661\u0662") << false << 0;
}

void TestRender::colorTextToValue() {
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(qint32, value);
    const std::optional<qint32> v = render::colorTextToValue(text);
    QCOMPARE(v.has_value(), converts);
    if (converts)
        QCOMPARE(*v, value);
}

void TestRender::systemColorsFollowThePalette_data() {
    QTest::addColumn<qint32>("value");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("window text") << qint32(0x80000008) << int(QPalette::Active)
                                 << int(QPalette::Text);
    QTest::newRow("window") << qint32(0x80000005) << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("highlight") << qint32(0x8000000D) << int(QPalette::Active)
                               << int(QPalette::Highlight);
    QTest::newRow("button text") << qint32(0x80000012) << int(QPalette::Active)
                                 << int(QPalette::ButtonText);
    QTest::newRow("gray text") << qint32(0x80000011) << int(QPalette::Disabled)
                               << int(QPalette::Text);
    QTest::newRow("tooltip background")
        << qint32(0x80000018) << int(QPalette::Active) << int(QPalette::ToolTipBase);
}

void TestRender::systemColorsFollowThePalette() {
    QFETCH(qint32, value);
    QFETCH(int, group);
    QFETCH(int, role);
    const QPalette saved = QApplication::palette();
    // A palette whose roles all differ, so the right role must be picked.
    QPalette palette;
    for (int r = 0; r < QPalette::NColorRoles; ++r)
        for (int g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r),
                             QColor(r * 9, g * 60, 200));
    QApplication::setPalette(palette);
    const std::optional<QColor> c = render::colorFromValue(value);
    QApplication::setPalette(saved);
    QVERIFY(c.has_value());
    QCOMPARE(*c, palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role)));
}

void TestRender::colorToHtml_data() {
    QTest::addColumn<qint32>("value");
    QTest::addColumn<QString>("html");
    QTest::newRow("black") << 0 << "#000000";
    QTest::newRow("white") << 16777215 << "#FFFFFF";
    QTest::newRow("red") << 255 << "#FF0000";
    QTest::newRow("blue FF green 80") << qint32(0xFF8000) << "#0080FF";
    QTest::newRow("small parts padded") << qint32(0x010203) << "#030201";
    QTest::newRow("high byte ignored") << qint32(0x7F00000A) << "#0A0000";
}

void TestRender::colorToHtml() {
    QFETCH(qint32, value);
    QFETCH(QString, html);
    QCOMPARE(ColorToHtml(value), html);
    QCOMPARE(Color2html::ColorToHtml(value), html);
}

// The style each message shows at its last character: the tags in force
// there, each run styled on its own (no longer one style for the message).
void TestRender::scan_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QColor>("back");

    const QColor black(0, 0, 0), white(255, 255, 255), red(255, 0, 0), blue(0, 0, 255);
    const QColor lime(0, 255, 0);
    const auto row = [&](const char *name, const char *message, bool b, bool i, bool u,
                         const QColor &color, const QColor &back) {
        QTest::newRow(name) << QString::fromUtf8(message) << b << i << u << color << back;
    };
    row("plain", "hello", false, false, false, black, white);
    row("<b>", "<b>hi</b>", true, false, false, black, white);
    row("<B> upper case", "<B>hi</B>", true, false, false, black, white);
    row("<bold>", "<bold>hi", true, false, false, black, white);
    row("<b> at the very end styles nothing", "hi<b>", false, false, false, black, white);
    row("<b > is bold", "<b >hi", true, false, false, black, white);
    row("<strong> is bold", "<strong>hi", true, false, false, black, white);
    row("<i>", "<i>x", false, true, false, black, white);
    row("<italic>", "<ITALIC>x", false, true, false, black, white);
    row("<u>", "<u>x", false, false, true, black, white);
    row("<underline>", "<underline>x", false, false, true, black, white);
    row("<s> is no b/i/u", "<s>x", false, false, false, black, white);
    row("escaped tag is text", "&lt;b&gt;hi", false, false, false, black, white);
    row("quoted colour after face", "<font face=\"arial\" color=\"#ff0000\">x", false, false, false,
        red, white);
    row("the colour in force", "<font color=\"#ff0000\">a</font><font color=\"#0000ff\">b", false,
        false, false, blue, white);
    row("cut at >", "<font color=#00ff00>x", false, false, false, lime, white);
    row("upper-case attribute", "<FONT COLOR=\"#0000FF\">x", false, false, false, blue, white);
    row("space after =", "<font color= #00ff00>x", false, false, false, lime, white);
    row("colour name", "<font color=red>x", false, false, false, red, white);
    row("system colour name is none", "<font color=\"windowtext\">x", false, false, false, black,
        white);
    row("unknown name", "<font color=chartreuse>x", false, false, false, black, white);
    row("#fff, white on white: drawn black", "<font color=\"#fff\">x", false, false, false, black,
        white);
    row("marker ends the text", "abc color=", false, false, false, black, white);
    row("no space, no colour", "<font_color=#00ff00>x", false, false, false, black, white);
    row("bgcolor is no text colour", "<body bgcolor=\"#ffff00\">x", false, false, false, black,
        QColor(255, 255, 0));
    row("unclosed bgcolor is text", "<body bgcolor=", false, false, false, black, white);
    row("the bgcolor in force", "<body bgcolor=#0000ff><body bgcolor=#00ff00>x", false, false,
        false, black, lime);
    row("only body's bgcolor", "<td xbgcolor=#0000ff> <body bgcolor=#00ff00>x", false, false, false,
        black, lime);
    row("td's is none", "<td xbgcolor=#0000ff>x", false, false, false, black, white);
    row("everything",
        "<HTML><BODY BGCOLOR=\"#ffffff\"><B><I><U><FONT FACE=\"Arial\" COLOR=\"#008000\">hi", true,
        true, true, QColor(0, 128, 0), white);
}

void TestRender::scan() {
    QFETCH(QString, message);
    QTextEdit edit;
    render::setupTranscript(&edit);
    render::showMessage(&edit, QStringLiteral("bob"), message, {}, render::kNoLimit);
    const QTextCharFormat s = formatAt(&edit, render::transcriptLength(&edit) - 2);
    QTEST(isBold(s), "bold");
    QTEST(s.fontItalic(), "italic");
    QTEST(s.fontUnderline(), "underline");
    QTEST(foregroundOf(s), "color");
    QTEST(backgroundOf(s), "back");
}

// "[hh:mm] " before the name when the message has a time.
void TestRender::timestamps() {
    QTextEdit edit;
    render::setupTranscript(&edit);
    render::showMessage(&edit, QStringLiteral("bob"), QStringLiteral("a"), {true, QTime(9, 5)},
                        render::kNoLimit);
    render::showMessage(&edit, QStringLiteral("bob"), QStringLiteral("b"), {}, render::kNoLimit);
    QCOMPARE(edit.toPlainText(), QStringLiteral("[09:05] bob: a\nbob: b\n"));
    QVERIFY(!isBold(formatAt(&edit, 0)));
    QVERIFY(isBold(formatOf(&edit, QStringLiteral("bob"))));
}

void TestRender::decodeEntities_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("&lt;") << "&lt;b&gt;hi"
                          << "<b>hi";
    QTest::newRow("&quot;") << "&quot;x&quot;"
                            << "\"x\"";
    QTest::newRow("&amp; stays") << "a &amp; b"
                                 << "a &amp; b";
    QTest::newRow("case-sensitive") << "&LT;"
                                    << "&LT;";
    QTest::newRow("decoded once") << "&amp;lt;"
                                  << "&amp;lt;";
    QTest::newRow("nothing") << "plain"
                             << "plain";
}

void TestRender::decodeEntities() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(render::decodeEntities(text), shown);
}

// A stored line as View History shows it after "time  bob: ": its line
// breaks kept and set in, and a long line cut into paragraphs (the first
// holds the 26 characters before the text).
void TestRender::historyText_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("shown");
    QTest::newRow("breaks") << "one<br>two\r\nthree<BR/>four&lt;br&gt;"
                            << "one\n    two\n    three\n    four<br>";
    QTest::newRow("blank lines") << "a<br><br><br> <br>b<br><br>"
                                 << "a\n\n    b";
    const QString w(2500, u'w');
    QTest::newRow("a long word") << w
                                 << w.left(970) + "\n    " + w.mid(970, 996) + "\n    " +
                                        w.mid(1966);
    QTest::newRow("long words") << QString("w ").repeated(1000)
                                << QString("w ").repeated(485) + "\n    " +
                                       QString("w ").repeated(498) + "\n    " +
                                       QString("w ").repeated(17);
}

void TestRender::historyText() {
    QFETCH(QString, html);
    const HistoryLine line =
        HistoryLine::im(QStringLiteral("bob"), false, HistoryLine::Kind::Message,
                        QStringLiteral("bob"), render::plainText(html));
    const QString text = render::historyPageText({line});
    QTEST(text.mid(text.indexOf(QLatin1String(": ")) + 2), "shown");
}

void TestRender::outgoingPrefix_data() {
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("defaults")
        << false << false << false << false << "Arial"
        << "#000000"
        << "#FFFFFF"
        << "<FONT FACE=\"Arial\" COLOR=\"#000000\"><BODY BGCOLOR=\"#FFFFFF\">";
    QTest::newRow("bold italic")
        << true << true << false << false << "Arial"
        << "#000000"
        << "#FFFFFF"
        << "<b><i><FONT FACE=\"Arial\" COLOR=\"#000000\"><BODY BGCOLOR=\"#FFFFFF\">";
    QTest::newRow("all four in order")
        << true << true << true << true << "Courier New"
        << "#FF0000"
        << "#00FF00"
        << "<b><i><s><u><FONT FACE=\"Courier New\" COLOR=\"#FF0000\"><BODY BGCOLOR=\"#00FF00\">";
    QTest::newRow("strike only") << false << false << true << false << "Arial"
                                 << "#000000"
                                 << "#FFFFFF"
                                 << "<s><FONT FACE=\"Arial\" COLOR=\"#000000\"><BODY "
                                    "BGCOLOR=\"#FFFFFF\">";
}

void TestRender::outgoingPrefix() {
    FormatSettings s;
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, strike);
    QFETCH(bool, underline);
    s.bold = bold;
    s.italic = italic;
    s.strikeout = strike;
    s.underline = underline;
    QFETCH(QString, face);
    QFETCH(QString, color);
    QFETCH(QString, back);
    s.fontFace = face;
    s.textColorHtml = color;
    s.backColorHtml = back;
    QTEST(render::outgoingPrefix(s), "prefix");
}

void TestRender::addText2Colors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("back");
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("background");
    const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0), white(255, 255, 255);
    QTest::newRow("blue on white") << "x\r\n"
                                   << "16711680"
                                   << "16777215" << blue << white;
    QTest::newRow("&H form") << "x\r\n"
                             << "&HFF0000"
                             << "&HFFFFFF" << blue << white;
    QTest::newRow("pure red with line break is red") << "x\r\n"
                                                     << "&Hff"
                                                     << "16777215" << red << white;
    QTest::newRow("pure red decimal with line break") << "x\r\n"
                                                      << "255"
                                                      << "16777215" << red << white;
    QTest::newRow("pure red without line break") << "x"
                                                 << "&Hff"
                                                 << "16777215" << red << white;
    QTest::newRow("unconvertible with line break is black") << "x\r\n"
                                                            << "&Hsearch"
                                                            << "16777215" << black << white;
    QTest::newRow("unconvertible background stays unset") << "x\r\n"
                                                          << "0"
                                                          << "&Hsearch" << black << QColor();
    QTest::newRow("yellow background") << "x"
                                       << "0"
                                       << "&Hffff" << black << QColor(255, 255, 0);
    QTest::newRow("BGR order") << "x"
                               << "&H8000"
                               << "16777215" << QColor(0, 128, 0) << white;
}

void TestRender::addText2Colors() {
    QFETCH(QString, text);
    QFETCH(QString, color);
    QFETCH(QString, back);
    QTextEdit edit;
    render::setupTranscript(&edit);
    add_text2(&edit, text, color, back, false, false, false, false, QStringLiteral("Arial"));
    const QTextCharFormat f = formatAt(&edit, 0);
    QTEST(foregroundOf(f), "fore");
    QTEST(backgroundOf(f), "background");
}

void TestRender::addText2KeepsColourInForce() {
    QTextEdit edit;
    render::setupTranscript(&edit);
    add_text2(&edit, QStringLiteral("a"), QStringLiteral("16711680"), QStringLiteral("0"), false,
              false, false, false, QStringLiteral("Arial"));
    // No line break: an unconvertible colour keeps the blue in force.
    add_text2(&edit, QStringLiteral("b"), QStringLiteral("&Hzz"), QStringLiteral("16777215"), false,
              false, false, false, QStringLiteral("Arial"));
    QCOMPARE(edit.toPlainText(), QStringLiteral("ab"));
    QCOMPARE(foregroundOf(formatAt(&edit, 1)), QColor(0, 0, 255));
    QCOMPARE(backgroundOf(formatAt(&edit, 1)), QColor(255, 255, 255));
}

void TestRender::addText2Styles() {
    QTextEdit edit;
    render::setupTranscript(&edit);
    add_text2(&edit, QStringLiteral("one"), QStringLiteral("0"), QStringLiteral("16777215"), true,
              true, true, true, QStringLiteral("Courier"));
    add_text2(&edit, QStringLiteral("two &lt;b&gt; &quot;q&quot; &amp;"), QStringLiteral("0"),
              QStringLiteral("16777215"), false, false, false, false, QStringLiteral("Arial"));
    QCOMPARE(edit.toPlainText(), QStringLiteral("onetwo <b> \"q\" &amp;"));
    const QTextCharFormat one = formatOf(&edit, QStringLiteral("one"));
    QVERIFY(isBold(one));
    QVERIFY(one.fontItalic());
    QVERIFY(one.fontUnderline());
    QVERIFY(one.fontStrikeOut());
    QCOMPARE(one.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier")});
    const QTextCharFormat two = formatOf(&edit, QStringLiteral("two"));
    QVERIFY(!isBold(two));
    QVERIFY(!two.fontItalic());
    QVERIFY(!two.fontUnderline());
    QVERIFY(!two.fontStrikeOut());
    QCOMPARE(two.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
}

void TestRender::transcriptIsReadOnlyWithoutUndo() {
    QTextEdit edit;
    render::setupTranscript(&edit);
    add_text2(&edit, QStringLiteral("<b>x</b>\r\n"), QStringLiteral("0"),
              QStringLiteral("16777215"), false, false, false, false, QStringLiteral("Arial"));
    QVERIFY(edit.isReadOnly());
    QVERIFY(!edit.document()->isUndoAvailable());
    QVERIFY(!edit.document()->isUndoRedoEnabled());
    // Markup arrives as text.
    QCOMPARE(edit.toPlainText(), QStringLiteral("<b>x</b>\n"));
    edit.clear();
    QVERIFY(!edit.document()->isUndoRedoEnabled());
}

void TestRender::messageDisplay_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QColor>("fore");
    QTest::addColumn<QColor>("background");
    const QColor black(0, 0, 0), white(255, 255, 255);
    QTest::newRow("plain") << "hello"
                           << "bob: hello\n"
                           << false << black << white;
    QTest::newRow("tags stripped, a late <b> styles nothing") << "hi <i>there</i><b>"
                                                              << "bob: hi there\n"
                                                              << false << black << white;
    QTest::newRow("pure red body shows red") << "<font color=\"#ff0000\">hot"
                                             << "bob: hot\n"
                                             << false << QColor(255, 0, 0) << white;
    QTest::newRow("red by name shows red") << "<font color=red>hot"
                                           << "bob: hot\n"
                                           << false << QColor(255, 0, 0) << white;
    QTest::newRow("green body") << "<font color=\"#008000\">go"
                                << "bob: go\n"
                                << false << QColor(0, 128, 0) << white;
    QTest::newRow("unknown colour shows black") << "<font color=chartreuse>x"
                                                << "bob: x\n"
                                                << false << black << white;
    QTest::newRow("unknown background stays readable") << "<body bgcolor=orange>x"
                                                       << "bob: x\n"
                                                       << false << black << white;
    QTest::newRow("single-quoted colour, as clients send it")
        << "<FONT COLOR='#008000'>x"
        << "bob: x\n"
        << false << QColor(0, 128, 0) << white;
    QTest::newRow("#000000 renders black") << "<font color=#000000>x"
                                           << "bob: x\n"
                                           << false << black << white;
    QTest::newRow("escaped tag shown as text, plain") << "&lt;b&gt;hi"
                                                      << "bob: <b>hi\n"
                                                      << false << black << white;
    QTest::newRow("unclosed < kept") << "a > b <c"
                                     << "bob: a > b <c\n"
                                     << false << black << white;
}

void TestRender::messageDisplay() {
    QFETCH(QString, message);
    QTextEdit edit;
    render::setupTranscript(&edit);
    render::showMessage(&edit, QStringLiteral("bob"), message, {}, render::kNoLimit);
    QTEST(edit.toPlainText(), "shown");
    // The header stays bold blue on white whatever the body says.
    const QTextCharFormat header = formatAt(&edit, 0);
    QVERIFY(isBold(header));
    QCOMPARE(foregroundOf(header), QColor(0, 0, 255));
    QCOMPARE(backgroundOf(header), QColor(255, 255, 255));
    QCOMPARE(formatAt(&edit, 3).fontWeight(), header.fontWeight()); // ": " belongs to it
    const QTextCharFormat body = formatAt(&edit, 5);
    QTEST(isBold(body), "bold");
    QTEST(foregroundOf(body), "fore");
    QTEST(backgroundOf(body), "background");
}

void TestRender::chatLimit_data() {
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("after");
    QTest::newRow("2000 stays") << 2000 << QString();
    QTest::newRow("2001 cleared") << 2001 << QStringLiteral("next");
}

void TestRender::chatLimit() {
    QFETCH(int, held);
    QFETCH(QString, after);
    QTextEdit edit;
    render::setupTranscript(&edit);
    // Lines of 49 characters and a line break, which counts as one.
    const QString line = QString(49, QLatin1Char('x')) + QLatin1String("\r\n");
    const QString text = line.repeated(held / 50) + QString(held % 50, QLatin1Char('y'));
    add_text2(&edit, text, QStringLiteral("0"), QStringLiteral("16777215"), false, false, false,
              false, QStringLiteral("Arial"), render::kChatLimit);
    QCOMPARE(render::transcriptLength(&edit), held);
    add_text2(&edit, QStringLiteral("next"), QStringLiteral("0"), QStringLiteral("16777215"), false,
              false, false, false, QStringLiteral("Arial"), render::kChatLimit);
    if (after.isEmpty())
        QCOMPARE(render::transcriptLength(&edit), held + 4);
    else
        QCOMPARE(edit.toPlainText(), after);
}

QTEST_MAIN(TestRender)
#include "tst_render.moc"
