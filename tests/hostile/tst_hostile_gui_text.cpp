// Remote text in every place the window shows it: markup shown literally,
// bytes that are not UTF-8 kept one per character.
#include "tst_hostile_gui.h"

#include "dialogs/frmerr.h"
#include "pages/buddytree.h"
#include "protocol/qeltocsock.h"
#include "uikit/shownname.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// What a person sees of a text that Qt shows in the given format: rich
// text is what Qt guesses for AutoText when the text looks like markup.
QString seen(const QString &text, Qt::TextFormat format) {
    const bool rich = format == Qt::RichText ||
                      (format == Qt::AutoText && Qt::mightBeRichText(text)) ||
                      format == Qt::MarkdownText;
    if (!rich)
        return text;
    QTextDocument doc;
    doc.setHtml(text);
    return doc.toPlainText();
}

// A tab caption as drawn: "&&" is one '&', a single '&' marks a mnemonic.
QString seenOnTab(const QString &text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&'))
                out += text.at(++i);
            continue;
        }
        out += text.at(i);
    }
    return out;
}

bool hasImage(const QTextDocument *doc) {
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return true;
    return false;
}

} // namespace

void TestHostileGui::markupShownLiterally_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("bold tags") << "<b>x</b>";
    QTest::newRow("entity") << "&amp;";
    QTest::newRow("image tag") << "<img src=x>";
    QTest::newRow("mnemonic and italic") << "a&b <i>";
}

void TestHostileGui::markupShownLiterally() {
    QFETCH(QString, name);
    frmMain &w = *rig->w;
    const QString group = QStringLiteral("Group ") + name;
    const QString member = QelTOCSock::NormalizeScreenName(name);
    QVERIFY(signOn(QStringLiteral("g:%1\nb:%2\ndone:\n").arg(group, name)));
    QVERIFY(deliver(frame(QStringLiteral("UPDATE_BUDDY2:%1:T:0:0:0: O:").arg(name)) +
                    frame(QStringLiteral("IM_IN_ENC2:%1:F:F:T: O:F:L:en:%1").arg(name)) +
                    frame(QStringLiteral("CLIENT_EVENT2:%1:2").arg(name)) +
                    frame(QStringLiteral("CHAT_JOIN:7:%1").arg(name)) +
                    frame(QStringLiteral("CHAT_UPDATE_BUDDY:7:T:%1").arg(name)) +
                    frame(QStringLiteral("CHAT_IN_ENC:7:%1:F:A:en:&lt;img src=x&gt;").arg(name)) +
                    frame(QStringLiteral("INSERTED2:b:alias:%1:%2").arg(name, group)) +
                    frame(QStringLiteral("ERROR:901:%1").arg(name))));

    // Tab captions: the keys, drawn as written.
    QCOMPARE(tabKeys(), (QStringList{"Settings", name, name + "."}));
    for (int i = 0; i < w.Tab1->count(); ++i)
        QCOMPARE(seenOnTab(w.Tab1->tabText(i)), w.tabCaption(i));

    // The tree: the group and the buddy under it; the buddy's tooltip shows
    // its name as written.
    QTreeWidgetItem *node = w.PicLogin->buddyList->TreeBL->nodeByKey(name);
    QVERIFY(node);
    QCOMPARE(node->text(0), name);
    QCOMPARE(node->parent()->text(0), group);
    QVERIFY(w.PicLogin->buddyList->toolTipOf(node->parent()).isEmpty());
    QTextDocument tip;
    tip.setHtml(w.PicLogin->buddyList->toolTipOf(node));
    QVERIFY(tip.toPlainText().startsWith(shown::name(name) + QStringLiteral("\n")));
    QVERIFY(!hasImage(&tip));

    // The IM view: the sender's name as text; the typing line.
    ctlIM *im = w.imViews.last();
    QCOMPARE(im->IMUser, name);
    QVERIFY(transcriptOf(im).startsWith(name + QStringLiteral(": ")));
    QVERIFY(!hasImage(im->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document()));
    auto *status = im->findChild<QLabel *>(QStringLiteral("labIMstatus"));
    QCOMPARE(seen(status->text(), status->textFormat()), name + QStringLiteral(" is typing..."));

    // The room: member list, its tooltip, and the decoded entities as text.
    ctlChat *room = w.chatViews.last();
    auto *members = room->findChild<QListWidget *>(QStringLiteral("lstPPL"));
    QCOMPARE(members->count(), 1);
    QCOMPARE(members->item(0)->text(), member);
    room->ShowToolTip(members, 0);
    QCOMPARE(seen(members->toolTip(), Qt::AutoText), member);
    QVERIFY(transcriptOf(room).contains(name + QStringLiteral(": <img src=x>")));
    QVERIFY(!hasImage(room->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document()));

    // The boxes and the alert.
    QCOMPARE(rig->dialogs.texts(QStringLiteral("message")), QStringList{name});
    rig->dialogs.answerNext();
    QCOMPARE(rig->dialogs.texts(QStringLiteral("message")), (QStringList{name, group}));
    QLabel *txtErr = w.alertWindow()->txtErr;
    QCOMPARE(seen(txtErr->text(), txtErr->textFormat()),
             name + QStringLiteral(" is not available"));

    // Every label and tooltip of the window that holds the name shows it.
    QList<QWidget *> widgets = w.findChildren<QWidget *>();
    widgets += w.alertWindow()->findChildren<QWidget *>();
    int found = 0;
    for (QWidget *widget : widgets) {
        if (auto *label = qobject_cast<QLabel *>(widget); label && label->text().contains(name)) {
            ++found;
            QVERIFY2(seen(label->text(), label->textFormat()).contains(name),
                     qPrintable(label->objectName()));
        }
        if (widget->toolTip().contains(member))
            QVERIFY2(seen(widget->toolTip(), Qt::AutoText).contains(member),
                     qPrintable(widget->objectName()));
    }
    QVERIFY(found >= 2);
}

