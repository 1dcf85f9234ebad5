#pragma once
// Real main windows signed on to an in-process development server, driven
// only through their widgets.

#include "devserver/devserver.h"
#include "dialogs/frmaddbuddy.h"
#include "guitestkit.h"
#include "protocol/qeltocsock.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QTreeWidget>

inline devserver::ServerOptions e2eOptions() {
    devserver::ServerOptions o;
    o.port = 0;
    o.httpPort = 0;
    o.log = qEnvironmentVariableIsSet("VORKLE_E2E_LOG");
    o.verbose = o.log;
    o.keepAliveSeconds = 0;
    o.floodLimit = 0;
    o.botTypingDelayMs = 10;
    // Sign-ons are what the tests do, not what they measure: cheap hashes.
    o.passwordIterations = 1000;
    o.botReplyDelayMs = 20;
    return o;
}

// One user: a real window and the dialog seam that answers for the user.
struct Client {
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> w;

    Client() {
        frmErr::setSoundEnabled(false);
        w = std::make_unique<frmMain>();
        w->finishBuilding();
        w->setDialogProvider(&dialogs);
        w->show();
    }
    ~Client() { w->setDialogProvider(nullptr); }

    template <typename T> T *find(const char *name) const {
        return w->findChild<T *>(QLatin1String(name));
    }
    template <typename T> static T *in(QWidget *parent, const char *name) {
        return parent->findChild<T *>(QLatin1String(name));
    }

    void click(const char *name) { QTest::mouseClick(find<QWidget>(name), Qt::LeftButton); }
    void type(const char *name, const QString &text) {
        auto *edit = find<QLineEdit>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    bool signOn(quint16 port, const QString &name, const QString &password) {
        type("txtSn", name);
        type("txtPw", password);
        type("txtServer", QStringLiteral("127.0.0.1"));
        type("txtPort", QString::number(port));
        click("cmdLogin");
        return waitUntil([this] { return find<QFrame>("frmLogin")->isHidden(); });
    }

    QTreeWidgetItem *treeItem(const QString &text) const {
        const auto found =
            find<QTreeWidget>("TreeBL")->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }

    int tabIndex(const QString &caption) const {
        for (int i = 0; i < w->Tab1->count(); ++i)
            if (w->tabCaption(i) == caption)
                return i;
        return -1;
    }
    void selectTab(const QString &caption) {
        const int i = tabIndex(caption);
        QVERIFY(i >= 0);
        QTest::mouseClick(w->Tab1, Qt::LeftButton, {}, w->Tab1->tabRect(i).center());
    }

    ctlIM *imView(const QString &partner) const {
        for (ctlIM *v : w->imViews)
            if (v && v->IMUser == partner)
                return v;
        return nullptr;
    }
    ctlChat *chatView(const QString &caption) const {
        for (ctlChat *v : w->chatViews)
            if (v && v->Chatids == caption)
                return v;
        return nullptr;
    }
    static QString transcript(QWidget *view) { return in<QTextEdit>(view, "TEXT")->toPlainText(); }
    // Types a message into a view's input box and presses Enter.
    static void say(QWidget *view, const QString &text) {
        // An IM view takes its partner's name on its start-up timer.
        if (auto *user = in<QLineEdit>(view, "txtuser"))
            QVERIFY(waitUntil([user] { return !user->text().isEmpty(); }));
        auto *box = in<QPlainTextEdit>(view, "txtMsg");
        box->setFocus();
        // What is there (a draft left from an earlier step) is replaced.
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    QString alertText() const {
        frmErr *err = w->alertWindow();
        if (!err || !err->isVisible())
            return QString();
        return err->findChild<QLabel *>(QStringLiteral("txtErr"))->text();
    }

    // For a person to look at: one picture per scenario in the build folder.
    void screenshot(const QString &name) const {
        QDir().mkpath(QStringLiteral("e2e-screenshots"));
        w->grab().save(QStringLiteral("e2e-screenshots/%1.png").arg(name));
    }
};
