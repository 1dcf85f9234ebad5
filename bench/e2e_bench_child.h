#pragma once
// The child processes of the end-to-end benchmark: e2e_bench runs the
// client program (e2e_bench_client.cpp) in one of these modes, so that each
// child's memory and CPU time are its own. Each mode prints its results on
// stdout, one line.

#include <QString>

namespace e2ebench {

// How the window client takes its flood.
struct WindowFlood {
    // The conversation with the first partner is opened and selected first.
    bool openFirst = false;
    // Once the flood is in, the first partner's tab is selected and the
    // time to its transcript's first paint reported.
    bool openAfter = false;
    // Every line is written to the conversation history too, and "DONE"
    // waits until it is.
    bool keepHistory = true;
};

// The real main window signed on as kClientName to 127.0.0.1:port. Prints
// "READY <peak KiB>" once signed on, "DONE <fields>" once kFloodIms IMs have been
// routed, "RENDERED <lines>" and, with openAfter, "OPENED <ms to first
// paint> <longest event-loop gap ms> <peak KiB>".
int runWindowClient(int argc, char **argv, int port, const WindowFlood &flood);

// The baseline: the protocol control alone, no widgets, same lines.
int runProtocolClient(int argc, char **argv, int port);

// The window at rest, not signed on: 0 the settings page shown, 1 another
// tab selected, 2 minimised, 3 hidden (as in the tray). After a second to
// settle, prints "DONE <CPU ms per second> <timer events per second>"
// measured over kIdleSeconds.
int runIdleWindow(int argc, char **argv, int where);
constexpr int kIdleSeconds = 5;

// The soak: the real window signed on as kClientName takes `bursts` bursts
// of kSoakBurstIms IMs (numbered per partner, soakMessage) and acts as a
// person between them: it brings a conversation to the screen and closes
// some others, each transcript checked first. Prints "READY" once
// signed on; after each burst "BURST <n> <RSS KiB> <CPU ms of the burst>",
// the person's actions done; at the end "END <problems> <first problem>"
// once every transcript left is checked.
int runSoakClient(int argc, char **argv, int port, int bursts);
constexpr int kSoakPartners = 50;
constexpr int kSoakImsPerPartnerAndBurst = 200;
constexpr int kSoakBurstIms = kSoakPartners * kSoakImsPerPartnerAndBurst;
// About 200 characters of HTML, "Soak <seq>" in the text.
inline QString soakMessage(int partner, int seq) {
    return QStringLiteral("<HTML><BODY BGCOLOR=\"#FFFFFF\"><FONT FACE=\"Arial\" SIZE=2 "
                          "COLOR=\"#1040A0\"><B>Soak %1</B> from <I>partner%2</I>: the build "
                          "is green again &amp; the tabs fill up.</FONT></BODY></HTML>")
        .arg(seq, 7, 10, QLatin1Char('0'))
        .arg(partner, 2, 10, QLatin1Char('0'));
}

constexpr char kClientName[] = "floodtarget";
constexpr int kPartners = 20;
constexpr int kImsPerPartner = 1000;
constexpr int kFloodIms = kPartners * kImsPerPartner;

// A child gives up after this long without finishing.
constexpr int kChildTimeoutMs = 240000;

} // namespace e2ebench