// Bytes that are not UTF-8: valid sequences decoded, every other byte one
// character; names keep working as keys in the tabs, views and tree.
void TestHostileGui::invalidUtf8_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("lone high bytes")
        << QByteArray("\xff\xfe") << QString(QChar(0xff)) + QChar(0xfe);
    QTest::newRow("cut sequence") << QByteArray("caf\xc3") << QStringLiteral("caf") + QChar(0xc3);
    QTest::newRow("valid then invalid")
        << QByteArray("caf\xc3\xa9\xff") << QStringLiteral("caf\u00e9") + QChar(0xff);
    QTest::newRow("encoded surrogate")
        << QByteArray("a\xed\xbf\xbfz")
        << QStringLiteral("a") + QChar(0xed) + QChar(0xbf) + QChar(0xbf) + QStringLiteral("z");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString(QChar(0xc0)) + QChar(0xaf);
}

void TestHostileGui::invalidUtf8() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    frmMain &w = *rig->w;
    // The configuration is one line too: its buddy entry carries the bytes.
    rig->pressLogin();
    QVERIFY(rig->server.waitForClient());
    QVERIFY(waitUntil([&] { return rig->server.received().startsWith("FLAPON\n\n"); }));
    rig->server.sendFrame(1, QByteArray::fromRawData("\0\0\0\1", 4));
    QVERIFY(rig->server.waitForLineStartingWith(QStringLiteral("toc2_login ")));
    rig->server.sendFrame(2, "CONFIG2:g:G\nb:" + bytes + "\ndone:\n");
    QVERIFY(rig->server.waitForLine(QStringLiteral("toc_init_done")));

    QVERIFY(deliver(frame("UPDATE_BUDDY2:" + bytes + ":T:0:0:5: O:") +
                    frame("IM_IN_ENC2:" + bytes + ":F:F:T: O:F:L:en:" + bytes) +
                    frame("IM_IN_ENC2:" + bytes + ":F:F:T: O:F:L:en:second") +
                    frame("CHAT_JOIN:3:" + bytes) +
                    frame("CHAT_IN_ENC:3:" + bytes + ":F:A:en:" + bytes)));
    QTreeWidgetItem *node = w.PicLogin->buddyList->TreeBL->nodeByKey(text);
    QVERIFY(node);
    QCOMPARE(BuddyTree::imageOf(node), 2);
    QCOMPARE(tabKeys(), (QStringList{"Settings", text, text + "."}));
    // Both IMs reached one view: the decoded name is a stable key.
    QCOMPARE(w.imViews.size(), 2);
    QCOMPARE(transcriptOf(w.imViews.last()), text + ": " + text + "\n" + text + ": second\n");
    QCOMPARE(transcriptOf(w.chatViews.last()), text + ": " + text + "\n");
    // A reply goes to the name's own bytes, not to their decoded text's UTF-8.
    auto *partner = w.imViews.last()->findChild<QLineEdit *>(QStringLiteral("txtuser"));
    QVERIFY(waitUntil([&] { return partner->text() == text; }));
    w.imViews.last()->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"))->setPlainText("hi\n");
    QVERIFY(waitUntil(
        [&] { return rig->server.received().contains("toc_send_im \"" + bytes + "\" \""); }));
}

