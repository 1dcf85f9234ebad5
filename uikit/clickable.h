#pragma once
// What makes a click for the widgets that act as buttons without being
// QPushButtons (a label, a read-only field): a left press and release on
// the widget, or Space, Return or Enter while it has the focus.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace clickable {

inline bool startsClick(const QMouseEvent *press) {
    return press->button() == Qt::LeftButton;
}

// The release ends a click begun by a press on the widget.
inline bool endsClick(const QWidget *w, const QMouseEvent *release, bool pressed) {
    return pressed && release->button() == Qt::LeftButton &&
           w->rect().contains(release->position().toPoint());
}

inline bool isPressKey(const QKeyEvent *key) {
    return key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
           key->key() == Qt::Key_Enter;
}

} // namespace clickable
