#pragma once
// Window geometry is laid out in twips (1/1440 inch). One conversion, from
// the screen's logical DPI: 15 twips per pixel at 96 DPI.

#include <QRect>

namespace twips {

// Twips per pixel of the primary screen (horizontal, vertical).
double perPixelX();
double perPixelY();

int toPixelsX(int t);
int toPixelsY(int t);
// A rectangle given as left, top, width, height in twips.
QRect rect(int left, int top, int width, int height);

} // namespace twips
