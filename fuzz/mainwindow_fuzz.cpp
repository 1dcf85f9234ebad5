// The server-line path into the real main window: arbitrary bytes, cut into
// arbitrary reads, through the protocol control into frmMain's handlers, so
// that the buddy tree, the tabs and the conversation views meet any event
// sequence. After each input the window logs out, as "Logout" does, and
// checks that it is consistent.
#include "bench/privatehome.h"
#include "dialogs/frmerr.h"
#include "mainwindow/conversationviews.h"
#include "mainwindow/frmmain.h"
#include "protocol/qeltocsock.h"
#include "tests/support/headlessdialogs.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QApplication>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTabBar>
#include <QTextDocument>
#include <QTextEdit>
#include <cstdint>
#include <cstdlib>
#include <deque>

namespace {

// Answers every question at once; message boxes stay open until the input
// has been handled, so the window's one-open-box-per-kind rule is checked.
class FuzzDialogs : public HeadlessDialogs {
  public:
    std::deque<std::function<void()>> open;
    size_t mostOpen = 0;

    void message(QWidget *, const QString &, const QString &, std::function<void()> done) override {
        open.push_back(done ? std::move(done) : [] {});
        mostOpen = std::max(mostOpen, open.size());
    }
    TextUpdate updatableMessage(QWidget *parent, const QString &title, const QString &text,
                                std::function<void()> done) override {
        message(parent, title, text, std::move(done));
        return [this](const QString &t) { lastUpdate = t; };
    }
    void question(QWidget *, const QString &, const QString &, bool,
                  std::function<void(Answer)> done) override {
        done(Answer::Yes);
    }
    void inputText(QWidget *, const QString &, const QString &, const QString &,
                   std::function<void(const QString &)> done) override {
        done(QString());
    }

    // "OK" on every open box, and on the boxes those open in turn.
    void answerAll() {
        for (int guard = 0; !open.empty(); ++guard) {
            if (guard > 64)
                abort(); // a box that keeps opening boxes
            std::function<void()> done = std::move(open.front());
            open.pop_front();
            done();
        }
        mostOpen = 0;
    }

    QString lastUpdate;
};

struct Rig {
    FuzzDialogs dialogs;
    frmMain *w = nullptr;
    int inputs = 0;

    Rig() { fresh(); }
    void fresh() {
        delete w;
        w = new frmMain;
        w->finishBuilding();
        w->setDialogProvider(&dialogs);
        // Not shown: painting is Qt's work and would cost most of the time.
    }
};

Rig &rig() {
    static int argc = 1;
    static char name[] = "fuzz_mainwindow";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
        usePrivateHome();
        frmErr::setSoundEnabled(false);
        // The offscreen platform's warnings ("does not support raise()")
        // would fill the log.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        // A page or icon the input names goes to a proxy that is not there:
        // the fuzzer looks no host up and reaches nothing outside.
        QNetworkProxy::setApplicationProxy(
            QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), 1));
        return new QApplication(argc, argv);
    }();
    (void)app;
    static Rig *r = new Rig;
    return *r;
}

void check(bool ok) {
    if (!ok)
        abort();
}

// The chat view clears its transcript when it holds more than 2000
// characters, so it never holds more than that and one message (a name
// and a text, each at most one frame long).
constexpr int kChatBound = 2000 + 2 * 65536 + 16;

int lengthOf(const QWidget *view) {
    return view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document()->characterCount() - 1;
}

// The open view of a conversation key, or nullptr.
QWidget *viewOf(frmMain *w, const ConversationKey &key) {
    for (ctlIM *v : w->imViews)
        if (v && !v->IMUser.isEmpty() && ConversationViews::keyOf(v) == key)
            return v;
    for (ctlChat *v : w->chatViews)
        if (v && !v->Chatids.isEmpty() && ConversationViews::keyOf(v) == key)
            return v;
    return nullptr;
}

void checkConsistent(frmMain *w) {
    // The templates never carry a conversation.
    check(w->imViews.first()->IMUser.isEmpty());
    check(w->chatViews.first()->Chatids.isEmpty() && w->chatViews.first()->Chatid2.isEmpty());
    // Every conversation tab has its view, and no two tabs one conversation.
    for (int i = 0; i < w->Tab1->count(); ++i) {
        const ConversationKey key = w->Tab1->key(i);
        if (key.isNull())
            continue;
        check(viewOf(w, key) != nullptr);
        check(w->Tab1->conversationIndex(key) == i);
    }
    for (const ctlChat *v : w->chatViews)
        check(!v || lengthOf(v) <= kChatBound);
}

// "OK" on the alert if it is open, then "Close" or "Leave Chat" on the
// conversation of the last tab.
void closeNewest(frmMain *w) {
    if (w->alertWindow() && w->alertWindow()->isVisible())
        w->alertWindow()->close();
    QWidget *view = viewOf(w, w->Tab1->key(w->Tab1->count() - 1));
    if (auto *im = qobject_cast<ctlIM *>(view))
        im->findChild<QPushButton *>(QStringLiteral("Command4"))->click();
    else if (auto *room = qobject_cast<ctlChat *>(view))
        room->findChild<QPushButton *>(QStringLiteral("cmdLeave"))->click();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Rig &r = rig();
    frmMain *w = r.w;
    // Each read: one length byte, then up to that many times 4 plus 1 bytes.
    // A length byte of 0 also has the user close the newest conversation
    // after that read, so server events meet closed views too.
    size_t at = 0;
    while (at < size) {
        const bool close = data[at] == 0;
        const size_t want = size_t(data[at++]) * 4 + 1;
        const size_t take = std::min(want, size - at);
        w->toc->processIncoming(
            QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(take)));
        at += take;
        if (close)
            closeNewest(w);
    }
    // Timers the events started (box updates, views' own timers) run.
    QCoreApplication::processEvents();
    // At most one open box for "buddy added" and one for "group removed".
    check(r.dialogs.mostOpen <= 2);
    r.dialogs.answerAll();
    checkConsistent(w);
    // Select the newest conversation: the panel switch runs over the views.
    if (w->Tab1->count() > 1)
        w->Tab1->setCurrentIndex(w->Tab1->count() - 1);
    if (w->alertWindow())
        w->alertWindow()->close();

    // "Logout", and a clean protocol control: nothing of this input may
    // reach the next one (a port out of range clears without connecting).
    w->toc->Login(QString(), QString(), QString(), -1);
    w->toc->LogOff();
    w->logout();
    check(w->Tab1->count() == 1 && w->tabCaption(0) == QLatin1String("Settings"));
    check(r.dialogs.open.empty());
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // Views stay in their lists for the window's life and the known-buddy
    // list only grows: a new window now and then keeps memory flat.
    if (w->imViews.size() + w->chatViews.size() > 48 || w->BuddyListx.count() > 4000 ||
        ++r.inputs % 2000 == 0)
        r.fresh();
    return 0;
}
