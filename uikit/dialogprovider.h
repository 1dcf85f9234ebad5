#pragma once
// Every modal question the program asks goes through this interface, owned
// by the main window. Calls never block: the answer arrives through the
// callback, so no nested event loop runs inside a protocol event. Tests
// substitute a scripted implementation that answers without a person.

#include <QColor>
#include <QFont>
#include <QString>
#include <functional>

class QWidget;

class DialogProvider {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~DialogProvider() = default;

    // A plain-text message with an OK button.
    virtual void message(QWidget *parent, const QString &title, const QString &text,
                         std::function<void()> done = {}) = 0;
    // Replaces the text of a message box that is still open; once the box
    // has closed it does nothing.
    using TextUpdate = std::function<void(const QString &)>;
    // A message() whose text can be replaced while it is open, through the
    // returned function. The default shows a message() that cannot change
    // and returns an empty function.
    virtual TextUpdate updatableMessage(QWidget *parent, const QString &title, const QString &text,
                                        std::function<void()> done = {});
    // Yes/No (or Yes/No/Cancel when withCancel) question in plain text.
    virtual void question(QWidget *parent, const QString &title, const QString &text,
                          bool withCancel, std::function<void(Answer)> done) = 0;
    // A Yes/No question whose two buttons carry their own words ("Join",
    // "Decline"). The default asks question().
    virtual void choose(QWidget *parent, const QString &title, const QString &text,
                        const QString &yesText, const QString &noText,
                        std::function<void(Answer)> done);
    // The same with a third button, Cancel (also Escape): for a choice
    // between two actions ("Warn anonymously", "Warn") or none.
    virtual void chooseOrCancel(QWidget *parent, const QString &title, const QString &text,
                                const QString &yesText, const QString &noText,
                                std::function<void(Answer)> done);
    // One line of text; the empty text on cancel.
    virtual void inputText(QWidget *parent, const QString &title, const QString &prompt,
                           const QString &initial, std::function<void(const QString &)> done) = 0;
    // The same where an empty text means something: ok is false on cancel.
    // The default asks inputText() and takes an empty text for a cancel.
    virtual void editText(QWidget *parent, const QString &title, const QString &prompt,
                          const QString &initial,
                          std::function<void(bool ok, const QString &)> done);
    // ok is false when the user cancelled.
    virtual void pickColor(QWidget *parent, const QColor &initial,
                           std::function<void(bool ok, const QColor &)> done) = 0;
    virtual void pickFont(QWidget *parent, const QFont &initial,
                          std::function<void(bool ok, const QFont &)> done) = 0;
    // The chosen path, or the empty text on cancel. Saving suggests a path
    // (its folder is where the dialog opens); opening starts in a folder.
    virtual void saveFileName(QWidget *parent, const QString &suggested,
                              std::function<void(const QString &)> done) = 0;
    virtual void openFileName(QWidget *parent, const QString &folder,
                              std::function<void(const QString &)> done) = 0;
};
