#include "uicolors.h"

#include <QPalette>
#include <QWidget>

namespace uicolors {

void setForeColor(QWidget *w, const QColor &c) {
    QPalette p = w->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, c);
    w->setPalette(p);
}

void setBackColor(QWidget *w, const QColor &c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Button, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

} // namespace uicolors
