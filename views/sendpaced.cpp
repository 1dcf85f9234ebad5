#include "sendpaced.h"

#include "client/notsenttext.h"
#include "client/outbox.h"
#include "inputbox.h"
#include "notsent.h"
#include "pendingmark.h"
#include "viewhost.h"

#include <QPointer>
#include <QTextEdit>
#include <memory>

namespace render {

bool sendPaced(ViewHost *host, const Sending &how, std::function<bool()> send) {
    using Outcome = SendPacer::Outcome;
    auto pending = std::make_shared<PendingMark>();
    const QPointer<QWidget> view(how.view);
    const auto notSent = [view, how, pending](const QString &text) {
        if (!view) {
            how.keepNotSent(text);
            return;
        }
        how.keepNotSent(pendingNotSent(how.TEXT, *pending, text, how.limit));
        putBack(how.box, how.typed);
    };
    SendPacer::Line line;
    line.kind = how.kind;
    line.send = std::move(send);
    line.settled = [host, view, pending, notSent](Outcome outcome) {
        if (outcome == Outcome::Sent) {
            if (view)
                clearPending(*pending);
            return;
        }
        // notSentText(nullptr): the offline text.
        notSent(notSentText(outcome == Outcome::Dropped ? nullptr : host->tocControl()));
    };
    line.refused = [view, how, notSent] {
        if (view && how.showLine)
            how.showLine();
        notSent(speedLimitText());
    };
    Outbox *outbox = host->outbox();
    switch (SendPacer::submitTo(outbox ? outbox->pacer : nullptr, std::move(line))) {
    case SendPacer::Submitted::Left:
        return true;
    case SendPacer::Submitted::Failed:
        how.keepNotSent(showNotSent(how.TEXT, host->tocControl(), how.limit));
        return false;
    case SendPacer::Submitted::Waits:
        break;
    }
    QTextCursor from;
    if (how.showLine) {
        from = appendPoint(how.TEXT);
        how.showLine();
    }
    *pending = showSending(how.TEXT, from, how.limit);
    return true;
}

} // namespace render
