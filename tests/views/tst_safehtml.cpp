// The safe HTML reader on what other clients send: each row is the HTML
// and what the document shows, written as text with its formatted runs in
// brackets: "[b fg=#ff0000|text]". Tokens: b i u s, fg= bg= (colours),
// face=, size= (HTML size 1 to 7), a= (a link's address), img (a picture);
// "^" stands for a break opportunity put into a long word.
#include "views/htmlentities.h"
#include "views/htmlwriter.h"
#include "views/linkaddress.h"
#include "views/safehtml.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

namespace {

QString describe(const QTextCharFormat &f) {
    QStringList d;
    if (f.isImageFormat())
        d << QStringLiteral("img");
    if (f.fontWeight() >= QFont::Bold)
        d << QStringLiteral("b");
    if (f.fontItalic())
        d << QStringLiteral("i");
    if (f.fontUnderline() && !f.isAnchor())
        d << QStringLiteral("u");
    if (f.fontStrikeOut())
        d << QStringLiteral("s");
    const QColor link(0, 0, 0xEE);
    if (f.hasProperty(QTextFormat::ForegroundBrush) && !(f.isAnchor() && f.foreground() == link))
        d << QStringLiteral("fg=") + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        d << QStringLiteral("bg=") + f.background().color().name();
    if (f.hasProperty(QTextFormat::FontFamilies))
        d << QStringLiteral("face=") + f.fontFamilies().toStringList().join(QLatin1Char(','));
    if (f.hasProperty(QTextFormat::FontSizeAdjustment))
        d << QStringLiteral("size=%1").arg(f.intProperty(QTextFormat::FontSizeAdjustment) + 3);
    if (f.isAnchor())
        d << QStringLiteral("a=") + f.anchorHref();
    return d.join(QLatin1Char(' '));
}

// The document as text with its runs of one format in brackets.
QString shown(const QTextDocument &doc) {
    QString out, runText, runFormat;
    const auto endRun = [&] {
        out += runFormat.isEmpty() ? runText : u'[' + runFormat + u'|' + runText + u']';
        runText.clear();
    };
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            runText += u'\n';
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString d = describe(it.fragment().charFormat());
            if (d != runFormat) {
                endRun();
                runFormat = d;
            }
            runText += it.fragment()
                           .text()
                           .replace(QChar(0x200B), u'^')
                           .replace(QChar::LineSeparator, u'\n');
        }
    }
    endRun();
    return out;
}

QString read(const QString &html, const QString &mode) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    render::HtmlOptions options;
    options.kind =
        mode == u"page" ? render::HtmlOptions::Kind::Page : render::HtmlOptions::Kind::Message;
    options.styles = mode != u"plain";
    options.smileys = mode == u"message" || mode == u"plain";
    render::appendHtml(cursor, html, QTextCharFormat(), options);
    // Nothing but text: no frame, table, list or picture came in.
    if (!doc.rootFrame()->childFrames().isEmpty() || doc.begin().textList())
        return QStringLiteral("layout!");
    return shown(doc);
}

QString rep(const char *s, int n) {
    return QString::fromUtf8(s).repeated(n);
}

} // namespace

class TestSafeHtml : public QObject {
    Q_OBJECT

  private slots:
    void reads_data();
    void reads();
    void namedEntitiesAsQtReadsThem();
    void linkToolTip_data();
    void linkToolTip();
};

