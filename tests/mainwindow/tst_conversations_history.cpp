// The conversation history as the window keeps it: every line it shows,
// read back in "View History" as plain text and filtered; a history file
// that cannot be used said in the alert.
#include "client/historyfile.h"
#include "client/historyread.h"
#include "client/historystore.h"
#include "dialogs/frmerr.h"
#include "dialogs/frmhistory.h"
#include "pages/buddytree.h"
#include "tst_conversations.h"
#include "views/ctlim.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextEdit>
#include <QTreeWidgetItem>

namespace {
const QString kMe = QStringLiteral("My Name");

QStringList keptLines(const QString &conversation, bool room) {
    QStringList out;
    for (const HistoryLine &l :
         readConversation({history::pathFor(kMe), conversation, room, {}, 100, {}}).lines)
        out << QStringLiteral("%1 %2 %3: %4")
                   .arg(l.outgoing ? "out" : "in")
                   .arg(int(l.kind))
                   .arg(l.sender, l.text);
    return out;
}
} // namespace

void TestConversations::historyKeepsWhatTheWindowShows() {
    frmMain &w = *rig->w;
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(history::pathFor(kMe) + QLatin1String(suffix));
    QVERIFY(rig->signOn(QStringLiteral("g:Friends\nb:Alice\ndone:\n")));
    QVERIFY(receive(QStringLiteral("UPDATE_BUDDY2:Alice:T:0:0:0: O:")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("<b>hi</b> &lt;img src=x&gt;")));
    QVERIFY(receive(QStringLiteral("IM_IN_ENC2:Alice:T:F:T: O:F:L:en:gone fishing")));
    ctlIM *view = w.imViews[1];
    // The conversation marks the automatic answer as the history does.
    QVERIFY(view->findChild<QTextEdit *>(QStringLiteral("TEXT"))
                ->toPlainText()
                .endsWith(QStringLiteral("Alice (auto-response): gone fishing\n")));
    auto *input = view->findChild<QPlainTextEdit *>(QStringLiteral("txtMsg"));
    auto *send = view->findChild<QPushButton *>(QStringLiteral("Command3"));
    input->setPlainText(QStringLiteral("line one\nline two")); // as Shift+Enter leaves it
    QTest::mouseClick(send, Qt::LeftButton);
    input->setPlainText(QString(5000, u'x'));
    QTest::mouseClick(send, Qt::LeftButton);
    QVERIFY(joined(QStringLiteral("Chat 100"), 11));
    QVERIFY(receive(QStringLiteral("CHAT_IN_ENC:11:bob:F:A:en:room line")));
    w.history()->waitForWritten();

    const QStringList alice = keptLines(QStringLiteral("alice"), false);
    QCOMPARE(alice.size(), 4);
    QCOMPARE(alice[0], QStringLiteral("in 0 Alice: <b>hi</b> &lt;img src=x&gt;"));
    QCOMPARE(alice[1], QStringLiteral("in 1 Alice: gone fishing"));
    QVERIFY(alice[2].startsWith(QStringLiteral("out 0 My Name: <")) &&
            alice[2].endsWith("line one<br>line two"));
    QVERIFY(alice[3].startsWith(QStringLiteral("out 2 : Not sent")));
    QCOMPARE(keptLines(QStringLiteral("Chat 100"), true),
             QStringList{QStringLiteral("in 0 bob: room line")});

    // "View History": the lines as plain text, newest at the bottom, a
    // line's own line breaks kept and set in, then only those the filter
    // names, never across a break.
    w.PicLogin->buddyList->TreeBL->nodeByKey(QStringLiteral("Alice"))->setSelected(true);
    w.PicLogin->buddyList->menus->mnuViewHistory->trigger();
    auto *window = w.findChild<frmHistory *>();
    QVERIFY(window);
    QSignalSpy shown(window, &frmHistory::pageShown);
    QVERIFY(shown.wait());
    QStringList lines = window->linesView()->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 5);
    QVERIFY(lines[0].endsWith(QStringLiteral("  Alice: hi <img src=x>")));
    QVERIFY(lines[1].endsWith(QStringLiteral("  Alice (auto-response): gone fishing")));
    QVERIFY(lines[2].endsWith(QStringLiteral("  My Name: line one")));
    QCOMPARE(lines[3], QStringLiteral("    line two"));
    QVERIFY(lines[4].contains(QStringLiteral("Not sent")));
    window->filterField()->setText(QStringLiteral("oneline"));
    QVERIFY(shown.wait());
    QCOMPARE(window->linesView()->toPlainText(), QString());
    window->filterField()->setText(QStringLiteral("IMG SRC"));
    QVERIFY(shown.wait());
    lines = window->linesView()->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines[0].endsWith(QStringLiteral("hi <img src=x>")));
    window->close();

    // Logout closes the file.
    QTest::mouseClick(w.findChild<QLabel *>(QStringLiteral("Label6")), Qt::LeftButton);
    QVERIFY(w.history()->path().isEmpty());
}

void TestConversations::unusableHistoryIsSaid() {
    frmMain &w = *rig->w;
    const QString path = history::pathFor(QStringLiteral("Broken One"));
    QVERIFY(QDir().mkpath(path));
    rig->pressLogin(QStringLiteral("Broken One"));
    QVERIFY(rig->server.acceptSignOn(QStringLiteral("done:\n")));
    QVERIFY(waitUntil([&] { return w.alertWindow() && w.alertWindow()->isVisible(); }));
    QVERIFY(w.alertWindow()->message().startsWith(QStringLiteral("Conversation history is off")));
    QVERIFY(receiveIM(QStringLiteral("Alice"), QStringLiteral("still shown")));
    QVERIFY(transcriptOf(w.imViews[1]).contains(QStringLiteral("still shown")));
    QVERIFY(QFileInfo(path).isDir());
}
