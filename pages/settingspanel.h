#pragma once
// The settings panel `PicLogin`: the login frame over the settings pages,
// the header (the user's name, "format", "Logout"), the colour scheme
// buttons and the picture. The login frame and the header are built for
// the first paint; the pages follow right after it.

#include "pagekit.h"

#include <QColor>
#include <QWidget>

struct ColourScheme;
class AnimatedPicture;
class AwayPage;
class AwayState;
class AwayStrip;
class BuddyAliases;
class BuddyBook;
class BuddyListPage;
class ChatIMPage;
class ClickLabel;
class Conversations;
class FontPage;
class LoginFrame;
class OptionsPage;
class PrivacyPage;
class PrivacyState;
class ProfilePage;
class QLabel;
class QPushButton;
class QTabWidget;

class SettingsPanel : public QWidget {
    Q_OBJECT

  public:
    // Placed in twips in the window, under the tab strip.
    SettingsPanel(const PageKit &kit, QWidget *window);

    // The client objects the pages show and change.
    struct Clients {
        BuddyBook *book;
        BuddyAliases *aliases;
        PrivacyState *privacy;
        AwayState *away;
        AwayStrip *awayStrip;
        Conversations *conversations;
    };
    void buildPages(const Clients &clients);
    void startLogo();
    // Signed on: the page chosen last comes forward (the buddy list at
    // first).
    void showChosenPage();

    // The header: the user's name followed by `rest`, a status that must
    // stay readable (the name gives way) or the configuration text.
    void setHeaderName(const QString &name) { m_headerName = name; }
    void showHeader(const QString &rest, bool status = false);
    // The fore colour (a decimal colour text) of the settings texts.
    void SetColors(const QString &color);
    QColor schemeColor() const { return m_schemeColor; }

    void Label24_Click(); // "format"
    // The server's error that refuses the name sent with "format", said in
    // words; empty for any other error.
    QString formatRefusal(qint16 code);
    void Command4_Click(); // "Change Colors"
    void Command5_Click(); // "Save"
    void Command8_Click(); // "Load"

    LoginFrame *frmLogin = nullptr;
    QTabWidget *tab2 = nullptr;
    PrivacyPage *privacy = nullptr;
    AwayPage *away = nullptr;
    ProfilePage *profile = nullptr;
    ChatIMPage *chatIM = nullptr;
    FontPage *font = nullptr;
    BuddyListPage *buddyList = nullptr;
    OptionsPage *options = nullptr;

    QLabel *labHI = nullptr;
    ClickLabel *Label24 = nullptr; // "format"
    ClickLabel *Label6 = nullptr;  // "Logout"
    QPushButton *Command4 = nullptr;
    QLabel *Label23 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command8 = nullptr;
    AnimatedPicture *Image1 = nullptr;

  signals:
    void logoutClicked();
    void pictureClicked();

  private:
    void buildHeader();
    void applyColourScheme(const ColourScheme &scheme);

    PageKit m_kit;
    QString m_headerName;
    QColor m_schemeColor;
    QString m_formatAsked; // sent with "format", not answered yet
    // Where the colour file's dialogs open: the home folder, then the
    // folder of the last file saved or loaded.
    QString m_colourFolder;
};
