#pragma once
// The child processes of the end-to-end benchmark: the benchmark program
// runs itself again in one of these modes, so that each child's memory and
// CPU time are its own. Each mode prints its results on stdout, one line.

namespace e2ebench {

// The real main window signed on as kClientName to 127.0.0.1:port; with
// openFirst, the conversation with the first partner is opened and
// selected before the flood. Prints "READY <peak KiB>" once signed on and
// "DONE <fields>" once kFloodIms IMs have been routed (and, with
// keepHistory, written to the conversation history).
int runWindowClient(int argc, char **argv, int port, bool openFirst, bool keepHistory);

// The baseline: the protocol control alone, no widgets, same lines.
int runProtocolClient(int argc, char **argv, int port);

// The window at rest, not signed on: 0 the settings page shown, 1 another
// tab selected, 2 minimised, 3 hidden (as in the tray). After a second to
// settle, prints "DONE <CPU ms per second> <timer events per second>"
// measured over kIdleSeconds.
int runIdleWindow(int argc, char **argv, int where);
constexpr int kIdleSeconds = 5;

constexpr char kClientName[] = "floodtarget";
constexpr int kPartners = 20;
constexpr int kImsPerPartner = 1000;
constexpr int kFloodIms = kPartners * kImsPerPartner;
// A child gives up after this long without finishing.
constexpr int kChildTimeoutMs = 240000;

} // namespace e2ebench
