#pragma once
// Whether the user is typing in a window: a key pressed in it within the
// last kRecentMs while the keyboard is in one of its text boxes. An alert
// that comes then shows without taking the keyboard, so the next key does
// not close it and nothing typed is lost.

#include <QElapsedTimer>
#include <QObject>

class QWidget;

class TypingWatch : public QObject {
    Q_OBJECT

  public:
    static constexpr qint64 kRecentMs = 3000;

    explicit TypingWatch(QWidget *window);
    bool isTyping() const;

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QWidget *m_window;
    QElapsedTimer m_lastKey;
};