void TestSafeHtml::reads_data() {
    // message, plain (no styles), typed (no smileys), page
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *name, const char *mode, const QString &html,
                        const QString &shown) {
        QTest::newRow(name) << QString::fromUtf8(mode) << html << shown;
    };
    // What clients send.
    row("old upper case", "message",
        "<HTML><BODY BGCOLOR=\"#ffffff\"><FONT FACE=\"Arial\" COLOR=\"#FF0000\">red "
        "<B>bold</B></FONT></BODY></HTML>",
        "[fg=#ff0000 bg=#ffffff face=Arial|red ][b fg=#ff0000 bg=#ffffff face=Arial|bold]");
    row("only the tagged word", "message", "Tom <B>bold</B> plain", "Tom [b|bold] plain");
    row("nested styles", "message", "<b>a<i>b<u>c</u></i>d</b>e", "[b|a][b i|b][b i u|c][b|d]e");
    row("synonyms", "message", "<strong>1</strong><em>2</em><s>3</s><strike>4</strike>",
        "[b|1][i|2][s|34]");
    row("unclosed runs to the end", "message", "<b>to the end", "[b|to the end]");
    row("an end tag closes what it holds", "message", "<b><i>x</b>y</i>", "[b i|x]y");
    row("single, double, no quotes", "message",
        "<font color='#0000ff'>a</font><font color=\"#0000ff\">b</font><font color=#0000ff>c",
        "[fg=#0000ff|abc]");
    // Entities, decoded once.
    row("entities", "message", "Tom &amp; Jerry &lt;3 &quot;q&quot; &#39;&#x27; &eacute;&euro;",
        "Tom & Jerry <3 \"q\" '' \u00e9\u20ac");
    row("decoded once", "message", "&amp;lt; &amp;amp;", "&lt; &amp;");
    row("no entity", "message", "&bogus; &#0; &#xD800; &#99999999; & &AMP; &Eacute",
        "&bogus; &#0; &#xD800; &#99999999; & & &Eacute");
    row("escaped markup is text", "message", "&lt;b&gt;x&lt;/b&gt;", "<b>x</b>");
    // Colours in every notation.
    row("red is red", "message", "<FONT FACE='Arial' COLOR='#FF0000'>r</FONT>",
        "[fg=#ff0000 face=Arial|r]");
    row("#rrggbb #rgb bare names", "message",
        "<font color=#00AA00>a</font><font color=#0a0>b</font><font color=00aa00>c</font>"
        "<font color=Green>d</font><font color=FUCHSIA>e</font><font color=silver>f</font>",
        "[fg=#00aa00|abc][fg=#008000|d][fg=#ff00ff|e][fg=#c0c0c0|f]");
    row("no colour", "message",
        "<font color=chartreuse>a</font><font color=windowtext>b</font><font color=#12345>c"
        "</font><font color=#ggg>d</font>",
        "abcd");
    row("span style", "message",
        "<span style=\"color: #0000ff; font-weight: bold; font-style: italic; font-size: 90px; "
        "display: block\">x</span><span style='font-weight:700'>y</span><span "
        "style=\"font-weight:normal\">z</span>",
        "[b i fg=#0000ff|x][b|y]z");
    row("body background", "message", "<body bgcolor=yellow>x", "[bg=#ffff00|x]");
    // Text too close to its background: in the default colour, and on the
    // default background when that is too close as well.
    row("unreadable colours", "message",
        "<body bgcolor=white><font color=#fefefe>a</font></body><font color=yellow>b</font>"
        "<body bgcolor=black>c<font color=white>d</font><font color=#111>e</font>",
        "[bg=#ffffff|a]bc[fg=#ffffff bg=#000000|d]e");
    row("face and size", "message",
        "<font face=\"'Courier New', Arial\" size=5>a</font><font size=+1>b</font><font "
        "size=-4>c</font>",
        "[face=Courier New,Arial size=5|a][size=4|b][size=1|c]");
    // Line breaks.
    row("br and p", "message", "a<br>b<BR/>c<p>d</p>e", "a\nb\nc\n\nd\n\ne");
    row("at most one empty line", "message", "<br>a<br><br><br><br>b<br>", "a\n\nb");
    row("CR LF as sent", "message", "one\r\ntwo\nthree", "one\ntwo\nthree");
    // Links.
    row("http anchor", "message", "<a href=\"http://example.com/x?a=1&amp;b=2\">site</a>",
        "[a=http://example.com/x?a=1&b=2|site]");
    row("mailto anchor", "message", "<A HREF='mailto:bob@example.com'>mail</A>",
        "[a=mailto:bob@example.com|mail]");
    row("other schemes are text", "message",
        "<a href=\"javascript:alert(1)\">js</a> <a href=file:///etc/passwd>f</a> <a "
        "href=\"data:text/html,x\">d</a> ftp://example.com xhttp://no",
        "js f d ftp://example.com xhttp://no");
    row("bare addresses", "message", "see http://example.com/a, www.example.org. (https://x.y/z)",
        "see [a=http://example.com/a|http://example.com/a], "
        "[a=http://www.example.org|www.example.org]. ([a=https://x.y/z|https://x.y/z])");
    row("without styles, links stay", "plain",
        "<b><font color=red>x</font></b> <a href=http://a.b>l</a> &amp;", "x [a=http://a.b|l] &");
    // Smileys: emoji where they stand apart, as typed in words and links.
    const auto emoji = [](const char *text) {
        return QStringLiteral("[face=Noto Color Emoji,emoji|%1]").arg(QString::fromUtf8(text));
    };
    row("smileys", "message",
        ":-) :) ;-) ;) :-( :-P :-D :-O 8-) :'( &gt;:o :-/ :-* O:-) :-[ :-! :-$",
        QStringList{emoji("\U0001F642"), emoji("\U0001F642"), emoji("\U0001F609"),
                    emoji("\U0001F609"), emoji("\U0001F641"), emoji("\U0001F61B"),
                    emoji("\U0001F600"), emoji("\U0001F62E"), emoji("\U0001F60E"),
                    emoji("\U0001F622"), emoji("\U0001F620"), emoji("\U0001F615"),
                    emoji("\U0001F618"), emoji("\U0001F607"), emoji("\U0001F633"),
                    emoji("\U0001F62C"), emoji("\U0001F911")}
            .join(u' '));
    row("smileys stand apart", "plain", "(:-)) <b>;)</b>. :-):-) a:)b x:) 18-) NO:-) :-)x a<b>:)",
        "(" + emoji("\U0001F642") + ") " + emoji("\U0001F609") + ". " +
            emoji("\U0001F642\U0001F642") + " a:)b x:) 18-) NO:-) :-)x a:)");
    row("smileys outside links", "message",
        "http://x:) http://a/(:-). <a href=\"http://a.b/:-)\">:-)</a> www.a.b :-)",
        "[a=http://x|http://x]:) [a=http://a/(:-|http://a/(:-]). [a=http://a.b/:-)|:-)] "
        "[a=http://www.a.b|www.a.b] " +
            emoji("\U0001F642"));
    row("smileys as typed", "typed", ":-) 8-)", ":-) 8-)");
    // Hostile markup.
    row("scripts and styles", "message",
        "a<script>alert(\"<b>x</b>\")</script>b<SCRIPT SRC=x></SCRIPT>c<style>p{}</style>d"
        "<title>t</title>e<script>never ends",
        "abcde");
    row("pictures", "message", "a<img src=\"/dev/zero\">b<IMG SRC=file:///dev/zero>c", "abc");
    row("tables and lists", "message",
        "<table><tr><td>a</td><td>b</td></tr></table><ul><li>c</li></ul>", "a b\nc");
    row("unknown tags keep their text", "message", "<blink>x</blink><marquee>y</marquee><q a=1>z",
        "xyz");
    row("comments and declarations", "message", "a<!-- <b>no</b> -->b<!DOCTYPE html>c<?x?>d",
        "abcd");
    row("unclosed tag is text", "message", "a > b <c", "a > b <c");
    row("unclosed quote is text", "message", "x <font color=\"red>hi", "x <font color=\"red>hi");
    row("less-than", "message", "1 < 2 <3 <> </ >", "1 < 2 <3 <> </ >");
    row("controls and bidi escaped", "message",
        "a\u202Eb\x07"
        "c&#x202E;d",
        "a\\u202Eb\\u0007c\\u202Ed");
    row("deeper than 32 flattened", "message", rep("<b>", 40) + "x" + rep("</b>", 40) + "y",
        "[b|x]y");
    row("100,000 unclosed fonts", "message", rep("<font color=#00ff00>", 100000) + "deep",
        "[fg=#00ff00|deep]");
    row("3,500 nested tables", "page",
        rep("<table><tr><td>", 3500) + "deep" + rep("</td></tr></table>", 3500), "deep");
    const int k = html::Writer::kLongWord, e = html::Writer::kBreakEvery;
    row("long word", "message", QString(k + 2 * e + 6, u'x') + u' ' + QString(k, u'y'),
        QString(k, u'x') + u'^' + QString(e, u'x') + u'^' + QString(e, u'x') + u'^' +
            QString(6, u'x') + u' ' + QString(k, u'y'));
    // Past its limit of format changes the text keeps the format then in
    // force (here none); past its limit of characters a mark ends it.
    const QString ab = rep("ab ", 30000);
    const int styled = 3 * html::Writer::kMaxFormats / 2;
    row("4 MiB body", "message", rep("<script>x</script><img src=/dev/zero><b>ab </b>", 100000),
        "[b|" + ab.left(styled) + u']' + ab.mid(styled, html::Writer::kMaxShown - styled) +
            u'\u2026');
    // A profile page.
    row("page", "page",
        "<html><head><title>Bob</title></head><body><h1>Bob</h1>\n<p>Likes   <b>chess</b>\n "
        "and jazz.</p><div>Home:<br> <a href=\"http://example.com/bob\">example.com</a></div>",
        "Bob\n\nLikes [b|chess] and jazz.\n\nHome:\n[a=http://example.com/bob|example.com]");
}

