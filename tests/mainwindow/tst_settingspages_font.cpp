// The "font" page, refreshing the conversation views, and the colour
// scheme with its file.
#include "tst_settingspages.h"

#include "uikit/clickfield.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

namespace {
const QColor kSchemeStart(61, 137, 188);

// What SetColors recolours besides the page captions.
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

// The valid colour file with one key's line replaced (or removed).
QByteArray colourFile(const QString &key = QString(), const QString &line = QString()) {
    QString out = QStringLiteral("[VorkleColors]\n");
    for (const char *l :
         {"scheme=#123456", "font=Courier New", "color=#FF0000", "backColor=#0000ff", "bold=1",
          "italic=0", "underline=1", "strikethru=0"}) {
        const QString kept = QLatin1String(l);
        if (key.isEmpty() || !kept.startsWith(key + QLatin1Char('=')))
            out += kept + QLatin1Char('\n');
        else if (!line.isEmpty())
            out += line + QLatin1Char('\n');
    }
    return out.toUtf8();
}
} // namespace

bool TestSettingsPages::openViews() {
    return rig->signOn(QStringLiteral("done:\n")) &&
           receiveIM(QStringLiteral("alice"), QStringLiteral("hi")) &&
           receive(QStringLiteral("CHAT_JOIN:1234:Lobby")) && rig->w->imViews.size() == 2 &&
           rig->w->chatViews.size() == 2 && imView(QStringLiteral("alice"));
}

void TestSettingsPages::choicesRememberedAtNextStart() {
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    frmMain &w = *rig->w;
    const QString port = w.PicLogin->frmLogin->txtPort->text();
    QTest::mouseClick(w.PicLogin->font->chkBold, Qt::LeftButton);
    w.PicLogin->away->chkSaveAway->setChecked(true);
    w.PicLogin->away->txtAway->setPlainText(QStringLiteral("at lunch"));
    QTest::mouseClick(w.PicLogin->away->Command3, Qt::LeftButton);
    w.PicLogin->SetColors(QStringLiteral("255"));

    rig = std::make_unique<GuiRig>(GuiRig::Build::Whole, true, GuiRig::Profile::Kept);
    frmMain &again = *rig->w;
    QCOMPARE(again.PicLogin->frmLogin->txtSn->text(), QStringLiteral("My Name"));
    QCOMPARE(again.PicLogin->frmLogin->txtServer->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(again.PicLogin->frmLogin->txtPort->text(), port);
    QVERIFY(again.PicLogin->font->chkBold->isChecked());
    QVERIFY(again.formatSettings().bold);
    QCOMPARE(
        again.PicLogin->away->lstAway->item(again.PicLogin->away->lstAway->count() - 1)->text(),
        QStringLiteral("at lunch"));
    QCOMPARE(again.PicLogin->schemeColor(), QColor(255, 0, 0));
    QVERIFY(again.PicLogin->frmLogin->txtPw->text().isEmpty()); // never in the settings file
}

void TestSettingsPages::fontPageStartValues() {
    frmMain &w = *rig->w;
    QCOMPARE(w.PicLogin->font->txtFont->text(), QStringLiteral("Arial"));
    QCOMPARE(w.PicLogin->font->txtColor->text(), QStringLiteral("#000000"));
    QCOMPARE(w.PicLogin->font->txtBackColor->text(), QStringLiteral("#FFFFFF"));
    QCOMPARE(w.PicLogin->font->fontColorx, QStringLiteral("0"));
    QCOMPARE(w.PicLogin->font->backColorx, QStringLiteral("16777215"));
    for (QCheckBox *c : {w.PicLogin->font->chkBold, w.PicLogin->font->chkIt, w.PicLogin->font->chkU,
                         w.PicLogin->font->ChkS})
        QVERIFY(!c->isChecked());
    QVERIFY(w.PicLogin->font->chkBold->font().bold() && w.PicLogin->font->chkIt->font().italic() &&
            w.PicLogin->font->chkU->font().underline() &&
            w.PicLogin->font->ChkS->font().strikeOut());
}

void TestSettingsPages::colourChoice_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QColor>("answer");
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("text colour red") << "txtColor" << QColor(255, 0, 0) << "#FF0000"
                                     << "255";
    QTest::newRow("background: chat views only")
        << "txtBackColor" << QColor(0, 0x80, 0xFF) << "#0080FF"
        << "16744448";
}

