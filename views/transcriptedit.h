#pragma once
// A read-only text view of remote text (a transcript, a profile page). The
// reader puts a zero-width break opportunity into every long word so that
// layout stays cheap; what is copied out leaves them behind, so that a long
// address pasted elsewhere is the address.

#include <QTextEdit>

class TranscriptEdit : public QTextEdit {
  public:
    using QTextEdit::QTextEdit;

  protected:
    QMimeData *createMimeDataFromSelection() const override;
};
