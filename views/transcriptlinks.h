#pragma once
// The links in a read-only text view (a transcript, a profile): the
// pointing hand over one, its address as a plain-text tooltip, and on a
// click (the left button pressed and released on the same link) the
// address handed to the desktop's browser. Nothing else opens a link.

#include <QObject>
#include <QString>

class QTextEdit;
class QWidget;

class TranscriptLinks : public QObject {
  public:
    // Watches the view's viewport; the view owns this.
    explicit TranscriptLinks(QTextEdit *view);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QTextEdit *m_view;
    QWidget *m_viewport;
    QString m_pressed; // the link the left button went down on
};
