#include "transcriptedit.h"

#include <QMimeData>
#include <QTextDocumentFragment>

QMimeData *TranscriptEdit::createMimeDataFromSelection() const {
    QString text = textCursor().selection().toPlainText();
    text.remove(QChar(0x200B));
    auto *data = new QMimeData;
    data->setText(text);
    return data;
}
