#include "pictures.h"

#include "twips.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QWidget>

namespace pictures {

namespace {

// The scales resources/make-resources.sh draws at, smallest first. Every
// picture has 1x; the others only where the file is there.
constexpr qreal kDrawnAt[] = {1.0, 1.5, 2.0};

// ":/vorkle/logo.gif" at 2 -> ":/vorkle/logo@2x.gif" (Qt's convention).
QString fileAt(const QString &path, qreal s) {
    if (s == 1.0)
        return path;
    qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        dot = path.size();
    return path.left(dot) + QLatin1Char('@') + QString::number(s) + QLatin1Char('x') +
           path.mid(dot);
}

bool hasDrawing(const QString &path, qreal s) {
    return s == 1.0 || QFile::exists(fileAt(path, s));
}

// Read with the format its name gives: asking every image plugin to
// recognise the file would load them all, which costs more than the first
// paint of the window.
QByteArray formatOf(const QString &file) {
    return file.section(QLatin1Char('.'), -1).toLower().toLatin1();
}

QImage readOne(const QString &file) {
    QImageReader reader(file, formatOf(file));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

// A drawing made at `drawnAt`, sized as a widget laid out in twips expects
// it: the 1x size times dpiScale (rounded as twips round), times the ratio
// in real pixels. Resized smoothly where the drawing is not that size.
QImage shownAt(QImage image, qreal drawnAt, qreal dpiScale, qreal ratio) {
    const QSizeF base = QSizeF(image.size()) / drawnAt;
    const QSize shown(qRound(base.width() * dpiScale), qRound(base.height() * dpiScale));
    const QSize pixels(qRound(shown.width() * ratio), qRound(shown.height() * ratio));
    if (image.size() != pixels && !pixels.isEmpty()) {
        // 32 bits for the averaging scaler; and at ratio 1 while scaling:
        // Qt 6.4 crashes smoothing a "@2x" palette image.
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
        image.setDevicePixelRatio(1.0);
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

} // namespace

qreal dpiScale() {
    return 15.0 / twips::perPixelX();
}

qreal deviceRatio(const QWidget *shownOn) {
    if (shownOn)
        return shownOn->devicePixelRatio();
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

qreal scale(const QWidget *shownOn) {
    return dpiScale() * deviceRatio(shownOn);
}

Drawing drawing(const QString &path, qreal scale) {
    Drawing best{path, 1.0};
    for (const qreal s : kDrawnAt) {
        if (!hasDrawing(path, s))
            continue;
        best = {fileAt(path, s), s};
        if (s >= scale - 0.001) // nearest at or above; else the largest there is
            break;
    }
    return best;
}

QPixmap pixmap(const QString &path, qreal dpiScale, qreal ratio) {
    const Drawing d = drawing(path, dpiScale * ratio);
    QImage image = readOne(d.path);
    if (image.isNull())
        return {};
    return QPixmap::fromImage(shownAt(std::move(image), d.scale, dpiScale, ratio));
}

QPixmap pixmap(const QString &path, const QWidget *shownOn) {
    return pixmap(path, dpiScale(), deviceRatio(shownOn));
}

QIcon icon(const QString &path) {
    QIcon icon;
    for (const qreal s : kDrawnAt) {
        if (!hasDrawing(path, s))
            continue;
        QImage image = readOne(fileAt(path, s));
        if (image.isNull())
            continue;
        // The reader marks "@2x" files as ratio 2; QIcon should match them
        // by their pixel size.
        image.setDevicePixelRatio(1.0);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

Animation animation(const QString &path, qreal dpiScale, qreal ratio) {
    const Drawing d = drawing(path, dpiScale * ratio);
    QImageReader reader(d.path, formatOf(d.path));
    reader.setAutoDetectImageFormat(false);
    Animation a;
    for (QImage image = reader.read(); !image.isNull(); image = reader.read())
        a.frames << Frame{shownAt(std::move(image), d.scale, dpiScale, ratio),
                          reader.nextImageDelay()};
    a.loopCount = reader.loopCount();
    return a;
}

Animation animation(const QString &path, const QWidget *shownOn) {
    return animation(path, dpiScale(), deviceRatio(shownOn));
}

} // namespace pictures
