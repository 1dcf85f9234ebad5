// The renderer on arbitrary text: the message scan, tag stripping, colour
// conversion and appending runs to a transcript.
#include "protocol/qeltocsock.h"
#include "views/colortext.h"
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
    const QString rgb = HTML2RGBStr(text.left(16).toLower());
    render::colorTextToValue(rgb);
    render::colorTextToValue(text);

    render::showMessage(im, QStringLiteral("bob"), text,
                        scanMessage(text, render::BackMarker::Spaced), render::kNoLimit);
    render::showMessage(chat, text.left(24), text, scanMessage(text, render::BackMarker::Bare),
                        render::kChatLimit);
    add_text2(chat, text, text.left(12), text.right(12), true, false, true, false,
              QStringLiteral("Arial"), render::kChatLimit);
    // The chat transcript is bounded; the IM one is emptied between inputs
    // so that memory stays flat over a long run.
    if (render::transcriptLength(chat) > render::kChatLimit + 2 * text.size() + 64)
        abort();
    im->clear();
    return 0;
}
