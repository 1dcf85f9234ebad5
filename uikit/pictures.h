#pragma once
// Our own pictures (resources/), drawn sharp at the scale they are shown.
// A widget laid out in twips grows with the logical DPI, and the screen may
// multiply again by its device pixel ratio: a picture is shown at the 1x
// size times logical DPI / 96 (device-independent), with that times the
// ratio in real pixels. Each picture is drawn at 1x, 2x and for some 1.5x
// ("logo@2x.gif"); the nearest drawing at or above the scale is used,
// smoothly shrunk when the scale lies between two, never enlarged from 1x.

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QString>

class QWidget;

namespace pictures {

// Logical DPI / 96 of the screen twips measure on: how much twips grow.
qreal dpiScale();
// The device pixel ratio of `shownOn` (the application's when null).
qreal deviceRatio(const QWidget *shownOn);
// dpiScale() * deviceRatio(shownOn): real pixels per 1x picture pixel.
qreal scale(const QWidget *shownOn);

// The drawing of `path` (":/vorkle/logo.gif") to read for `scale`, and
// the scale it is drawn at.
struct Drawing {
    QString path;
    qreal scale = 1;
};
Drawing drawing(const QString &path, qreal scale);

// A PNG of ours: device-independent size the 1x size times `dpiScale`,
// device pixel ratio `ratio`. Null if the file cannot be read.
QPixmap pixmap(const QString &path, qreal dpiScale, qreal ratio);
QPixmap pixmap(const QString &path, const QWidget *shownOn);

// Every drawing of a PNG, each at its own pixel size: QIcon picks the
// sharp one for the size and ratio it is asked for.
QIcon icon(const QString &path);

// The frames of one of our animated GIFs at a scale, as pixmap() sizes
// them, with the file's timing. No frames if it cannot be read.
struct Frame {
    QImage image;
    int delayMs = 0;
};
struct Animation {
    QList<Frame> frames;
    int loopCount = 0; // QImageReader's: -1 forever
};
Animation animation(const QString &path, qreal dpiScale, qreal ratio);
Animation animation(const QString &path, const QWidget *shownOn);

} // namespace pictures
