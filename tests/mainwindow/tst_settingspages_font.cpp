// The "font" page, refreshing the conversation views, and the colour
// scheme with its file.
#include "tst_settingspages.h"

#include "mainwindow/clickfield.h"
#include "mainwindow/clicklabel.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QCheckBox>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {
const QColor kSchemeStart(61, 137, 188);
const QString kNotAColourFile = QStringLiteral("This is not a Vorkle colour file.");

// Every widget SetColors recolours besides the page captions.
const QStringList kSchemeWidgets{
    "labHI",    "labFrm",  "Label4",       "Label5",  "Label20", "lstBlock", "lstAllow",
    "lstAway",  "txtAway", "txtChatName",  "txtEx",   "Label18", "Label17",  "txtFont",
    "txtColor", "Label19", "txtBackColor", "txtIM",   "Label1",  "Label2",   "Label3",
    "txtSn",    "txtPw",   "txtServer",    "txtPort", "labStat"};

QPlainTextEdit *inputOf(const QWidget *view) {
    return view->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
}

QColor foreOf(const QWidget *w) {
    return w->palette().color(QPalette::WindowText);
}

void clickField(QLineEdit *field) {
    QTest::mouseClick(field, Qt::LeftButton);
}

// A colour file: the valid content with one key's line replaced (an empty
// replacement removes the line).
QByteArray colourFile(const QString &key = QString(), const QString &line = QString()) {
    const QStringList lines{"scheme=#123456",    "font=Courier New", "color=#FF0000",
                            "backColor=#0000ff", "bold=1",           "italic=0",
                            "underline=1",       "strikethru=0"};
    QString out = QStringLiteral("[VorkleColors]\n");
    for (const QString &l : lines) {
        if (!key.isEmpty() && l.startsWith(key + QLatin1Char('='))) {
            if (!line.isEmpty())
                out += line + QLatin1Char('\n');
        } else {
            out += l + QLatin1Char('\n');
        }
    }
    return out.toUtf8();
}
} // namespace

bool TestSettingsPages::openViews() {
    if (!rig->signOn(QStringLiteral("done:\n")))
        return false;
    return receiveIM(QStringLiteral("alice"), QStringLiteral("hi")) &&
           receive(QStringLiteral("CHAT_JOIN:1234:Lobby")) && rig->w->imViews.size() == 2 &&
           rig->w->chatViews.size() == 2 && imView(QStringLiteral("alice"));
}

void TestSettingsPages::fontPageStartValues() {
    frmMain &w = *rig->w;
    QCOMPARE(w.txtFont->text(), QStringLiteral("Arial"));
    QCOMPARE(w.txtColor->text(), QStringLiteral("#000000"));
    QCOMPARE(w.txtBackColor->text(), QStringLiteral("#FFFFFF"));
    QCOMPARE(w.fontColorx, QStringLiteral("0"));
    QCOMPARE(w.backColorx, QStringLiteral("16777215"));
    QCOMPARE(w.schemeColor(), QString::number(61 + 137 * 256 + 188 * 65536));
    const QList<QCheckBox *> switches{w.chkBold, w.chkIt, w.chkU, w.ChkS};
    const QStringList captions{"Bold", "Italic", "Underline", "Strikethru"};
    for (int i = 0; i < switches.size(); ++i) {
        QCOMPARE(switches[i]->text(), captions[i]);
        QVERIFY(!switches[i]->isChecked());
    }
    QVERIFY(w.chkBold->font().bold());
    QVERIFY(w.chkIt->font().italic());
    QVERIFY(w.chkU->font().underline());
    QVERIFY(w.ChkS->font().strikeOut());
    const FormatSettings s = w.formatSettings();
    QVERIFY(!s.bold && !s.italic && !s.underline && !s.strikeout);
    QCOMPARE(s.fontFace, QStringLiteral("Arial"));
    QCOMPARE(s.textColorHtml, QStringLiteral("#000000"));
    QCOMPARE(s.backColorHtml, QStringLiteral("#FFFFFF"));
}

void TestSettingsPages::colourChoice_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QColor>("answer"); // invalid: cancelled
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("decimal");
    QTest::addColumn<bool>("imViewsRefreshed");
    QTest::newRow("text colour red") << "txtColor" << QColor(255, 0, 0) << "#FF0000"
                                     << "255" << true;
    QTest::newRow("text colour cancelled") << "txtColor" << QColor() << "#000000"
                                           << "0" << true;
    QTest::newRow("background: chat views only")
        << "txtBackColor" << QColor(0, 0x80, 0xFF) << "#0080FF"
        << "16744448" << false;
    QTest::newRow("background cancelled") << "txtBackColor" << QColor() << "#FFFFFF"
                                          << "16777215" << false;
}

