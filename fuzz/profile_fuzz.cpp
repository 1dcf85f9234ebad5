// The profile window on an arbitrary page, as a profile fetch delivers it
// (at most 256 KB): the safe reader in its page mode. The page may leave no
// picture, table, list or resource in the document, whatever it holds.
#include "dialogs/frmprofile.h"
#include "fuzzdocument.h"

#include <QApplication>
#include <QTextEdit>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 3;
    static char name[] = "fuzz_profile", opt[] = "-platform", platform[] = "offscreen";
    static char *argv[] = {name, opt, platform, nullptr};
    // Never destroyed: its teardown at exit would come after the window's.
    static QApplication *app = new QApplication(argc, argv);
    (void)app;
    // Never put on the screen: a window still shown when the static
    // application ends would be torn down after its platform context.
    static frmProfile *profile = [] {
        auto *p = new frmProfile(nullptr);
        p->setAttribute(Qt::WA_DontShowOnScreen);
        return p;
    }();

    const QString page = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    profile->showPage(QUrl(QStringLiteral("http://127.0.0.1/info")), page);
    QTextDocument *doc = profile->page()->document();
    fuzzcheck::onlySafeFormats(doc);
    // Laying the page out is part of showing it.
    doc->setTextWidth(400);
    if (doc->size().height() < 0)
        abort();
    return 0;
}
