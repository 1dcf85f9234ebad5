#include "dialogprovider.h"

#include <utility>

DialogProvider::TextUpdate DialogProvider::updatableMessage(QWidget *parent, const QString &title,
                                                            const QString &text,
                                                            std::function<void()> done) {
    message(parent, title, text, std::move(done));
    return {};
}

void DialogProvider::choose(QWidget *parent, const QString &title, const QString &text,
                            const QString &, const QString &, std::function<void(Answer)> done) {
    question(parent, title, text, false, std::move(done));
}

void DialogProvider::chooseOrCancel(QWidget *parent, const QString &title, const QString &text,
                                    const QString &, const QString &,
                                    std::function<void(Answer)> done) {
    question(parent, title, text, true, std::move(done));
}

void DialogProvider::editText(QWidget *parent, const QString &title, const QString &prompt,
                              const QString &initial,
                              std::function<void(bool, const QString &)> done) {
    inputText(parent, title, prompt, initial,
              [done = std::move(done)](const QString &text) { done(!text.isEmpty(), text); });
}