void TestSettingsPages::colourChoice() {
    QFETCH(QString, field);
    QFETCH(QColor, answer);
    QFETCH(QString, html);
    QFETCH(QString, decimal);
    QFETCH(bool, imViewsRefreshed);
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    const bool text = field == QLatin1String("txtColor");
    auto *edit = w.pageFont->findChild<ClickField *>(field);
    QVERIFY(edit);
    QVERIFY(edit->isReadOnly());
    // Ticked without a refresh: a view that is refreshed turns bold.
    w.chkBold->setChecked(true);
    QVERIFY(!inputOf(w.chatViews[1])->font().bold());
    rig->dialogs.colorAnswers = {answer};
    w.tab2->setCurrentWidget(w.pageFont);
    clickField(edit);
    QCOMPARE(rig->dialogs.texts("color"), QStringList{text ? "#000000" : "#ffffff"});
    QCOMPARE(edit->text(), html);
    QCOMPARE(text ? w.fontColorx : w.backColorx, decimal);

    const QColor shown = QColor::fromString(html);
    const QPalette::ColorRole role = text ? QPalette::Text : QPalette::Base;
    // Every chat view, the template included.
    for (ctlChat *view : w.chatViews) {
        QVERIFY(inputOf(view)->font().bold());
        QCOMPARE(inputOf(view)->palette().color(role), shown);
    }
    QPlainTextEdit *imInput = inputOf(imView(QStringLiteral("alice")));
    QCOMPARE(imInput->font().bold(), imViewsRefreshed);
    QCOMPARE(imInput->palette().color(role), imViewsRefreshed ? shown : QColor(Qt::white));
    // The template with no partner ignores every refresh.
    QVERIFY(!inputOf(w.imViews[0])->font().bold());
    if (!text) {
        // The IM view takes the background at the next full refresh.
        QTest::mouseClick(w.chkIt, Qt::LeftButton);
        QCOMPARE(imInput->palette().color(QPalette::Base), shown);
    }
}

void TestSettingsPages::fontChoice_data() {
    QTest::addColumn<QString>("answer"); // null: cancelled
    QTest::addColumn<QString>("face");
    QTest::newRow("a face") << "Courier New"
                            << "Courier New";
    QTest::newRow("one character: unchanged") << "X"
                                              << "Arial";
    QTest::newRow("empty: unchanged") << ""
                                      << "Arial";
    QTest::newRow("cancelled: unchanged") << QString() << "Arial";
    QTest::newRow("a quote would break the FONT tag") << "Evil\" onclick=\"x"
                                                      << "Arial";
}

void TestSettingsPages::fontChoice() {
    QFETCH(QString, answer);
    QFETCH(QString, face);
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    w.chkBold->setChecked(true);
    rig->dialogs.fontAnswers = {answer};
    w.tab2->setCurrentWidget(w.pageFont);
    clickField(w.txtFont);
    QCOMPARE(rig->dialogs.texts("font"), QStringList{"Arial"});
    QCOMPARE(w.txtFont->text(), face);
    QCOMPARE(w.formatSettings().fontFace, face);
    // Refreshed in every case.
    for (QWidget *view :
         {static_cast<QWidget *>(w.chatViews[0]), static_cast<QWidget *>(w.chatViews[1]),
          static_cast<QWidget *>(imView(QStringLiteral("alice")))}) {
        QVERIFY(inputOf(view)->font().bold());
        QCOMPARE(inputOf(view)->font().family(), face);
    }
}

void TestSettingsPages::styleSwitchRefreshesEveryView() {
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    w.tab2->setCurrentWidget(w.pageFont);
    ctlIM *alice = imView(QStringLiteral("alice"));
    const QList<QWidget *> refreshed{w.chatViews[0], w.chatViews[1], alice};
    QTest::mouseClick(w.chkBold, Qt::LeftButton);
    for (QWidget *view : refreshed)
        QVERIFY(inputOf(view)->font().bold());
    QTest::mouseClick(w.chkIt, Qt::LeftButton);
    for (QWidget *view : refreshed)
        QVERIFY(inputOf(view)->font().italic());
    QTest::mouseClick(w.chkU, Qt::LeftButton);
    for (QWidget *view : refreshed)
        QVERIFY(inputOf(view)->font().underline());
    QTest::mouseClick(w.ChkS, Qt::LeftButton);
    for (QWidget *view : refreshed)
        QVERIFY(inputOf(view)->font().strikeOut());
    QTest::mouseClick(w.chkBold, Qt::LeftButton);
    for (QWidget *view : refreshed)
        QVERIFY(!inputOf(view)->font().bold());

    // What the views send is built from the page.
    rig->dialogs.colorAnswers = {QColor(255, 0, 0)};
    clickField(w.txtColor);
    linesSent();
    inputOf(alice)->setPlainText(QStringLiteral("yo"));
    alice->findChild<QPushButton *>(QStringLiteral("Command3"))->click();
    const QStringList sent = linesSent();
    QCOMPARE(sent.size(), 1);
    QVERIFY2(
        sent[0].startsWith(QStringLiteral("toc_send_im \"alice\" \"<i><s><u><FONT FACE=\\\"Arial"
                                          "\\\" COLOR=\\\"#FF0000\\\"><BODY BGCOLOR=\\\"#FFFFFF"
                                          "\\\">yo")),
        qPrintable(sent[0]));
}