void TestSettingsPages::colourChoice() {
    QFETCH(QString, field);
    QFETCH(QColor, answer);
    QFETCH(QString, html);
    QFETCH(QString, decimal);
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    const bool text = field == QLatin1String("txtColor");
    // Ticked without a refresh: a view that is refreshed turns bold.
    w.PicLogin->font->chkBold->setChecked(true);
    rig->dialogs.colorAnswers = {answer};
    w.PicLogin->tab2->setCurrentWidget(w.PicLogin->font);
    QTest::mouseClick(w.PicLogin->font->findChild<ClickField *>(field), Qt::LeftButton);
    QCOMPARE((text ? w.PicLogin->font->txtColor : w.PicLogin->font->txtBackColor)->text(), html);
    QCOMPARE(text ? w.PicLogin->font->fontColorx : w.PicLogin->font->backColorx, decimal);

    const QPalette::ColorRole role = text ? QPalette::Text : QPalette::Base;
    for (ctlChat *view : w.chatViews) { // the template included
        QVERIFY(inputOf(view)->font().bold());
        QCOMPARE(inputOf(view)->palette().color(role), answer);
    }
    QPlainTextEdit *imInput = inputOf(imView(QStringLiteral("alice")));
    QCOMPARE(imInput->font().bold(), text);
    QCOMPARE(imInput->palette().color(role), text ? answer : QColor(Qt::white));
    if (!text) { // the IM view takes the background at the next refresh
        QTest::mouseClick(w.PicLogin->font->chkIt, Qt::LeftButton);
        QCOMPARE(imInput->palette().color(QPalette::Base), answer);
    }
}

void TestSettingsPages::changeColorsRecoloursListedWidgets() {
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    QHash<QWidget *, QPalette> before;
    for (QWidget *x : w.findChildren<QWidget *>())
        before.insert(x, x->palette());
    QList<QWidget *> listed{w.PicLogin->tab2->tabBar()};
    for (const QString &name : kSchemeWidgets) {
        QWidget *x = w.findChild<QWidget *>(name);
        QVERIFY2(x && foreOf(x) == kSchemeStart, qPrintable(name));
        listed << x;
    }

    const QColor chosen(0x12, 0x34, 0x56);
    rig->dialogs.colorAnswers = {chosen};
    QTest::mouseClick(w.PicLogin->Command4, Qt::LeftButton);
    for (QWidget *x : std::as_const(listed))
        QVERIFY2(foreOf(x) == chosen && x->palette().color(QPalette::Text) == chosen,
                 qPrintable(x->objectName()));
    // Everything else (away strip, buttons, check boxes, options, profile and
    // entry fields, tree, views) keeps its colours; a listed widget's inner
    // parts follow it.
    const auto insideListed = [&](const QWidget *x) {
        for (const QWidget *l : std::as_const(listed))
            if (l == x || l->isAncestorOf(x))
                return true;
        return false;
    };
    for (QWidget *x : w.findChildren<QWidget *>()) {
        if (insideListed(x))
            continue;
        for (QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            QVERIFY2(x->palette().color(role) == before[x].color(role),
                     qPrintable(x->objectName()));
    }
}

void TestSettingsPages::colourFileRoundTrip() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("mine.ini"));
    {
        frmMain &w = *rig->w;
        rig->dialogs.colorAnswers = {QColor(255, 0, 0), QColor(0, 0, 255),
                                     QColor(0x12, 0x34, 0x56)};
        rig->dialogs.fontAnswers = {QStringLiteral("Courier New")};
        rig->dialogs.fileAnswers = {path};
        QTest::mouseClick(w.PicLogin->font->txtColor, Qt::LeftButton);
        QTest::mouseClick(w.PicLogin->font->txtBackColor, Qt::LeftButton);
        QTest::mouseClick(w.PicLogin->font->txtFont, Qt::LeftButton);
        w.PicLogin->font->chkBold->click();
        w.PicLogin->font->ChkS->click();
        QTest::mouseClick(w.PicLogin->Command4, Qt::LeftButton);
        QTest::mouseClick(w.PicLogin->Command5, Qt::LeftButton);
        // The first dialog opens in the home folder, not where Vorkle started.
        QCOMPARE(rig->dialogs.texts("save"),
                 QStringList{QDir::home().filePath(QStringLiteral("vorkle-colors.ini"))});
        QVERIFY(!w.alertWindow());
    }
    // A new start has the defaults; "Load" brings the scheme back.
    rig = std::make_unique<GuiRig>();
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    rig->dialogs.fileAnswers = {path};
    QTest::mouseClick(w.PicLogin->Command8, Qt::LeftButton);
    QVERIFY(!w.alertWindow());
    // Home first, then the folder last used.
    QTest::mouseClick(w.PicLogin->Command5, Qt::LeftButton);
    QCOMPARE(rig->dialogs.texts("open"), QStringList{QDir::homePath()});
    QCOMPARE(rig->dialogs.texts("save"), QStringList{dir.filePath("vorkle-colors.ini")});
    QCOMPARE(w.PicLogin->font->txtFont->text(), QStringLiteral("Courier New"));
    QCOMPARE(w.PicLogin->font->txtColor->text(), QStringLiteral("#FF0000"));
    QCOMPARE(w.PicLogin->font->fontColorx, QStringLiteral("255"));
    QCOMPARE(w.PicLogin->font->txtBackColor->text(), QStringLiteral("#0000FF"));
    QCOMPARE(w.PicLogin->font->backColorx, QStringLiteral("16711680"));
    QVERIFY(w.PicLogin->font->chkBold->isChecked() && w.PicLogin->font->ChkS->isChecked());
    QVERIFY(!w.PicLogin->font->chkIt->isChecked() && !w.PicLogin->font->chkU->isChecked());
    QCOMPARE(foreOf(w.PicLogin->frmLogin->Label1), QColor(0x12, 0x34, 0x56));
    QCOMPARE(foreOf(w.PicLogin->tab2->tabBar()), QColor(0x12, 0x34, 0x56));
    for (QWidget *view : {static_cast<QWidget *>(w.chatViews[1]),
                          static_cast<QWidget *>(imView(QStringLiteral("alice")))}) {
        QVERIFY(inputOf(view)->font().strikeOut());
        QCOMPARE(inputOf(view)->palette().color(QPalette::Text), QColor(255, 0, 0));
    }
}

