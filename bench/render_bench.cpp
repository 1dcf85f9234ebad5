// Incoming IMs through the IM view's im_msg (the safe HTML reader, runs in
// their own formats) beside a bare QTextCursor::insertText of the same plain
// text into a read-only QTextEdit, in the same run; the cost of one message
// early and late in a long transcript; and hostile bodies (4 MiB of mixed
// markup, a 60,000-character word) shown and laid out in a conversation on
// screen, beside the bare insertion and layout of what they show. Profile
// pages of many styled runs shown in the profile window, the first time and
// again while it is open, beside the same page shown as one IM.
#include "dialogs/frmprofile.h"
#include "guibenchmain.h"
#include "protocol/qeltocsock.h"
#include "views/ctlim.h"
#include "views/viewhost.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <array>
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

// 4 MiB of what a hostile peer may send: scripts, pictures, deep tables,
// styles, entities, links and long words, over and over (case 0: more text
// than a message shows); the same markup around one character each time
// (case 2: the whole body is read); and a 60,000-character word (case 1).
QString repeatedTo4MiB(const QString &piece) {
    QString all;
    for (int i = 0; all.size() < 4 * 1024 * 1024; ++i)
        all += piece.arg(QString(1 + i % 50, QLatin1Char('w')));
    return all;
}

const QString &hostileBody(int kind) {
    static const QString markup = QStringLiteral(
        "<script>alert('x')</script><img src=\"/dev/zero\"><table><tr><td><ul><li><div>"
        "<b><i><font color=#ff0000 face=\"Arial\" size=7><span style=\"color:#00f;"
        "font-weight:bold\">%1</span></font></i></b><a href=\"http://example.com/a?b=1\">&amp;</a>"
        "<!-- comment --><style>p{}</style><blink><p></p><br>");
    static const QString bodies[] = {
        repeatedTo4MiB(markup.arg(QStringLiteral("styled &amp; &#x27;quoted&#39; &eacute; "
                                                 "www.example.org %1 %1%1%1%1"))),
        QString(60000, QLatin1Char('w')),
        repeatedTo4MiB(markup.arg(QStringLiteral("%1")).replace(QStringLiteral("%1"), QString())),
    };
    return bodies[kind];
}

// Shows body in a fresh conversation on screen and lays it out at once, as
// the window's next paint would.
void showAndLayOut(BenchHost &host, const QString &body) {
    auto view = newView(host);
    auto *text = view->findChild<QTextEdit *>(QStringLiteral("TEXT"));
    view->im_msg(kSender, body);
    text->document()->documentLayout()->documentSize();
    text->viewport()->repaint();
}

void BM_HostileBody(benchmark::State &state) {
    BenchHost host;
    const QString &body = hostileBody(int(state.range(0)));
    for (auto _ : state)
        showAndLayOut(host, body);
    state.SetBytesProcessed(int64_t(state.iterations()) * body.size() * 2);
}
BENCHMARK(BM_HostileBody)
    ->ArgName("body")
    ->DenseRange(0, 2)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The baseline: what the reader shows of the same bodies, inserted as one
// plain text without the reader's break opportunities (as a transcript held
// long words before) and laid out.
void BM_HostileBodyShownText(benchmark::State &state) {
    BenchHost host;
    const QString &body = hostileBody(int(state.range(0)));
    QString shown;
    {
        auto view = newView(host);
        view->im_msg(kSender, body);
        shown = view->findChild<QTextEdit *>(QStringLiteral("TEXT"))->document()->toRawText();
    }
    shown.remove(QChar(0x200B));
    for (auto _ : state) {
        auto edit = newEdit();
        QTextCursor(edit->document()).insertText(shown);
        edit->document()->documentLayout()->documentSize();
        edit->viewport()->repaint();
    }
}
BENCHMARK(BM_HostileBodyShownText)
    ->ArgName("body")
    ->DenseRange(0, 2)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// Profile pages of up to 64 KB: 1,000 short styled runs (17 KB, case 0),
// 64 KB of them (case 1), 64 KB of runs on lines of their own with links
// (case 2), 64 KB of plain words (case 3).
const QString &profilePage(int kind) {
    static const std::array<QString, 4> pages = [] {
        const QString runs[] = {
            QStringLiteral("<b>a run %1</b> "),
            QStringLiteral("<i>x%1</i><font color=#%2>y</font><u>z</u> "),
            QStringLiteral("<font color=#%2 size=4>line %1</font> <a href=\"http://example.com/"
                           "%1\">link</a><br>"),
            QStringLiteral("plain words %1 "),
        };
        std::array<QString, 4> out;
        for (int k = 0; k < 4; ++k) {
            for (int i = 0; k == 0 ? i < 1000 : out[k].size() < 64 * 1024 - 64; ++i) {
                const QString color = QString::number(i * 7919 % 0xFFFFFF, 16);
                out[k] += QString(runs[k])
                              .replace(QLatin1String("%1"), QString::number(i))
                              .replace(QLatin1String("%2"), color.rightJustified(6, u'0'));
            }
        }
        return out;
    }();
    return pages[size_t(kind)];
}

// A page laid out and painted, as the window's next paint would.
void layOut(QTextEdit *text) {
    text->document()->documentLayout()->documentSize();
    text->viewport()->repaint();
}

// Shows the page in a profile window: each time a new window (view 0), or
// again in the window still open with it (view 1).
void BM_ProfilePage(benchmark::State &state) {
    const QString &page = profilePage(int(state.range(0)));
    const bool again = state.range(1) == 1;
    const QUrl url(QStringLiteral("http://127.0.0.1/info"));
    std::unique_ptr<frmProfile> profile;
    for (auto _ : state) {
        state.PauseTiming();
        if (!again || !profile) {
            profile = std::make_unique<frmProfile>(nullptr);
            if (again) {
                profile->showPage(url, page);
                layOut(profile->page());
            }
        }
        state.ResumeTiming();
        profile->showPage(url, page);
        layOut(profile->page());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
}
BENCHMARK(BM_ProfilePage)
    ->ArgNames({"page", "view"})
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1}})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// The baseline: the same page as the body of one IM in a conversation on
// screen, through the IM path.
void BM_ProfilePageAsIm(benchmark::State &state) {
    BenchHost host;
    const QString &page = profilePage(int(state.range(0)));
    for (auto _ : state)
        showAndLayOut(host, page);
    state.SetBytesProcessed(int64_t(state.iterations()) * page.size());
}
BENCHMARK(BM_ProfilePageAsIm)
    ->ArgName("page")
    ->DenseRange(0, 3)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return runWidgetBenchmarks(argc, argv);
}