void TestSettingsPages::changeColorsRecoloursListedWidgets() {
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    // Before: every widget's colours.
    struct Colours {
        QColor window, text, button;
    };
    QHash<QWidget *, Colours> before;
    const auto colours = [](const QWidget *x) {
        const QPalette p = x->palette();
        return Colours{p.color(QPalette::WindowText), p.color(QPalette::Text),
                       p.color(QPalette::ButtonText)};
    };
    for (QWidget *x : w.findChildren<QWidget *>())
        before.insert(x, colours(x));

    QList<QWidget *> listed;
    for (const QString &name : kSchemeWidgets) {
        QWidget *x = w.findChild<QWidget *>(name);
        QVERIFY2(x, qPrintable(name));
        QCOMPARE(foreOf(x), kSchemeStart);
        listed << x;
    }
    listed << w.tab2->tabBar();

    // Cancelled: the current colour again, nothing changes.
    QTest::mouseClick(w.Command4, Qt::LeftButton);
    for (QWidget *x : w.findChildren<QWidget *>())
        QVERIFY2(colours(x).window == before[x].window && colours(x).text == before[x].text,
                 qPrintable(x->objectName()));

    const QColor chosen(0x12, 0x34, 0x56);
    rig->dialogs.colorAnswers = {chosen};
    QTest::mouseClick(w.Command4, Qt::LeftButton);
    QCOMPARE(rig->dialogs.texts("color").last(), kSchemeStart.name());
    QCOMPARE(w.schemeColor(), QString::number(0x563412));
    for (QWidget *x : std::as_const(listed)) {
        QCOMPARE(colours(x).window, chosen);
        QCOMPARE(colours(x).text, chosen);
    }
    // Everything else keeps its colours: away strip, buttons, check boxes,
    // option buttons, the profile and entry fields, the tree, the views...
    // (the inner parts of a listed widget follow it).
    const auto insideListed = [&](const QWidget *x) {
        for (const QWidget *l : std::as_const(listed))
            if (l == x || l->isAncestorOf(x))
                return true;
        return false;
    };
    int kept = 0;
    for (QWidget *x : w.findChildren<QWidget *>()) {
        if (insideListed(x))
            continue;
        ++kept;
        const Colours now = colours(x);
        QVERIFY2(now.window == before[x].window && now.text == before[x].text &&
                     now.button == before[x].button,
                 qPrintable(x->objectName()));
    }
    QVERIFY(kept > 50);
    for (QWidget *x : {static_cast<QWidget *>(w.txtProfile), static_cast<QWidget *>(w.Label21),
                       static_cast<QWidget *>(w.optPrivacy[0]), static_cast<QWidget *>(w.Label24)})
        QVERIFY(!insideListed(x));
}

