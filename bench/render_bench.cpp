// Incoming IMs through the IM view's im_msg (scan, tag removal, two
// formatted runs) beside a bare QTextCursor::insertText of the same plain
// text into a read-only QTextEdit, in the same run; and the cost of one
// message early and late in a long transcript.
#include "guibenchmain.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"
#include "views/viewhost.h"

#include <QApplication>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

class BenchHost : public ViewHost {
  public:
    QelTOCSock *tocControl() override { return nullptr; }
    DialogProvider *dialogs() override { return nullptr; }
    FormatSettings formatSettings() const override { return {}; }
    QString ownScreenName() const override { return QStringLiteral("me"); }
    QString iconHost() const override { return QString(); }
    void Errors(const QString &) override {}
    void CloseTab(const QString &) override {}
    void TabUpdate() override {}
    void blockFromView(const QString &) override {}
    void showAddBuddy() override {}
};

constexpr int kMessages = 10000;
const QString kSender = QStringLiteral("buddy");

// About 200 characters, with the tags a typical client sends.
const std::vector<QString> &messages() {
    static const std::vector<QString> all = [] {
        std::vector<QString> out;
        const char *colors[] = {"#0000ff", "#008000", "#800080", "#000000"};
        for (int i = 0; i < 64; ++i) {
            out.push_back(QStringLiteral("<HTML><BODY BGCOLOR=\"#ffffff\"><FONT FACE=\"Arial\" "
                                         "COLOR=\"%1\">%2message %3 about the plans for tonight, "
                                         "&lt;see you&gt; at eight</FONT></BODY></HTML>")
                              .arg(QLatin1String(colors[i % 4]),
                                   i % 3 == 0 ? QStringLiteral("<b>") : QString())
                              .arg(i));
        }
        return out;
    }();
    return all;
}

// What the transcript shows for each message, as one plain text.
const std::vector<QString> &plainTexts() {
    static const std::vector<QString> all = [] {
        std::vector<QString> out;
        for (const QString &m : messages())
            out.push_back(kSender + QLatin1String(": ") + QelTOCSock::RemoveHtml(m) +
                          QLatin1String("\r\n"));
        return out;
    }();
    return all;
}

std::unique_ptr<ctlIM> newView(BenchHost &host) {
    auto view = std::make_unique<ctlIM>(&host);
    view->IMUser = kSender;
    view->resize(480, 360);
    view->show();
    return view;
}

std::unique_ptr<QTextEdit> newEdit() {
    auto edit = std::make_unique<QTextEdit>();
    edit->setReadOnly(true);
    edit->setUndoRedoEnabled(false);
    edit->resize(480, 360);
    edit->show();
    return edit;
}

void BM_ImMsg(benchmark::State &state) {
    BenchHost host;
    auto view = newView(host);
    const auto &all = messages();
    size_t i = 0;
    for (auto _ : state)
        view->im_msg(kSender, all[i++ % all.size()]);
    state.SetItemsProcessed(int64_t(i));
}
BENCHMARK(BM_ImMsg)->Iterations(kMessages)->Unit(benchmark::kMicrosecond);

void BM_BareInsert(benchmark::State &state) {
    auto edit = newEdit();
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    const auto &all = plainTexts();
    size_t i = 0;
    for (auto _ : state)
        cursor.insertText(all[i++ % all.size()]);
    state.SetItemsProcessed(int64_t(i));
}
BENCHMARK(BM_BareInsert)->Iterations(kMessages)->Unit(benchmark::kMicrosecond);

// The cost of messages number `depth` onwards: the transcript is first
// filled with depth - 1 messages, untimed.
void BM_ImMsgAtDepth(benchmark::State &state) {
    BenchHost host;
    auto view = newView(host);
    const auto &all = messages();
    size_t i = 0;
    for (; i + 1 < size_t(state.range(0)); ++i)
        view->im_msg(kSender, all[i % all.size()]);
    for (auto _ : state)
        view->im_msg(kSender, all[i++ % all.size()]);
}
// On a shared machine the fastest repetition is the steadiest figure.
double fastest(const std::vector<double> &v) {
    return v.empty() ? 0.0 : *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_ImMsgAtDepth)
    ->Arg(100)
    ->Arg(10000)
    ->Iterations(200)
    ->Repetitions(9)
    ->ComputeStatistics("min", fastest)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_BareInsertAtDepth(benchmark::State &state) {
    auto edit = newEdit();
    QTextCursor cursor(edit->document());
    cursor.movePosition(QTextCursor::End);
    const auto &all = plainTexts();
    size_t i = 0;
    for (; i + 1 < size_t(state.range(0)); ++i)
        cursor.insertText(all[i % all.size()]);
    for (auto _ : state)
        cursor.insertText(all[i++ % all.size()]);
}
BENCHMARK(BM_BareInsertAtDepth)
    ->Arg(100)
    ->Arg(10000)
    ->Iterations(200)
    ->Repetitions(9)
    ->ComputeStatistics("min", fastest)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
