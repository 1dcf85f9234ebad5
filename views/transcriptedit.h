#pragma once
// A read-only text view of remote text (a transcript, a profile page). The
// reader puts a zero-width break opportunity into every long word so that
// layout stays cheap; what is copied out leaves them behind, so that a long
// address pasted elsewhere is the address. Its menu (a right click, the
// menu key) offers Copy, Select All and, on a link, Copy Link.

#include <QTextEdit>

class QAction;
class QMenu;

class TranscriptEdit : public QTextEdit {
  public:
    explicit TranscriptEdit(QWidget *parent = nullptr);

    // Made at the first request.
    QMenu *transcriptMenu() const { return m_menu; }

  protected:
    QMimeData *createMimeDataFromSelection() const override;
    void contextMenuEvent(QContextMenuEvent *event) override;

  private:
    void buildMenu();

    QMenu *m_menu = nullptr;
    QAction *m_copy = nullptr;
    QAction *m_copyLink = nullptr;
    QString m_link; // the address Copy Link copies
};
