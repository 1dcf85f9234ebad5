#include "typingwatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

TypingWatch::TypingWatch(QWidget *window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

bool TypingWatch::isTyping() const {
    const QWidget *focus = QApplication::focusWidget();
    if (!focus || focus->window() != m_window || !m_lastKey.isValid() ||
        m_lastKey.elapsed() >= kRecentMs)
        return false;
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(focus))
        return !plain->isReadOnly();
    if (const auto *rich = qobject_cast<const QTextEdit *>(focus))
        return !rich->isReadOnly();
    const auto *line = qobject_cast<const QLineEdit *>(focus);
    return line && !line->isReadOnly();
}

bool TypingWatch::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_window)
        m_lastKey.start();
    return false;
}
