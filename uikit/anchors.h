#pragma once
// Widgets placed in twips keep their place while the window has its
// default size (its minimum size); when the window is larger, an anchored
// widget takes the extra room: it stretches (its right or bottom edge
// moves by the window's extra width or height) or it moves by it. The
// extra room is the window's, so a widget on a page inside a tab widget
// inside a panel grows exactly as the window does, however deep it sits.
// A window without a minimum size gives no extra room.

class QWidget;

namespace anchors {

enum Edge { None = 0, Right = 1, Bottom = 2, Both = Right | Bottom };

// The edges given in `stretch` follow the window's growth; the widget
// moves with the edges given in `move`.
void anchor(QWidget *widget, int stretch, int move = None);
inline void stretch(QWidget *widget, int edges) {
    anchor(widget, edges, None);
}
inline void move(QWidget *widget, int edges) {
    anchor(widget, None, edges);
}
// The widget always fills its parent.
void fill(QWidget *widget);

} // namespace anchors