void TestSettingsPages::colourFileRoundTrip() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mine.ini"));
    {
        frmMain &w = *rig->w;
        w.tab2->setCurrentWidget(w.pageFont);
        rig->dialogs.colorAnswers = {QColor(255, 0, 0), QColor(0, 0, 255),
                                     QColor(0x12, 0x34, 0x56)};
        rig->dialogs.fontAnswers = {QStringLiteral("Courier New")};
        clickField(w.txtColor);
        clickField(w.txtBackColor);
        clickField(w.txtFont);
        QTest::mouseClick(w.chkBold, Qt::LeftButton);
        QTest::mouseClick(w.ChkS, Qt::LeftButton);
        QTest::mouseClick(w.Command4, Qt::LeftButton);
        rig->dialogs.fileAnswers = {path};
        QTest::mouseClick(w.Command5, Qt::LeftButton);
        QCOMPARE(rig->dialogs.texts("save"), QStringList{"vorkle-colors.ini"});
        QVERIFY(!w.alertWindow());
    }
    QSettings file(path, QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("VorkleColors/color")).toString(),
             QStringLiteral("#FF0000"));
    QCOMPARE(file.value(QStringLiteral("VorkleColors/strikethru")).toString(), QStringLiteral("1"));

    // A new start has the defaults; "Load" brings the scheme back.
    rig = std::make_unique<GuiRig>();
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    QCOMPARE(w.txtFont->text(), QStringLiteral("Arial"));
    rig->dialogs.fileAnswers = {path};
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    QVERIFY(!w.alertWindow());
    QCOMPARE(w.txtFont->text(), QStringLiteral("Courier New"));
    QCOMPARE(w.txtColor->text(), QStringLiteral("#FF0000"));
    QCOMPARE(w.fontColorx, QStringLiteral("255"));
    QCOMPARE(w.txtBackColor->text(), QStringLiteral("#0000FF"));
    QCOMPARE(w.backColorx, QStringLiteral("16711680"));
    QVERIFY(w.chkBold->isChecked() && w.ChkS->isChecked());
    QVERIFY(!w.chkIt->isChecked() && !w.chkU->isChecked());
    QCOMPARE(foreOf(w.Label1), QColor(0x12, 0x34, 0x56));
    QCOMPARE(foreOf(w.tab2->tabBar()), QColor(0x12, 0x34, 0x56));
    // Views refreshed, both kinds.
    for (QWidget *view : {static_cast<QWidget *>(w.chatViews[1]),
                          static_cast<QWidget *>(imView(QStringLiteral("alice")))}) {
        QVERIFY(inputOf(view)->font().bold());
        QCOMPARE(inputOf(view)->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(inputOf(view)->palette().color(QPalette::Base), QColor(0, 0, 255));
    }
}

void TestSettingsPages::badColourFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid (lower-case hex accepted)") << colourFile() << true;
    QTest::newRow("colour without #") << colourFile("color", "color=FF0000") << false;
    QTest::newRow("short colour") << colourFile("color", "color=#FF000") << false;
    QTest::newRow("long colour") << colourFile("scheme", "scheme=#1234567") << false;
    QTest::newRow("colour not hex") << colourFile("backColor", "backColor=#GG0000") << false;
    QTest::newRow("colour name") << colourFile("scheme", "scheme=red") << false;
    QTest::newRow("switch 2") << colourFile("bold", "bold=2") << false;
    QTest::newRow("switch yes") << colourFile("italic", "italic=yes") << false;
    QTest::newRow("switch list") << colourFile("underline", "underline=1,1") << false;
    QTest::newRow("missing switch") << colourFile("strikethru") << false;
    QTest::newRow("missing font") << colourFile("font") << false;
    QTest::newRow("font breaking the tag") << colourFile("font", "font=A<b>") << false;
    QTest::newRow("other group") << colourFile().replace("[VorkleColors]", "[Other]") << false;
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe[[=\n\x00", 9) << false;
    QTest::newRow("empty") << QByteArray("") << false;
    QTest::newRow("huge") << colourFile() + QByteArray(100 * 1024, ' ') << false;
    QTest::newRow("no file") << QByteArray() << false;
}

void TestSettingsPages::badColourFileChangesNothing() {
    QFETCH(QByteArray, content);
    QFETCH(bool, valid);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("colours.ini"));
    if (!content.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(content), content.size());
    }
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    rig->dialogs.fileAnswers = {path};
    QTest::mouseClick(w.Command8, Qt::LeftButton);
    QCOMPARE(rig->dialogs.texts("open").size(), 1);
    if (valid) {
        QVERIFY(!w.alertWindow());
        QCOMPARE(w.txtBackColor->text(), QStringLiteral("#0000FF"));
        QCOMPARE(foreOf(w.Label1), QColor(0x12, 0x34, 0x56));
        QVERIFY(inputOf(w.chatViews[1])->font().bold());
        return;
    }
    QVERIFY(w.alertWindow());
    QCOMPARE(w.alertWindow()->message(), kNotAColourFile);
    QCOMPARE(w.txtFont->text(), QStringLiteral("Arial"));
    QCOMPARE(w.txtColor->text(), QStringLiteral("#000000"));
    QCOMPARE(w.txtBackColor->text(), QStringLiteral("#FFFFFF"));
    QCOMPARE(w.fontColorx, QStringLiteral("0"));
    QCOMPARE(w.backColorx, QStringLiteral("16777215"));
    for (QCheckBox *c : {w.chkBold, w.chkIt, w.chkU, w.ChkS})
        QVERIFY(!c->isChecked());
    QCOMPARE(foreOf(w.Label1), kSchemeStart);
    QPlainTextEdit *chatInput = inputOf(w.chatViews[1]);
    QVERIFY(!chatInput->font().bold());
    QCOMPARE(chatInput->font().family(), QStringLiteral("Arial"));
}
