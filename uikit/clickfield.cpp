#include "clickfield.h"

#include "clickable.h"

ClickField::ClickField(const QString &text, QWidget *parent) : QLineEdit(text, parent) {
    setReadOnly(true);
    setCursor(Qt::PointingHandCursor);
}

void ClickField::mousePressEvent(QMouseEvent *event) {
    m_pressed = clickable::startsClick(event);
    QLineEdit::mousePressEvent(event);
}

void ClickField::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = clickable::endsClick(this, event, m_pressed);
    m_pressed = false;
    QLineEdit::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

void ClickField::keyPressEvent(QKeyEvent *event) {
    if (!clickable::isPressKey(event))
        return QLineEdit::keyPressEvent(event);
    event->accept();
    emit clicked();
}
