#pragma once
// A clickable picture that plays an animation (a GIF) from memory, made for
// a window that stays open all day. The frames are decoded once and kept as
// pixmaps in the screen's format. A step repaints at once (no posted event)
// only the rectangle in which the next frame differs, and opaque frames are
// painted without the parent's background or the widgets beneath. The
// timer runs only while the picture can be seen: not behind another tab,
// not while the window is hidden or minimised. Each time the picture comes
// into view it plays as often as the file says, then rests.

#include "clicklabel.h"

#include <QBasicTimer>
#include <QList>
#include <QPixmap>
#include <QPointer>

class AnimatedPicture : public ClickLabel {
  public:
    explicit AnimatedPicture(QWidget *parent = nullptr);

    // Decodes every frame of the file and plays them whenever the picture
    // comes into view. False, and the still picture stays, when the file has no frame.
    bool play(const QString &fileName);
    bool isAnimated() const { return !m_frames.isEmpty(); }
    bool isRunning() const { return m_timer.isActive(); }
    QPixmap currentFrame() const { return m_frames.value(m_current).pixmap; }

  protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

  private:
    struct Frame {
        QPixmap pixmap;
        int delayMs = 0;
        QRect changesToNext; // where the next frame differs, in the frame's widget coordinates
    };

    QRect frameRect() const;
    void updateOpaque();
    void updateRunning();
    void step();

    QList<Frame> m_frames;
    bool m_framesOpaque = false;
    int m_current = 0;
    int m_loopCount = -1; // the file's; -1: forever
    int m_loopsLeft = -1;
    bool m_seen = false; // shown, and its window not minimised
    QBasicTimer m_timer;
    int m_timerDelay = -1;
    QPointer<QWidget> m_window; // watched for minimising
};
