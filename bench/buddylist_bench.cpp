// The buddy list at scale: LoggedIn with a large configuration (also with
// offline buddies shown), then every buddy signing on, beside the same count
// of bare tree insertions.
#include "guibenchmain.h"
#include "mainwindow/frmmain.h"
#include "pages/buddylistpage.h"
#include "pages/buddytree.h"
#include "pages/settingspanel.h"
#include "protocol/qeltocsock.h"

#include <QApplication>
#include <QCheckBox>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kPerGroup = 100;

QString buddyName(int i) {
    return QStringLiteral("Buddy %1").arg(i);
}

QStringList configuration(int buddies) {
    QStringList list;
    for (int i = 0; i < buddies; ++i) {
        if (i % kPerGroup == 0)
            list << QStringLiteral("[group]Group %1").arg(i / kPerGroup);
        list << buddyName(i);
    }
    return list;
}

void signOn(frmMain &w, const QStringList &config) {
    emit w.toc->LoggedIn(QStringLiteral("me"), config, {}, {}, {}, QString(), 1);
}

void BM_LoggedIn(benchmark::State &state) {
    const int n = int(state.range(0));
    const QStringList config = configuration(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmMain>();
        w->finishBuilding();
        state.ResumeTiming();
        signOn(*w, config);
        state.PauseTiming();
        if (w->BuddyListx.count() != n)
            state.SkipWithError("configuration not taken");
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// The same with "Show offline buddies": every known buddy gets its node at
// sign-on.
void BM_LoggedInShowingOffline(benchmark::State &state) {
    const int n = int(state.range(0));
    const QStringList config = configuration(n);
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmMain>();
        w->finishBuilding();
        w->PicLogin->buddyList->chkOffline->setChecked(true);
        state.ResumeTiming();
        signOn(*w, config);
        state.PauseTiming();
        if (!w->PicLogin->buddyList->TreeBL->nodeByKey(buddyName(n - 1)))
            state.SkipWithError("offline buddy not shown");
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Another session (or a hostile server) adds group after group.
void BM_GroupsAdded(benchmark::State &state) {
    const int n = int(state.range(0));
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << QStringLiteral("Added %1").arg(i);
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmMain>();
        w->finishBuilding();
        signOn(*w, configuration(100));
        state.ResumeTiming();
        for (const QString &name : names)
            emit w->toc->GroupAdded(name);
        state.PauseTiming();
        if (w->groups.size() != n + 1)
            state.SkipWithError("groups not added");
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_SignOns(benchmark::State &state) {
    const int n = int(state.range(0));
    const QStringList config = configuration(n);
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << buddyName(i);
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmMain>();
        w->finishBuilding();
        signOn(*w, config);
        state.ResumeTiming();
        for (const QString &name : names)
            emit w->toc->BuddyUpdate(name, true, 0, 0, 0, QStringLiteral(" O"));
        state.PauseTiming();
        if (!w->PicLogin->buddyList->TreeBL->nodeByKey(names.last()))
            state.SkipWithError("buddy not shown");
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

// Every shown buddy goes away, then comes back: the updates servers send
// for buddies already in the tree.
void BM_AwayAndBack(benchmark::State &state) {
    const int n = int(state.range(0));
    const QStringList config = configuration(n);
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << buddyName(i);
    auto w = std::make_unique<frmMain>();
    w->finishBuilding();
    signOn(*w, config);
    for (const QString &name : names)
        emit w->toc->BuddyUpdate(name, true, 0, 0, 0, QStringLiteral(" O "));
    for (auto _ : state) {
        for (const QString &name : names)
            emit w->toc->BuddyUpdate(name, true, 0, 0, 0, QStringLiteral(" OU"));
        for (const QString &name : names)
            emit w->toc->BuddyUpdate(name, true, 0, 0, 0, QStringLiteral(" O "));
    }
    if (w->PicLogin->buddyList->TreeBL->topLevelItem(0)->childCount() != kPerGroup)
        state.SkipWithError("buddies not shown");
    state.SetItemsProcessed(state.iterations() * n * 2);
}

// Baseline: the same nodes put straight into a QTreeWidget.
void BM_BareTreeInsert(benchmark::State &state) {
    const int n = int(state.range(0));
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << buddyName(i);
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = std::make_unique<QTreeWidget>();
        QList<QTreeWidgetItem *> groups;
        for (int g = 0; g * kPerGroup < n; ++g) {
            auto *item = new QTreeWidgetItem(QStringList{QStringLiteral("Group %1").arg(g)});
            tree->addTopLevelItem(item);
            groups << item;
        }
        state.ResumeTiming();
        for (int i = 0; i < n; ++i)
            groups[i / kPerGroup]->addChild(new QTreeWidgetItem(QStringList{names[i]}));
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

} // namespace

BENCHMARK(BM_LoggedIn)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoggedInShowingOffline)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupsAdded)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignOns)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AwayAndBack)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTreeInsert)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
