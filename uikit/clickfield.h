#pragma once
// A read-only text field that acts as a button: a left click, Space or
// Enter emits clicked(). The font page's face and colour fields open their
// dialogs this way.

#include <QLineEdit>

class ClickField : public QLineEdit {
    Q_OBJECT

  public:
    explicit ClickField(const QString &text, QWidget *parent = nullptr);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    bool m_pressed = false;
};
