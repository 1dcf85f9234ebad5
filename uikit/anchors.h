#pragma once
// Widgets placed in twips keep their place at the default size; when their
// parent grows, an anchored widget takes part of the extra room: it
// stretches (its right or bottom edge follows the parent's) or it moves
// (it keeps its distance to the parent's right or bottom edge). The extra
// room is measured from the parent's size when the anchor was set, and
// never below it, so a parent at its default size shows every widget at
// exactly its default place.

#include <QtGlobal>

class QWidget;

namespace anchors {

enum Edge { None = 0, Right = 1, Bottom = 2, Both = Right | Bottom };

// The edges given in `stretch` follow the parent's; the widget moves with
// the edges given in `move`.
void anchor(QWidget *widget, int stretch, int move = None);
inline void stretch(QWidget *widget, int edges) {
    anchor(widget, edges, None);
}
inline void move(QWidget *widget, int edges) {
    anchor(widget, None, edges);
}

} // namespace anchors
