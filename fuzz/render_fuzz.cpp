// The renderer on arbitrary text: the safe HTML reader on a message (with
// and without styles), tag stripping, colour conversions and the runs
// appended to a transcript, and the text as View History shows it. What
// the reader wrote may hold no picture and no link to a scheme other than
// http, https and mailto; no paragraph of the history is longer than its
// bound.
#include "fuzzdocument.h"
#include "protocol/qeltocsock.h"
#include "views/colortext.h"
#include "views/historytext.h"
#include "views/messagescan.h"
#include "views/transcript.h"

#include <QApplication>
#include <QTextEdit>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 3;
    static char name[] = "fuzz_render", opt[] = "-platform", platform[] = "offscreen";
    static char *argv[] = {name, opt, platform, nullptr};
    static QApplication app(argc, argv);
    static QTextEdit *im = [] {
        auto *t = new QTextEdit;
        render::setupTranscript(t);
        return t;
    }();
    static QTextEdit *chat = [] {
        auto *t = new QTextEdit;
        render::setupTranscript(t);
        return t;
    }();

    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString stripped = QelTOCSock::RemoveHtml(text);
    if (stripped.size() > text.size())
        abort();
    render::colorTextToValue(text);
    render::htmlColor(text.left(16));

    render::showMessage(im, QStringLiteral("bob"), text, {true, QTime(12, 34)}, render::kNoLimit);
    render::showMessage(chat, text.left(24), text, {false, QTime()}, render::kChatLimit);
    add_text2(chat, text, text.left(12), text.right(12), true, false, true, false,
              QStringLiteral("Arial"), render::kChatLimit);
    fuzzcheck::onlySafeFormats(im->document());
    fuzzcheck::onlySafeFormats(chat->document());
    // The chat transcript is bounded; the IM one is emptied between inputs
    // so that memory stays flat over a long run.
    if (render::transcriptLength(chat) > render::kChatLimit + 2 * text.size() + 64)
        abort();
    im->clear();
    const QString history = render::historyPageText(
        {HistoryLine::im(QStringLiteral("bob"), false, HistoryLine::Kind::Message, text.left(24),
                         render::plainText(text))});
    for (QStringView paragraph : QStringView(history).split(u'\n'))
        if (paragraph.size() > render::kParagraph)
            abort();
    return 0;
}