void TestSettingsPages::badColourFileChangesNothing_data() {
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::addColumn<bool>("valid");
    QTest::newRow("valid (lower-case hex too)") << colourFile() << true;
    QTest::newRow("colour without #") << colourFile("color", "color=FF0000") << false;
    QTest::newRow("short colour") << colourFile("scheme", "scheme=#12345") << false;
    QTest::newRow("colour not hex") << colourFile("backColor", "backColor=#GG0000") << false;
    QTest::newRow("switch 2") << colourFile("bold", "bold=2") << false;
    QTest::newRow("switch list") << colourFile("underline", "underline=1,1") << false;
    QTest::newRow("missing switch") << colourFile("strikethru") << false;
    QTest::newRow("font breaking the FONT tag") << colourFile("font", "font=<b>Arial") << false;
    QTest::newRow("other group") << colourFile().replace("[VorkleColors]", "[Other]") << false;
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\xfe[[=\n\x00", 9) << false;
    QTest::newRow("huge") << colourFile() + QByteArray(100 * 1024, ' ') << false;
    QTest::newRow("no file") << QByteArray() << false;
}

void TestSettingsPages::badColourFileChangesNothing() {
    QFETCH(QByteArray, content);
    QFETCH(bool, valid);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("colours.ini"));
    if (!content.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(content) == content.size());
    }
    QVERIFY(openViews());
    frmMain &w = *rig->w;
    rig->dialogs.fileAnswers = {path};
    QTest::mouseClick(w.PicLogin->Command8, Qt::LeftButton);
    QCOMPARE(!w.alertWindow(), valid);
    QCOMPARE(w.PicLogin->font->txtBackColor->text(), valid ? "#0000FF" : "#FFFFFF");
    if (valid)
        return;
    QCOMPARE(w.alertWindow()->message(), QStringLiteral("This is not a Vorkle colour file."));
    QCOMPARE(w.PicLogin->font->txtFont->text(), QStringLiteral("Arial"));
    QCOMPARE(w.PicLogin->font->txtColor->text(), QStringLiteral("#000000"));
    QCOMPARE(w.PicLogin->font->fontColorx, QStringLiteral("0"));
    QCOMPARE(w.PicLogin->font->backColorx, QStringLiteral("16777215"));
    QVERIFY(!w.PicLogin->font->chkBold->isChecked());
    QCOMPARE(foreOf(w.PicLogin->frmLogin->Label1), kSchemeStart);
    QVERIFY(!inputOf(w.chatViews[1])->font().bold());
}
