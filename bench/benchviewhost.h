#pragma once
// A window stand-in for benchmarks that drive one view on its own.
#include "views/viewhost.h"

class BenchViewHost : public ViewHost {
  public:
    QString iconHostName; // empty: no buddy-icon fetch

    QelTOCSock *tocControl() override { return nullptr; }
    DialogProvider *dialogs() override { return nullptr; }
    FormatSettings formatSettings() const override { return {}; }
    QString ownScreenName() const override { return QStringLiteral("me"); }
    QString iconHost() const override { return iconHostName; }
    void Errors(const QString &) override {}
    void CloseTab(const QString &) override {}
    void TabUpdate() override {}
    void blockFromView(const QString &) override {}
    void showAddBuddy() override {}
};
