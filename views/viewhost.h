#pragma once
// What a conversation view needs of the window that holds it. The main
// window implements it; view tests use a small fake.

#include "client/historyline.h"
#include "uikit/shownname.h"

#include <QString>

class QelTOCSock;
class DialogProvider;
class Outbox;
class SpellChecker;

// The user's formatting settings, read fresh at every refresh and send.
struct FormatSettings {
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool underline = false;
    QString fontFace = QStringLiteral("Arial");        // txtFont
    QString textColorHtml = QStringLiteral("#000000"); // txtColor
    QString backColorHtml = QStringLiteral("#FFFFFF"); // txtBackColor
    QString fontColorx = QStringLiteral("0");          // decimal 0x00BBGGRR
    QString backColorx = QStringLiteral("16777215");
};

class ViewHost {
  public:
    virtual ~ViewHost() = default;

    virtual QelTOCSock *tocControl() = 0;
    virtual DialogProvider *dialogs() = 0;
    virtual FormatSettings formatSettings() const = 0;
    // The user's own screen name as shown in the login frame (txtSn).
    virtual QString ownScreenName() const = 0;
    // The TOC server host the user signed on to (the buddy-icon host).
    virtual QString iconHost() const = 0;

    virtual void Errors(const QString &text) = 0;
    virtual void CloseTab(const QString &caption) = 0;
    virtual void TabUpdate() = 0;
    // The IM view's "Block": txtBlockuser := name, then cmdAddBlock_Click.
    virtual void blockFromView(const QString &name) = 0;
    // The IM view's "Add": the add-buddy dialog, not pre-filled.
    virtual void showAddBuddy() = 0;
    // A room member's menu: "IM" opens (or brings forward) the conversation
    // with the member; "Get Profile" asks for the member's profile.
    virtual void openIMFromView(const QString &) {}
    virtual void profileFromView(const QString &) {}
    // A line the view showed that the user wrote, or a "Not sent" line:
    // for the conversation history. Hosts without one ignore it.
    virtual void keepLine(const HistoryLine &) {}
    // How a partner's name is shown in the view's header (an alias, or the
    // name escaped).
    virtual QString shownName(const QString &name) const { return shown::name(name); }
    // Where the user's IMs and room lines go out (paced), and who appears
    // online; without one they are sent at once and nobody is offline.
    virtual Outbox *outbox() { return nullptr; }
    // Marks misspelt words in the input box; none, none marked.
    virtual SpellChecker *spellChecker() { return nullptr; }
};
