#include "clickfield.h"

#include <QKeyEvent>
#include <QMouseEvent>

ClickField::ClickField(const QString &text, QWidget *parent) : QLineEdit(text, parent) {
    setReadOnly(true);
    setCursor(Qt::PointingHandCursor);
}

void ClickField::mousePressEvent(QMouseEvent *event) {
    m_pressed = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void ClickField::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    QLineEdit::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void ClickField::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit clicked();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}
