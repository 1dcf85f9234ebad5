#pragma once
// Shared by the GUI tests: a scripted DialogProvider that records every
// question and lets the test answer it, and a signed-on main window.

#include "client/clientsettings.h"
#include "dialogs/frmerr.h"
#include "mainwindow/frmmain.h"
#include "pages/awaypage.h"
#include "pages/awaystrip.h"
#include "pages/buddylistpage.h"
#include "pages/buddymenus.h"
#include "pages/chatimpage.h"
#include "pages/creditspanel.h"
#include "pages/fontpage.h"
#include "pages/loginframe.h"
#include "pages/privacypage.h"
#include "pages/profilepage.h"
#include "pages/settingspanel.h"
#include "scriptedserver.h"
#include "uikit/dialogprovider.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

class ScriptedDialogs : public DialogProvider {
  public:
    struct Call {
        QString kind; // "message", "question", "input", ...
        QString title;
        QString text;
        std::function<void()> done;
        std::function<void(Answer)> answer;
        std::function<void(const QString &)> textDone;
        QString initial = {}; // the default text of an input box
        int serial = 0;       // identifies a message box that can be updated
        std::function<void(bool, const QString &)> edited = {}; // editText's answer
    };

    QList<Call> calls;
    // Answers for the colour, font and file dialogs, taken in order; with
    // none left the dialog is cancelled. An invalid colour, a null font
    // family or an empty path cancels too.
    QList<QColor> colorAnswers;
    QStringList fontAnswers;
    QStringList fileAnswers;

    QStringList texts(const QString &kind) const {
        QStringList out;
        for (const Call &c : calls)
            if (c.kind == kind)
                out << c.text;
        return out;
    }
    // Answers (or acknowledges) the oldest call that is still open.
    void answerNext(Answer a = Answer::Yes) {
        for (Call &c : calls) {
            if (c.done || c.answer || c.textDone) {
                auto done = std::move(c.done);
                auto answer = std::move(c.answer);
                auto textDone = std::move(c.textDone);
                c.done = nullptr;
                c.answer = nullptr;
                c.textDone = nullptr;
                if (done)
                    done();
                if (answer)
                    answer(a);
                if (textDone)
                    textDone(QString());
                return;
            }
        }
    }

    void message(QWidget *, const QString &title, const QString &text,
                 std::function<void()> done) override {
        calls.append({QStringLiteral("message"), title, text, done ? done : [] {}, {}, {}, {}});
    }
    // Like message(); the returned function rewrites the call's text while
    // it is still open (not yet answered).
    TextUpdate updatableMessage(QWidget *parent, const QString &title, const QString &text,
                                std::function<void()> done) override {
        message(parent, title, text, std::move(done));
        const int serial = ++m_serial;
        calls.last().serial = serial;
        return [this, serial](const QString &newText) {
            for (Call &c : calls)
                if (c.serial == serial && c.done)
                    c.text = newText;
        };
    }
    // Message boxes not answered yet.
    int openMessages() const {
        int n = 0;
        for (const Call &c : calls)
            n += c.kind == QLatin1String("message") && c.done ? 1 : 0;
        return n;
    }
    void question(QWidget *, const QString &title, const QString &text, bool,
                  std::function<void(Answer)> done) override {
        calls.append({QStringLiteral("question"), title, text, {}, done, {}, {}});
    }
    void inputText(QWidget *, const QString &title, const QString &prompt, const QString &initial,
                   std::function<void(const QString &)> done) override {
        calls.append({QStringLiteral("input"), title, prompt, {}, {}, done, initial});
    }
    void editText(QWidget *, const QString &title, const QString &prompt, const QString &initial,
                  std::function<void(bool, const QString &)> done) override {
        calls.append({QStringLiteral("edit"), title, prompt, {}, {}, {}, initial, 0, done});
    }
    void pickColor(QWidget *, const QColor &initial,
                   std::function<void(bool, const QColor &)> done) override {
        calls.append({QStringLiteral("color"), {}, initial.name(), {}, {}, {}, {}});
        const QColor c = colorAnswers.isEmpty() ? QColor() : colorAnswers.takeFirst();
        done(c.isValid(), c.isValid() ? c : initial);
    }
    void pickFont(QWidget *, const QFont &initial,
                  std::function<void(bool, const QFont &)> done) override {
        calls.append({QStringLiteral("font"), {}, initial.family(), {}, {}, {}, {}});
        const QString family = fontAnswers.isEmpty() ? QString() : fontAnswers.takeFirst();
        QFont chosen = initial;
        if (!family.isNull())
            chosen.setFamily(family);
        done(!family.isNull(), chosen);
    }
    void saveFileName(QWidget *, const QString &suggested,
                      std::function<void(const QString &)> done) override {
        calls.append({QStringLiteral("save"), {}, suggested, {}, {}, {}, {}});
        done(fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst());
    }
    void openFileName(QWidget *, const QString &folder,
                      std::function<void(const QString &)> done) override {
        calls.append({QStringLiteral("open"), {}, folder, {}, {}, {}, {}});
        done(fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst());
    }

  private:
    int m_serial = 0;
};

// A real main window wired to a scripted server and scripted dialogs.
struct GuiRig {
    ScriptedServer server;
    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> w;

    enum class Build { Whole, AsAtStartUp };
    // Whole: the window completed at once, as most tests want it. As at
    // start-up: left to complete itself, as the program does.
    // A fresh profile unless the test keeps what an earlier window saved
    // (each test program has a config home of its own).
    enum class Profile { Fresh, Kept };
    explicit GuiRig(Build build = Build::Whole, bool shown = true,
                    Profile profile = Profile::Fresh) {
        frmErr::setSoundEnabled(false);
        if (profile == Profile::Fresh)
            QFile::remove(ClientSettings::defaultPath());
        w = std::make_unique<frmMain>();
        if (build == Build::Whole)
            w->finishBuilding();
        w->setDialogProvider(&dialogs);
        if (shown)
            w->show();
    }
    ~GuiRig() {
        if (w)
            w->setDialogProvider(nullptr);
    }

    template <typename T> T *find(const char *name) const {
        return w->findChild<T *>(QLatin1String(name));
    }

    // Fills the login frame and presses "Login".
    void pressLogin(const QString &sn = QStringLiteral("My Name"),
                    const QString &port = QString()) {
        auto *txtSn = find<QLineEdit>("txtSn");
        auto *txtPw = find<QLineEdit>("txtPw");
        auto *txtServer = find<QLineEdit>("txtServer");
        auto *txtPort = find<QLineEdit>("txtPort");
        txtSn->clear();
        QTest::keyClicks(txtSn, sn);
        txtPw->clear();
        QTest::keyClicks(txtPw, QStringLiteral("secret"));
        txtServer->setText(QStringLiteral("127.0.0.1"));
        txtPort->setText(port.isNull() ? QString::number(server.port()) : port);
        QTest::mouseClick(find<QPushButton>("cmdLogin"), Qt::LeftButton);
    }

    // Signs on with a configuration; true once toc_init_done arrived.
    bool signOn(const QString &config, const QString &nick = QString()) {
        pressLogin();
        return server.acceptSignOn(config, nick);
    }
};
