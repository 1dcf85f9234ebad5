#pragma once
// A label that acts as a button: a left click on it, or Enter or Space
// while it has the focus, emits clicked(). It takes the focus with Tab, as
// a button does, and shows it with the style's focus frame.

#include <QLabel>

class ClickLabel : public QLabel {
    Q_OBJECT

  public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

  private:
    bool m_pressed = false;
};
