// The real dialogs behind DialogProvider. Each is opened with open(), so
// the caller returns at once and the answer arrives through the callback.
#include "qtdialogprovider.h"

#include "uikit/dialogtext.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <utility>

namespace {

QMessageBox *plainBox(QWidget *parent, const QString &title, const QString &text) {
    auto *box = new QMessageBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(title);
    // Texts may come from the server: never let them turn into markup, and
    // never let them grow the box past the screen.
    box->setTextFormat(Qt::PlainText);
    box->setText(dialogtext::fitted(text));
    return box;
}

} // namespace

void QtDialogProvider::message(QWidget *parent, const QString &title, const QString &text,
                               std::function<void()> done) {
    updatableMessage(parent, title, text, std::move(done));
}

DialogProvider::TextUpdate QtDialogProvider::updatableMessage(QWidget *parent, const QString &title,
                                                              const QString &text,
                                                              std::function<void()> done) {
    QMessageBox *box = plainBox(parent, title, text);
    box->setStandardButtons(QMessageBox::Ok);
    QObject::connect(box, &QDialog::finished, box, [done](int) {
        if (done)
            done();
    });
    box->open();
    QPointer<QMessageBox> open(box);
    return [open](const QString &newText) {
        if (open && open->isVisible())
            open->setText(dialogtext::fitted(newText));
    };
}

void QtDialogProvider::question(QWidget *parent, const QString &title, const QString &text,
                                bool withCancel, std::function<void(Answer)> done) {
    questionBox(parent, title, text, withCancel, std::move(done))->open();
}

void QtDialogProvider::choose(QWidget *parent, const QString &title, const QString &text,
                              const QString &yesText, const QString &noText,
                              std::function<void(Answer)> done) {
    QMessageBox *box = questionBox(parent, title, text, false, std::move(done));
    box->button(QMessageBox::Yes)->setText(yesText);
    box->button(QMessageBox::No)->setText(noText);
    box->open();
}

void QtDialogProvider::chooseOrCancel(QWidget *parent, const QString &title, const QString &text,
                                      const QString &yesText, const QString &noText,
                                      std::function<void(Answer)> done) {
    QMessageBox *box = questionBox(parent, title, text, true, std::move(done));
    // Both buttons act: no yes/no pictures, and Enter alone does nothing rash.
    for (const auto &[which, caption] :
         {std::pair{QMessageBox::Yes, yesText}, std::pair{QMessageBox::No, noText}}) {
        box->button(which)->setText(caption);
        box->button(which)->setIcon(QIcon());
    }
    box->setDefaultButton(QMessageBox::Cancel);
    box->open();
}

QMessageBox *QtDialogProvider::questionBox(QWidget *parent, const QString &title,
                                           const QString &text, bool withCancel,
                                           std::function<void(Answer)> done) {
    QMessageBox *box = plainBox(parent, title, text);
    box->setIcon(QMessageBox::Question);
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    box->setStandardButtons(buttons);
    box->setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    QObject::connect(box, &QDialog::finished, box, [box, done, withCancel](int) {
        const QMessageBox::StandardButton b = box->standardButton(box->clickedButton());
        Answer a = withCancel ? Answer::Cancel : Answer::No;
        if (b == QMessageBox::Yes)
            a = Answer::Yes;
        else if (b == QMessageBox::No)
            a = Answer::No;
        if (done)
            done(a);
    });
    return box;
}

void QtDialogProvider::inputText(QWidget *parent, const QString &title, const QString &prompt,
                                 const QString &initial,
                                 std::function<void(const QString &)> done) {
    editText(parent, title, prompt, initial, [done](bool ok, const QString &text) {
        if (done)
            done(ok ? text : QString());
    });
}

void QtDialogProvider::editText(QWidget *parent, const QString &title, const QString &prompt,
                                const QString &initial,
                                std::function<void(bool, const QString &)> done) {
    auto *dlg = new QInputDialog(parent);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowTitle(title);
    // The prompt may name a room or a person: plain text, wrapped, bounded.
    dlg->setLabelText(QString());
    if (auto *label = dlg->findChild<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    dlg->setLabelText(dialogtext::fitted(prompt));
    dlg->setTextValue(initial);
    QObject::connect(dlg, &QDialog::finished, dlg, [dlg, done](int result) {
        if (done)
            done(result == QDialog::Accepted, dlg->textValue());
    });
    dlg->open();
}

void QtDialogProvider::pickColor(QWidget *parent, const QColor &initial,
                                 std::function<void(bool, const QColor &)> done) {
    auto *dlg = new QColorDialog(initial, parent);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dlg, &QDialog::finished, dlg, [dlg, done, initial](int result) {
        const bool ok = result == QDialog::Accepted;
        if (done)
            done(ok, ok ? dlg->selectedColor() : initial);
    });
    dlg->open();
}

void QtDialogProvider::pickFont(QWidget *parent, const QFont &initial,
                                std::function<void(bool, const QFont &)> done) {
    auto *dlg = new QFontDialog(initial, parent);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dlg, &QDialog::finished, dlg, [dlg, done, initial](int result) {
        const bool ok = result == QDialog::Accepted;
        if (done)
            done(ok, ok ? dlg->selectedFont() : initial);
    });
    dlg->open();
}

void QtDialogProvider::saveFileName(QWidget *parent, const QString &suggested,
                                    std::function<void(const QString &)> done) {
    auto *dlg = new QFileDialog(parent);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setAcceptMode(QFileDialog::AcceptSave);
    dlg->selectFile(suggested);
    QObject::connect(dlg, &QDialog::finished, dlg, [dlg, done](int result) {
        const QStringList files = dlg->selectedFiles();
        if (done)
            done(result == QDialog::Accepted && !files.isEmpty() ? files.first() : QString());
    });
    dlg->open();
}

void QtDialogProvider::openFileName(QWidget *parent, const QString &folder,
                                    std::function<void(const QString &)> done) {
    auto *dlg = new QFileDialog(parent, QString(), folder);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setAcceptMode(QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::ExistingFile);
    QObject::connect(dlg, &QDialog::finished, dlg, [dlg, done](int result) {
        const QStringList files = dlg->selectedFiles();
        if (done)
            done(result == QDialog::Accepted && !files.isEmpty() ? files.first() : QString());
    });
    dlg->open();
}