// A partner called "Settings" or "Credits" gets a conversation of its own;
// the fixed tabs stay, whatever its view does.
void TestHostileGui::fixedTabNamesAreConversations_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Settings") << "Settings";
    QTest::newRow("Credits") << "Credits";
}

void TestHostileGui::fixedTabNamesAreConversations() {
    QFETCH(QString, name);
    frmMain &w = *rig->w;
    QVERIFY(rig->signOn(QStringLiteral("done:\n")));
    w.Tab1->addFixed(TabStrip::Fixed::Credits);
    QVERIFY(deliver(frame("IM_IN_ENC2:" + name.toUtf8() + ":F:F:T: O:F:L:en:hi")));
    QCOMPARE(w.Tab1->count(), 3);
    w.Tab1->setCurrentIndex(2);
    QVERIFY(w.imViews[1]->isVisible());
    QVERIFY(!w.PicLogin->isVisible() && !w.PicCredits->isVisible());
    w.imViews[1]->findChild<QPushButton *>(QStringLiteral("Command4"))->click();
    QCOMPARE(w.Tab1->count(), 2);
    QVERIFY(w.Tab1->fixedIndex(TabStrip::Fixed::Settings) >= 0);
    QVERIFY(w.Tab1->fixedIndex(TabStrip::Fixed::Credits) >= 0);
    w.Tab1->setCurrentIndex(w.Tab1->fixedIndex(TabStrip::Fixed::Settings));
    QVERIFY(w.PicLogin->isVisible());
}

// Control and bidi characters in a remote name are drawn as escapes, never
// obeyed, and a right-to-left name is isolated inside running text; the
// name as it arrived stays the key and gets the reply. The same bytes as a
// NICK leave the screen-name field, and so the user's own lines, without
// any control.
void TestHostileGui::controlsInNamesShownEscaped_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("alone");  // tab, partner field, tree, member list
    QTest::addColumn<QString>("inText"); // transcripts, status line
    QTest::addColumn<QString>("own");    // txtSn after NICK
    const QString fsi(QChar(0x2068)), pdi(QChar(0x2069));
    QTest::newRow("plain name untouched") << "alice"
                                          << "alice"
                                          << "alice"
                                          << "alice";
    QTest::newRow("reversed sender")
        << QStringLiteral("\u202Eecila\u202C") << QStringLiteral("\\u202Eecila\\u202C")
        << QStringLiteral("\\u202Eecila\\u202C") << "ecila";
    QTest::newRow("reversal left open")
        << QStringLiteral("\u202Eecila") << QStringLiteral("\\u202Eecila")
        << QStringLiteral("\\u202Eecila") << "ecila";
    const QString forged = QStringLiteral("a\x1b"
                                          "b\x07\x08\r\n\t\u202Ez");
    const QString escaped = QStringLiteral("a\\u001Bb\\u0007\\u0008\\u000D\\u000A\\u0009\\u202Ez");
    QTest::newRow("nick with ESC BEL BS CR LF TAB RLO") << forged << escaped << escaped << "abz";
    QTest::newRow("chat sender with CR LF") << "mallory\r\nalice"
                                            << "mallory\\u000D\\u000Aalice"
                                            << "mallory\\u000D\\u000Aalice"
                                            << "malloryalice";
    QTest::newRow("right-to-left name")
        << QStringLiteral("\u05D0\u05D1") << QStringLiteral("\u05D0\u05D1")
        << fsi + QStringLiteral("\u05D0\u05D1") + pdi << QStringLiteral("\u05D0\u05D1");
}

