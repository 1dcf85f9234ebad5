#include "animatedpicture.h"

#include "pictures.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QTimerEvent>
#include <cstring>

namespace {

// The bounding rectangle of the pixels in which two images of one size and
// format differ.
QRect changedRect(const QImage &a, const QImage &b) {
    int top = -1, bottom = -1, left = a.width(), right = -1;
    const auto bytes = size_t(a.width()) * 4;
    for (int y = 0; y < a.height(); ++y) {
        const auto *pa = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *pb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        if (std::memcmp(pa, pb, bytes) == 0)
            continue;
        top = top < 0 ? y : top;
        bottom = y;
        int x = 0;
        while (pa[x] == pb[x])
            ++x;
        left = qMin(left, x);
        x = a.width() - 1;
        while (pa[x] == pb[x])
            --x;
        right = qMax(right, x);
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A rectangle of a frame's pixels in the widget's coordinates, covering
// every pixel it touches.
QRect deviceIndependent(const QRect &r, qreal ratio) {
    return QRectF(QPointF(r.topLeft()) / ratio, QSizeF(r.size()) / ratio).toAlignedRect();
}

} // namespace

AnimatedPicture::AnimatedPicture(QWidget *parent) : ClickLabel(QString(), parent) {}

bool AnimatedPicture::play(const QString &fileName) {
    // Drawn for the scale the picture is shown at: the twips' DPI times the
    // screen's device pixel ratio.
    const pictures::Animation animation = pictures::animation(fileName, this);
    QList<QImage> images;
    m_frames.clear();
    for (const pictures::Frame &frame : animation.frames) {
        const bool alpha = frame.image.hasAlphaChannel();
        images << frame.image.convertToFormat(alpha ? QImage::Format_ARGB32_Premultiplied
                                                    : QImage::Format_RGB32);
        m_frames << Frame{QPixmap::fromImage(images.last()), qMax(10, frame.delayMs), QRect()};
    }
    if (m_frames.isEmpty())
        return false;
    m_framesOpaque = true;
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage &next = images[(i + 1) % images.size()];
        m_framesOpaque = m_framesOpaque && !images[i].hasAlphaChannel();
        const QRect changed = next.size() == images[i].size() && next.format() == images[i].format()
                                  ? changedRect(images[i], next)
                                  : images[i].rect().united(next.rect());
        m_frames[i].changesToNext = deviceIndependent(changed, images[i].devicePixelRatio());
    }
    m_loopCount = animation.loopCount;
    m_seen = false;
    m_current = 0;
    m_window = window();
    m_window->installEventFilter(this);
    updateOpaque();
    update();
    updateRunning();
    return true;
}

QRect AnimatedPicture::frameRect() const {
    const QSize size = m_frames.value(m_current).pixmap.deviceIndependentSize().toSize();
    return QStyle::alignedRect(layoutDirection(), alignment(), size, contentsRect());
}

// Frames that cover the picture completely leave nothing beneath to paint.
void AnimatedPicture::updateOpaque() {
    setAttribute(Qt::WA_OpaquePaintEvent,
                 isAnimated() && m_framesOpaque && frameRect().contains(rect()));
}

void AnimatedPicture::updateRunning() {
    const bool seen = isAnimated() && isVisible() && !(m_window && m_window->isMinimized());
    if (seen == m_seen)
        return;
    m_seen = seen;
    if (!seen) {
        m_timer.stop();
        return;
    }
    // Coming into view it plays again from the first frame, its loops
    // anew, as a movie does when started.
    m_loopsLeft = m_loopCount;
    if (m_current != 0) {
        m_current = 0;
        update(frameRect());
    }
    m_timerDelay = m_frames[0].delayMs;
    m_timer.start(m_timerDelay, this);
}

void AnimatedPicture::step() {
    const QRect frame = frameRect();
    const QRect changed = m_frames[m_current].changesToNext.translated(frame.topLeft());
    if (m_current + 1 == m_frames.size()) {
        if (m_loopsLeft == 0) {
            m_timer.stop(); // the last frame stays until it is seen again
            return;
        }
        if (m_loopsLeft > 0)
            --m_loopsLeft;
    }
    m_current = (m_current + 1) % int(m_frames.size());
    if (m_frames[m_current].delayMs != m_timerDelay) {
        m_timerDelay = m_frames[m_current].delayMs;
        m_timer.start(m_timerDelay, this);
    }
    if (!changed.isEmpty())
        repaint(changed & rect());
}

bool AnimatedPicture::event(QEvent *event) {
    const bool handled = ClickLabel::event(event);
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        updateRunning();
        break;
    case QEvent::Resize:
        updateOpaque();
        break;
    default:
        break;
    }
    return handled;
}

// Not every platform hides the children of a minimised window.
bool AnimatedPicture::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_window && event->type() == QEvent::WindowStateChange)
        updateRunning();
    return ClickLabel::eventFilter(watched, event);
}

void AnimatedPicture::paintEvent(QPaintEvent *event) {
    if (!isAnimated()) {
        ClickLabel::paintEvent(event);
        return;
    }
    const QRect frame = frameRect();
    const QRect target = event->rect() & frame;
    if (target.isEmpty())
        return;
    QPainter painter(this);
    // Clipped rather than cut out: the frame's pixels need not be the
    // widget's (a device pixel ratio), and whole it lands on whole pixels.
    painter.setClipRect(target);
    painter.drawPixmap(frame.topLeft(), m_frames[m_current].pixmap);
}

void AnimatedPicture::timerEvent(QTimerEvent *event) {
    if (event->timerId() == m_timer.timerId())
        step();
    else
        ClickLabel::timerEvent(event);
}
