#pragma once
// The links in a read-only text view (a transcript, a profile): the
// pointing hand over one, its address as a plain-text tooltip, and on a
// click (the left button pressed and released on the same link) the
// address handed to the desktop's browser. Nothing else opens a link. When
// no browser can be started, that is said through the owner's callback.

#include <QObject>
#include <QString>
#include <functional>

class QTextEdit;
class QWidget;

class TranscriptLinks : public QObject {
  public:
    using Say = std::function<void(const QString &)>;

    // Watches the view's viewport; the view owns this. say tells the user
    // what went wrong.
    TranscriptLinks(QTextEdit *view, Say say);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QTextEdit *m_view;
    QWidget *m_viewport;
    Say m_say;
    QString m_pressed; // the link the left button went down on
};
