// The desktop's idle time from the X11 screen-saver extension. Apart from
// the rest: the X headers define names (KeyPress, ...) that clash with Qt's.
#include "idlesource.h"

#include <QtGlobal>

#ifdef VORKLE_HAVE_XSS
#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>
#endif

namespace {

#ifdef VORKLE_HAVE_XSS
// A display connection of its own: it asks one question every few seconds
// and is independent of the toolkit's platform plugin.
class XssIdleSource : public IdleSource {
  public:
    explicit XssIdleSource(Display *display)
        : m_display(display), m_info(XScreenSaverAllocInfo()) {}
    ~XssIdleSource() override {
        XFree(m_info);
        XCloseDisplay(m_display);
    }
    qint64 idleMs() override {
        if (!XScreenSaverQueryInfo(m_display, DefaultRootWindow(m_display), m_info))
            return 0;
        return qint64(m_info->idle);
    }

  private:
    Display *m_display;
    XScreenSaverInfo *m_info;
};
#endif

} // namespace

std::unique_ptr<IdleSource> desktopIdleSource() {
#ifdef VORKLE_HAVE_XSS
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    int event = 0;
    int error = 0;
    if (!XScreenSaverQueryExtension(display, &event, &error)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<XssIdleSource>(display);
#else
    return nullptr;
#endif
}
