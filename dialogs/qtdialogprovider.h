#pragma once
#include "uikit/dialogprovider.h"

class QMessageBox;

// The real dialogs, shown window-modal with open() (never exec()).
class QtDialogProvider : public DialogProvider {
  public:
    void message(QWidget *parent, const QString &title, const QString &text,
                 std::function<void()> done = {}) override;
    TextUpdate updatableMessage(QWidget *parent, const QString &title, const QString &text,
                                std::function<void()> done = {}) override;
    void question(QWidget *parent, const QString &title, const QString &text, bool withCancel,
                  std::function<void(Answer)> done) override;
    void choose(QWidget *parent, const QString &title, const QString &text, const QString &yesText,
                const QString &noText, std::function<void(Answer)> done) override;
    void chooseOrCancel(QWidget *parent, const QString &title, const QString &text,
                        const QString &yesText, const QString &noText,
                        std::function<void(Answer)> done) override;
    void inputText(QWidget *parent, const QString &title, const QString &prompt,
                   const QString &initial, std::function<void(const QString &)> done) override;
    void editText(QWidget *parent, const QString &title, const QString &prompt,
                  const QString &initial, std::function<void(bool, const QString &)> done) override;
    void pickColor(QWidget *parent, const QColor &initial,
                   std::function<void(bool ok, const QColor &)> done) override;
    void pickFont(QWidget *parent, const QFont &initial,
                  std::function<void(bool ok, const QFont &)> done) override;
    void saveFileName(QWidget *parent, const QString &suggested,
                      std::function<void(const QString &)> done) override;
    void openFileName(QWidget *parent, const QString &folder,
                      std::function<void(const QString &)> done) override;

  private:
    static QMessageBox *questionBox(QWidget *parent, const QString &title, const QString &text,
                                    bool withCancel, std::function<void(Answer)> done);
};
