#pragma once
// Whether the desktop's tray is a StatusNotifier host on the session bus.
// Qt then hands a tray icon's messages to the desktop's notification
// service, which may read their text as markup; the tray Qt draws itself
// (an X11 system tray) shows the text as it is. Qt asks once, when the
// process makes its first tray icon, and so does this.

namespace statusnotifier {
bool trayReadsMarkup();
} // namespace statusnotifier
