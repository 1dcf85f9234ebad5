#include "fontwarmup.h"

#include <dlfcn.h>

namespace {
using FcInitFunction = int (*)();

void loadFontConfiguration() {
    // Qt's GUI library links fontconfig: look it up, never load it anew.
    void *library = dlopen("libfontconfig.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library)
        return;
    if (auto init = reinterpret_cast<FcInitFunction>(dlsym(library, "FcInit")))
        init();
    dlclose(library);
}
} // namespace

FontWarmUp::FontWarmUp() : m_thread(loadFontConfiguration) {}

FontWarmUp::~FontWarmUp() {
    wait();
}

void FontWarmUp::wait() {
    if (m_thread.joinable())
        m_thread.join();
}
