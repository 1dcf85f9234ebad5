#include "anchors.h"

#include <QEvent>
#include <QRect>
#include <QWidget>

namespace anchors {

namespace {

// Watches the parent's resizes; lives as a child of the anchored widget.
class Anchor : public QObject {
  public:
    Anchor(QWidget *widget, int stretch, int move)
        : QObject(widget), m_widget(widget), m_base(widget->geometry()),
          m_parentBase(widget->parentWidget()->size()), m_stretch(stretch), m_move(move) {
        widget->parentWidget()->installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == m_widget->parentWidget() && event->type() == QEvent::Resize)
            apply();
        return false;
    }

  private:
    void apply() {
        const QSize now = m_widget->parentWidget()->size();
        const int dx = qMax(0, now.width() - m_parentBase.width());
        const int dy = qMax(0, now.height() - m_parentBase.height());
        QRect r = m_base;
        if (m_move & Right)
            r.translate(dx, 0);
        if (m_move & Bottom)
            r.translate(0, dy);
        if (m_stretch & Right)
            r.setWidth(r.width() + dx);
        if (m_stretch & Bottom)
            r.setHeight(r.height() + dy);
        if (r != m_widget->geometry())
            m_widget->setGeometry(r);
    }

    QWidget *m_widget;
    QRect m_base;
    QSize m_parentBase;
    int m_stretch;
    int m_move;
};

} // namespace

void anchor(QWidget *widget, int stretch, int move) {
    if (widget && widget->parentWidget())
        new Anchor(widget, stretch, move);
}

} // namespace anchors
