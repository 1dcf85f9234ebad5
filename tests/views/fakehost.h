#pragma once
// A window stand-in for view tests: records what a view asks of its host,
// answers modal questions from a script, and can sign a real protocol
// control on to a scripted loopback server for wire checks.

#include "protocol/qeltocsock.h"
#include "scriptedserver.h"
#include "tests/support/headlessdialogs.h"
#include "views/viewhost.h"

#include <QList>
#include <QStringList>
#include <memory>

class ScriptedDialogs : public HeadlessDialogs {
  public:
    QList<Answer> answers; // taken one per question
    QStringList asked;     // "title|text|withCancel"

    void message(QWidget *, const QString &title, const QString &text,
                 std::function<void()> done) override {
        asked << title + QLatin1Char('|') + text;
        if (done)
            done();
    }
    void question(QWidget *, const QString &title, const QString &text, bool withCancel,
                  std::function<void(Answer)> done) override {
        asked << title + QLatin1Char('|') + text + QLatin1Char('|') +
                     (withCancel ? QLatin1String("withCancel") : QLatin1String("noCancel"));
        if (!answers.isEmpty() && done)
            done(answers.takeFirst());
    }
    // Recorded with its buttons: "title|text|yes/no/Cancel".
    void chooseOrCancel(QWidget *, const QString &title, const QString &text,
                        const QString &yesText, const QString &noText,
                        std::function<void(Answer)> done) override {
        asked << title + QLatin1Char('|') + text + QLatin1Char('|') + yesText + QLatin1Char('/') +
                     noText + QLatin1String("/Cancel");
        if (!answers.isEmpty() && done)
            done(answers.takeFirst());
    }
    void inputText(QWidget *, const QString &, const QString &, const QString &,
                   std::function<void(const QString &)> done) override {
        done(QString());
    }
};

class FakeHost : public ViewHost {
  public:
    QelTOCSock toc;
    ScriptedDialogs dialogProvider;
    FormatSettings settings;
    QString ownName = QStringLiteral("me");
    QString iconHostName;  // empty: no icon fetch
    QStringList calls;     // "Errors(text)", "CloseTab(caption)", ...
    Outbox *box = nullptr; // the window's outbox, when a test gives one

    QelTOCSock *tocControl() override { return &toc; }
    DialogProvider *dialogs() override { return &dialogProvider; }
    FormatSettings formatSettings() const override { return settings; }
    QString ownScreenName() const override { return ownName; }
    QString iconHost() const override { return iconHostName; }
    void Errors(const QString &text) override { calls << QStringLiteral("Errors(%1)").arg(text); }
    void CloseTab(const QString &caption) override {
        calls << QStringLiteral("CloseTab(%1)").arg(caption);
    }
    void TabUpdate() override { calls << QStringLiteral("TabUpdate()"); }
    void blockFromView(const QString &name) override {
        calls << QStringLiteral("blockFromView(%1)").arg(name);
    }
    void showAddBuddy() override { calls << QStringLiteral("showAddBuddy()"); }
    Outbox *outbox() override { return box; }

    // Signs toc on to a new scripted server; the server's lines start empty.
    bool signOn() {
        server = std::make_unique<ScriptedServer>();
        toc.Login(QStringLiteral("me"), QStringLiteral("pw"), QStringLiteral("127.0.0.1"),
                  server->port());
        if (!server->acceptSignOn())
            return false;
        server->clearReceived();
        return true;
    }
    // Waits for a marker line, so that every line sent before it has arrived.
    QStringList linesUpToMarker() {
        toc.GetStatus(QStringLiteral("zzmarker"));
        const QString marker = QStringLiteral("toc_get_status \"zzmarker\"");
        if (!server->waitForLine(marker))
            return {QStringLiteral("<marker never arrived>")};
        QStringList lines = server->lines();
        lines.removeAll(marker);
        return lines;
    }

    std::unique_ptr<ScriptedServer> server;
};
