#pragma once
// A label that acts as a button: a left click on it emits clicked().

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

  private:
    bool m_pressed = false;
};
