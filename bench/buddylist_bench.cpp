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

// Times `work` on a new, complete window per iteration; making the window,
// `prepare` and `check` (an error text, or nullptr) are not timed.
template <typename Prepare, typename Work, typename Check>
void onFreshWindows(benchmark::State &state, int items, Prepare prepare, Work work, Check check) {
    for (auto _ : state) {
        state.PauseTiming();
        auto w = std::make_unique<frmMain>();
        w->finishBuilding();
        // Off unless the case asks for it: the choice is remembered.
        w->PicLogin->buddyList->chkOffline->setChecked(false);
        prepare(*w);
        state.ResumeTiming();
        work(*w);
        state.PauseTiming();
        if (const char *error = check(*w))
            state.SkipWithError(error);
        w.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * items);
}

// Arguments: the number of buddies, and 1 for "Show offline buddies"
// (every known buddy gets its node at sign-on).
void BM_LoggedIn(benchmark::State &state) {
    const int n = int(state.range(0));
    const bool offline = state.range(1) != 0;
    const QStringList config = configuration(n);
    onFreshWindows(
        state, n,
        [offline](frmMain &w) {
            if (offline)
                w.PicLogin->buddyList->chkOffline->setChecked(true);
        },
        [&config](frmMain &w) { signOn(w, config); },
        [n, offline](frmMain &w) -> const char * {
            if (w.BuddyListx.count() != n)
                return "configuration not taken";
            if (offline && !w.PicLogin->buddyList->TreeBL->nodeByKey(buddyName(n - 1)))
                return "offline buddy not shown";
            return nullptr;
        });
}

// Another session (or a hostile server) adds group after group.
void BM_GroupsAdded(benchmark::State &state) {
    const int n = int(state.range(0));
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << QStringLiteral("Added %1").arg(i);
    onFreshWindows(
        state, n, [](frmMain &w) { signOn(w, configuration(100)); },
        [&names](frmMain &w) {
            for (const QString &name : names)
                emit w.toc->GroupAdded(name);
        },
        [n](frmMain &w) { return w.groups.size() == n + 1 ? nullptr : "groups not added"; });
}

void BM_SignOns(benchmark::State &state) {
    const int n = int(state.range(0));
    const QStringList config = configuration(n);
    QStringList names;
    for (int i = 0; i < n; ++i)
        names << buddyName(i);
    onFreshWindows(
        state, n, [&config](frmMain &w) { signOn(w, config); },
        [&names](frmMain &w) {
            for (const QString &name : names)
                emit w.toc->BuddyUpdate(name, true, 0, 0, 0, QStringLiteral(" O"));
        },
        [&names](frmMain &w) {
            return w.PicLogin->buddyList->TreeBL->nodeByKey(names.last()) ? nullptr
                                                                          : "buddy not shown";
        });
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
    w->PicLogin->buddyList->chkOffline->setChecked(false);
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

BENCHMARK(BM_LoggedIn)
    ->Args({5000, 0})
    ->Args({50000, 0})
    ->Args({20000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupsAdded)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SignOns)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AwayAndBack)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTreeInsert)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
