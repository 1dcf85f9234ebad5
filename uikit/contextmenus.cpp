#include "contextmenus.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QShortcut>

namespace contextmenus {

namespace {

// Watches the view (the keyboard's events come to it) and its viewport
// (the mouse's).
class ItemMenus : public QObject {
  public:
    ItemMenus(QAbstractItemView *view,
              std::function<void(const QModelIndex &, const QPoint &)> open)
        : QObject(view), m_view(view), m_open(std::move(open)) {
        view->setContextMenuPolicy(Qt::DefaultContextMenu);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::ContextMenu ||
            (watched != m_view && watched != m_view->viewport()))
            return false;
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        QWidget *viewport = m_view->viewport();
        if (menu->reason() == QContextMenuEvent::Mouse) {
            const QPoint at = viewport->mapFromGlobal(menu->globalPos());
            m_open(m_view->indexAt(at), menu->globalPos());
        } else {
            const QModelIndex current = m_view->currentIndex();
            const QRect rect = current.isValid() ? m_view->visualRect(current) : viewport->rect();
            m_open(current, viewport->mapToGlobal(rect.center()));
        }
        return true;
    }

  private:
    QAbstractItemView *m_view;
    std::function<void(const QModelIndex &, const QPoint &)> m_open;
};

} // namespace

void forItems(QAbstractItemView *view,
              std::function<void(const QModelIndex &, const QPoint &)> open) {
    new ItemMenus(view, std::move(open));
}

QPoint placeOf(const QContextMenuEvent *event, const QWidget *widget, const QPoint &keyboardPlace) {
    return event->reason() == QContextMenuEvent::Mouse ? event->globalPos()
                                                       : widget->mapToGlobal(keyboardPlace);
}

void addShiftF10(QWidget *window) {
    auto *keys = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), window);
    QObject::connect(keys, &QShortcut::activated, window, [window] {
        QWidget *target = QApplication::focusWidget();
        if (!target || target->window() != window)
            target = window;
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
    });
}

} // namespace contextmenus
