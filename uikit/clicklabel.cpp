#include "clicklabel.h"

#include "clickable.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

ClickLabel::ClickLabel(const QString &text, QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ClickLabel::mousePressEvent(QMouseEvent *event) {
    m_pressed = clickable::startsClick(event);
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event) {
    const bool click = clickable::endsClick(this, event, m_pressed);
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

void ClickLabel::keyPressEvent(QKeyEvent *event) {
    if (!clickable::isPressKey(event))
        return QLabel::keyPressEvent(event);
    event->accept();
    emit clicked();
}

void ClickLabel::paintEvent(QPaintEvent *event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = contentsRect();
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}
