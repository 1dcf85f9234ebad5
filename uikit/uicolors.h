#pragma once
// The window's colour scheme and the one way to set a widget's fore colour.

#include <QColor>

class QWidget;

namespace uicolors {

inline QColor windowBack() {
    return QColor(241, 242, 230);
}
inline QColor foreText() {
    return QColor(61, 137, 188);
}
inline QColor clickable() {
    return QColor(0, 0, 255);
}

// Sets the text colour of labels, fields, lists and buttons alike.
void setForeColor(QWidget *w, const QColor &c);
void setBackColor(QWidget *w, const QColor &c);

} // namespace uicolors
