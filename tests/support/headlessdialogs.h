#pragma once
// A dialog provider for runs without a person (tests, benchmarks, fuzzers):
// the colour, font and file choosers are cancelled at once. What messages,
// questions and text boxes answer is each run's own.

#include "uikit/dialogprovider.h"

class HeadlessDialogs : public DialogProvider {
  public:
    void pickColor(QWidget *, const QColor &initial,
                   std::function<void(bool, const QColor &)> done) override {
        done(false, initial);
    }
    void pickFont(QWidget *, const QFont &initial,
                  std::function<void(bool, const QFont &)> done) override {
        done(false, initial);
    }
    void saveFileName(QWidget *, const QString &,
                      std::function<void(const QString &)> done) override {
        done(QString());
    }
    void openFileName(QWidget *, const QString &,
                      std::function<void(const QString &)> done) override {
        done(QString());
    }
};
