#pragma once
// A line the user sent from a conversation view, through the host's pacer
// (at once when the host has none), and what the view shows of its fate:
// the "sending..." mark while it waits, the "Not sent" line with the typed
// text put back into the box when it did not leave, and the speed-limit
// line when the server refused it after all.

#include "client/sendpacer.h"

#include <QString>
#include <functional>

class QPlainTextEdit;
class QTextEdit;
class QWidget;
class ViewHost;

namespace render {

struct Sending {
    SendPacer::Kind kind = SendPacer::Kind::IM;
    QWidget *view = nullptr; // the pointers below are used while it lives
    QTextEdit *TEXT = nullptr;
    QPlainTextEdit *box = nullptr;
    int limit = -1;
    QString typed; // what goes back into the box
    // Keeps a "Not sent" line for the history (also once the view is gone).
    std::function<void(const QString &)> keepNotSent;
    // A room line is shown by the server's echo; while it waits, or when it
    // was refused, the view shows it itself with this.
    std::function<void()> showLine;
};

// Sends; false when the line could not be sent at once (the "Not sent" line
// is shown and the box keeps its text).
bool sendPaced(ViewHost *host, const Sending &how, std::function<bool()> send);

} // namespace render
