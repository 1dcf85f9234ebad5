#pragma once
// Context menus as people open them: a right click, the context-menu key or
// Shift+F10. A mouse asks about what is under it; a key about what has the
// keyboard (the current item, the cursor), and the menu opens there.

#include <QPoint>
#include <functional>

class QAbstractItemView;
class QContextMenuEvent;
class QModelIndex;
class QWidget;

namespace contextmenus {

// Calls `open` with the item asked about (invalid on an empty part of the
// view) and the global place for its menu. The view owns what this adds.
void forItems(QAbstractItemView *view,
              std::function<void(const QModelIndex &item, const QPoint &where)> open);

// Where a menu asked for by this event goes, in global coordinates: the
// mouse, or for a key the middle of `keyboardPlace` (widget coordinates).
QPoint placeOf(const QContextMenuEvent *event, const QWidget *widget, const QPoint &keyboardPlace);

// Shift+F10 in the window opens the menu of the widget with the keyboard,
// as the context-menu key does.
void addShiftF10(QWidget *window);

} // namespace contextmenus
