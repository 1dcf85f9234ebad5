#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace twips {

static double dpi(bool horizontal) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    double d = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY())
                      : 96.0;
    return d > 0 ? d : 96.0;
}

double perPixelX() {
    return 1440.0 / dpi(true);
}
double perPixelY() {
    return 1440.0 / dpi(false);
}

int toPixelsX(int t) {
    return int(std::lround(t / perPixelX()));
}
int toPixelsY(int t) {
    return int(std::lround(t / perPixelY()));
}

QRect rect(int left, int top, int width, int height) {
    return QRect(toPixelsX(left), toPixelsY(top), toPixelsX(width), toPixelsY(height));
}

} // namespace twips
