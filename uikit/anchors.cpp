#include "anchors.h"

#include <QEvent>
#include <QPointer>
#include <QRect>
#include <QWidget>

namespace anchors {

namespace {

// Lives as a child of the anchored widget. The window is looked up when
// the widget shows: a page is built before it is put into its window.
class Anchor : public QObject {
  public:
    Anchor(QWidget *widget, int stretch, int move)
        : QObject(widget), m_widget(widget), m_base(widget->geometry()), m_stretch(stretch),
          m_move(move) {
        widget->installEventFilter(this);
        if (widget->isVisible())
            hook();
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == m_widget && event->type() == QEvent::Show)
            hook();
        else if (watched == m_window && event->type() == QEvent::Resize)
            apply();
        return false;
    }

  private:
    void hook() {
        QWidget *window = m_widget->window();
        if (window != m_window) {
            if (m_window)
                m_window->removeEventFilter(this);
            m_window = window;
            window->installEventFilter(this);
        }
        apply();
    }

    void apply() {
        const QSize least = m_window->minimumSize();
        const bool sized = least.width() > 0 && least.height() > 0;
        const int dx = sized ? qMax(0, m_window->width() - least.width()) : 0;
        const int dy = sized ? qMax(0, m_window->height() - least.height()) : 0;
        QRect r = m_base;
        r.translate(m_move & Right ? dx : 0, m_move & Bottom ? dy : 0);
        r.setWidth(r.width() + (m_stretch & Right ? dx : 0));
        r.setHeight(r.height() + (m_stretch & Bottom ? dy : 0));
        if (r != m_widget->geometry())
            m_widget->setGeometry(r);
    }

    QWidget *m_widget;
    QRect m_base;
    int m_stretch;
    int m_move;
    QPointer<QWidget> m_window;
};

class Filler : public QObject {
  public:
    explicit Filler(QWidget *widget) : QObject(widget), m_widget(widget) {
        widget->parentWidget()->installEventFilter(this);
        widget->setGeometry(widget->parentWidget()->rect());
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == m_widget->parentWidget() && event->type() == QEvent::Resize)
            m_widget->setGeometry(m_widget->parentWidget()->rect());
        return false;
    }

  private:
    QWidget *m_widget;
};

} // namespace

void anchor(QWidget *widget, int stretch, int move) {
    if (widget)
        new Anchor(widget, stretch, move);
}

void fill(QWidget *widget) {
    if (widget && widget->parentWidget())
        new Filler(widget);
}

} // namespace anchors