void TestSafeHtml::reads() {
    QFETCH(QString, mode);
    QFETCH(QString, html);
    QTEST(read(html, mode), "shown");
}

// Every named reference reads as Qt's own HTML reader reads it.
void TestSafeHtml::namedEntitiesAsQtReadsThem() {
    QCOMPARE(html::kNamedEntityCount, std::size_t(258));
    for (std::size_t i = 0; i < html::kNamedEntityCount; ++i) {
        const QString ref = QLatin1Char('&') + QLatin1String(html::kNamedEntities[i].name) + u';';
        QTextDocument qt;
        // A trusted text of the test's own; "pre" keeps white space as it is.
        qt.setHtml(QLatin1String("<pre>x") + ref + QLatin1String("</pre>"));
        QCOMPARE(html::decodeEntities(QLatin1String("x") + ref), qt.toRawText());
    }
}

// A link's tooltip: a host in plain Latin letters as it reads, any other
// (a look-alike of a Latin name, mixed scripts, another script) in its
// "xn--" form, marked.
void TestSafeHtml::linkToolTip_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("shown");
    const QString mark =
        QStringLiteral("\n\u26A0 The host is not in plain Latin letters: shown as sent.");
    QTest::newRow("ASCII") << "http://apple.com/a?b=1#c"
                           << "http://apple.com/a?b=1#c";
    QTest::newRow("Cyrillic look-alike") << "http://xn--80ak6aa92e.com/"
                                         << "http://xn--80ak6aa92e.com/" + mark;
    QTest::newRow("the same, written decoded")
        << QString::fromUtf8("https://\u0430\u0440\u0440\u04CF\u0435.com:8080/x")
        << "https://xn--80ak6aa92e.com:8080/x" + mark;
    QTest::newRow("scripts mixed")
        << QString::fromUtf8("http://p\u0430ypal.com/") << "http://xn--pypal-4ve.com/" + mark;
    QTest::newRow("another script") << "http://xn--r8jz45g.jp/"
                                    << "http://xn--r8jz45g.jp/" + mark;
    QTest::newRow("Latin with accents")
        << "http://xn--bcher-kva.example/" << QString::fromUtf8("http://b\u00FCcher.example/");
    QTest::newRow("mailto") << "mailto:bob@xn--80ak6aa92e.com"
                            << "mailto:bob@xn--80ak6aa92e.com" + mark;
    QTest::newRow("no password, IPv6") << "http://u:secret@[::1]:81/"
                                       << "http://u@[::1]:81/";
}

void TestSafeHtml::linkToolTip() {
    QFETCH(QString, href);
    QTEST(render::linkToolTip(href), "shown");
}

QTEST_MAIN(TestSafeHtml)
#include "tst_safehtml.moc"