void TestHostileGui::controlsInNamesShownEscaped() {
    QFETCH(QString, name);
    QFETCH(QString, alone);
    QFETCH(QString, inText);
    QFETCH(QString, own);
    frmMain &w = *rig->w;
    QVERIFY(signOn(QStringLiteral("g:G\ndone:\n")));
    QVERIFY(deliver(frame(QStringLiteral("INSERTED2:b:alias:%1:G").arg(name)) +
                    frame(QStringLiteral("UPDATE_BUDDY2:%1:T:0:0:0: O:").arg(name)) +
                    frame(QStringLiteral("IM_IN_ENC2:%1:F:F:T: O:F:L:en:hi").arg(name)) +
                    frame(QStringLiteral("CLIENT_EVENT2:%1:2").arg(name)) +
                    frame("CHAT_JOIN:7:room") +
                    frame(QStringLiteral("CHAT_UPDATE_BUDDY:7:T:%1").arg(name)) +
                    frame(QStringLiteral("CHAT_IN_ENC:7:%1:F:A:en:hi").arg(name)) +
                    frame(QStringLiteral("ERROR:901:%1").arg(name))));
    QCOMPARE(tabKeys(), (QStringList{"Settings", name, "room."}));
    QCOMPARE(w.Tab1->tabText(1), alone);
    auto *delegate =
        qobject_cast<QStyledItemDelegate *>(w.PicLogin->buddyList->TreeBL->itemDelegate());
    QVERIFY(w.PicLogin->buddyList->TreeBL->nodeByKey(name));
    QCOMPARE(
        delegate->displayText(w.PicLogin->buddyList->TreeBL->nodeByKey(name)->text(0), QLocale()),
        alone);
    QCOMPARE(rig->dialogs.texts(QStringLiteral("message")), QStringList{alone});

    ctlIM *im = w.imViews.last();
    auto *partner = im->findChild<QLineEdit *>(QStringLiteral("txtuser"));
    QVERIFY(waitUntil([&] { return partner->text() == alone; }));
    QCOMPARE(im->findChild<QLabel *>(QStringLiteral("labIMstatus"))->text(),
             inText + " is typing...");
    QCOMPARE(w.alertWindow()->message(), alone + " is not available");

    ctlChat *room = w.chatViews.last();
    auto *members = room->findChild<QListWidget *>(QStringLiteral("lstPPL"));
    delegate = qobject_cast<QStyledItemDelegate *>(members->itemDelegate());
    QCOMPARE(delegate->displayText(members->item(0)->text(), QLocale()), alone);
    room->ShowToolTip(members, 0);
    QCOMPARE(members->toolTip(), alone);
    QCOMPARE(transcriptOf(room), inText + " has entered the room.\n" + inText + ": hi\n");

    // The same bytes as the user's own name: no control reaches the field.
    rig->server.sendRaw(frame("NICK:" + name.toUtf8()));
    QVERIFY(waitUntil([&] { return w.PicLogin->frmLogin->txtSn->text() == own; }));
    im->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"))->setPlainText("back\n");
    QVERIFY(waitUntil([&] { return rig->server.received().contains("toc_send_im \""); }));
    QVERIFY(rig->server.received().contains("toc_send_im \"" + name.toUtf8() + "\" \""));
    const QString ownInText = own == name ? inText : own;
    QCOMPARE(transcriptOf(im), inText + ": hi\n" + ownInText + ": back\n");
}
