#pragma once
// What every settings page is given by the window that holds it: the
// protocol control, the remembered choices, the window's alert routine and
// the dialog seam. A test builds one from a protocol control, a settings
// file and two lambdas, without a main window.

#include "client/notsenttext.h"

#include <QString>
#include <functional>

class ClientSettings;
class DialogProvider;
class QelTOCSock;
class Session;
class SpellChecker;

struct PageKit {
    QelTOCSock *toc = nullptr;
    ClientSettings *settings = nullptr;
    std::function<void(const QString &)> alert;
    // Asked at every question: the provider can change at any time.
    std::function<DialogProvider *()> dialogs;
    // Signs on and comes back after a lost connection; none in page tests.
    Session *session = nullptr;
    // Marks misspelt words in the text boxes; none in most page tests.
    SpellChecker *spell = nullptr;

    void Errors(const QString &text) const {
        if (alert)
            alert(text);
    }
    // The alert for a command that could not be sent.
    void notSent() const { Errors(notSentText(toc)); }
};
