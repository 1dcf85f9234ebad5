#include "settingspanel.h"

#include "awaypage.h"
#include "buddylistpage.h"
#include "chatimpage.h"
#include "client/clientsettings.h"
#include "colourfile.h"
#include "fontpage.h"
#include "loginframe.h"
#include "optionspage.h"
#include "privacypage.h"
#include "profilepage.h"
#include "protocol/qeltocsock.h"
#include "uikit/anchors.h"
#include "uikit/animatedpicture.h"
#include "uikit/dialogprovider.h"
#include "uikit/pagewidgets.h"
#include "uikit/pictures.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"
#include "views/color2html.h"
#include "views/colortext.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <utility>

using pagewidgets::button;
using pagewidgets::label;
using pagewidgets::named;

namespace {

// What "Change Colors" recolours: the texts of the header, the login frame
// and the pages.
const char *const kSchemeTexts[] = {
    "labHI",    "labFrm",  "Label4",       "Label5",  "Label20", "lstBlock", "lstAllow",
    "lstAway",  "txtAway", "txtChatName",  "txtEx",   "Label18", "Label17",  "txtFont",
    "txtColor", "Label19", "txtBackColor", "txtIM",   "Label1",  "Label2",   "Label3",
    "txtSn",    "txtPw",   "txtServer",    "txtPort", "labStat"};

ClickLabel *clickLabel(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *l = named(new ClickLabel(text, parent), name, where);
    uicolors::setForeColor(l, uicolors::clickable());
    return l;
}

// "#RRGGBB" read back into a colour; black when it does not read.
QColor fromHtml(const QString &html) {
    const QColor c = QColor::fromString(html);
    return c.isValid() ? c : QColor(Qt::black);
}

} // namespace

SettingsPanel::SettingsPanel(const PageKit &kit, QWidget *window)
    : QWidget(window), m_kit(kit), m_schemeColor(uicolors::foreText()),
      m_colourFolder(QDir::homePath()) {
    setObjectName(QStringLiteral("PicLogin"));
    setGeometry(twips::rect(0, 360, 5895, 2655));
    setAutoFillBackground(true);
    frmLogin = new LoginFrame(kit, this);
    // It covers the pages behind it, which grow with the window.
    anchors::stretch(frmLogin, anchors::Both);
    buildHeader();
    // A name taken (or a new session) answers "format": no refusal follows.
    for (auto answered : {&QelTOCSock::ScreenNameFormatted, &QelTOCSock::Disconnected})
        connect(kit.toc, answered, this, [this] { m_formatAsked.clear(); });
    connect(kit.toc, &QelTOCSock::ScreennameFormat, this, [this] { m_formatAsked.clear(); });
}

void SettingsPanel::buildHeader() {
    // Ends before "format" (at 2160), so that a long header never runs
    // under the link.
    labHI = label(this, "labHI", QStringLiteral("user's configuration."),
                  twips::rect(120, 0, 1980, 255));
    Label24 = clickLabel(this, "Label24", QStringLiteral("format"), twips::rect(2160, 0, 615, 255));
    Label6 = clickLabel(this, "Label6", QStringLiteral("Logout"), twips::rect(3120, 0, 615, 255));
    Label24->setAccessibleName(QStringLiteral("Format your screen name"));
    connect(Label6, &ClickLabel::clicked, this, &SettingsPanel::logoutClicked);
    connect(Label24, &ClickLabel::clicked, this, &SettingsPanel::Label24_Click);

    Command4 =
        button(this, "Command4", QStringLiteral("Change Colors"), twips::rect(4320, 0, 1335, 300));
    Label23 = label(this, "Label23", QStringLiteral("Settings:"), twips::rect(4320, 360, 615, 255));
    Command5 = button(this, "Command5", QStringLiteral("Save"), twips::rect(4320, 600, 615, 300));
    Command5->setEnabled(false);
    Command8 = button(this, "Command8", QStringLiteral("Load"), twips::rect(5040, 600, 615, 300));
    Command8->setEnabled(false);
    Command5->setAccessibleName(QStringLiteral("Save the colour scheme"));
    Command8->setAccessibleName(QStringLiteral("Load a colour scheme"));

    Image1 = named(new AnimatedPicture(this), "Image1", twips::rect(3960, 840, 1920, 1800));
    // The pages take a wider window's extra width: the column beside them
    // keeps its size and moves to the right edge.
    for (QWidget *w :
         std::initializer_list<QWidget *>{Command4, Label23, Command5, Command8, Image1})
        anchors::move(w, anchors::Right);
    Image1->setAlignment(Qt::AlignCenter);
    // The animation's first frame until the window completes itself: the
    // GIF reader is a plugin, and loading it would delay the first paint.
    Image1->setPixmap(pictures::pixmap(QStringLiteral(":/vorkle/logo-first.png"), Image1));
    Image1->setAccessibleName(QStringLiteral("About Vorkle"));
    connect(Image1, &ClickLabel::clicked, this, &SettingsPanel::pictureClicked);
}

void SettingsPanel::startLogo() {
    Image1->play(QStringLiteral(":/vorkle/logo.gif"));
}

void SettingsPanel::buildPages(const Clients &clients) {
    tab2 = named(new QTabWidget(this), "tab2", twips::rect(50, 240, 3810, 2220));
    tab2->setAccessibleName(QStringLiteral("Settings pages"));
    uicolors::setForeColor(tab2->tabBar(), uicolors::foreText());
    // Seven short captions share a narrow strip: keep the tabs tight so all
    // of them show without scroll arrows.
    tab2->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 3px; }"));
    // A larger window gives the pages its extra room (the lists and the
    // tree grow).
    anchors::stretch(tab2, anchors::Both);

    privacy = new PrivacyPage(m_kit, clients.privacy);
    away = new AwayPage(m_kit, clients.away, clients.awayStrip);
    profile = new ProfilePage(m_kit);
    chatIM = new ChatIMPage(m_kit, clients.conversations);
    font = new FontPage(m_kit);
    buddyList = new BuddyListPage(m_kit, clients.book, clients.aliases);
    options = new OptionsPage(m_kit);
    tab2->addTab(privacy, QStringLiteral("privacy"));
    tab2->addTab(away, QStringLiteral("away"));
    tab2->addTab(profile, QStringLiteral("profile"));
    tab2->addTab(chatIM, QStringLiteral("chat/im"));
    tab2->addTab(font, QStringLiteral("font"));
    tab2->addTab(buddyList, QStringLiteral("B/L"));
    tab2->addTab(options, QStringLiteral("options"));
    tab2->setCurrentIndex(0);
    // The page the user turns to is the one shown at the next sign-on.
    connect(tab2, &QTabWidget::currentChanged, this, [this] {
        if (m_kit.settings && tab2->currentWidget())
            m_kit.settings->setSettingsPage(tab2->currentWidget()->objectName());
    });

    connect(Command4, &QPushButton::clicked, this, &SettingsPanel::Command4_Click);
    Command5->setEnabled(true);
    Command8->setEnabled(true);
    connect(Command5, &QPushButton::clicked, this, &SettingsPanel::Command5_Click);
    connect(Command8, &QPushButton::clicked, this, &SettingsPanel::Command8_Click);
    if (const auto scheme = m_kit.settings ? m_kit.settings->schemeColor() : std::nullopt)
        SetColors(render::decimalText(QColor::fromString(*scheme)));

    // The login frame covers the pages, the header and the two labels.
    frmLogin->raise();
}

void SettingsPanel::showChosenPage() {
    const QString chosen = m_kit.settings ? m_kit.settings->settingsPage() : QString();
    // A name no page has (a damaged file) gives the buddy list.
    QWidget *page = buddyList;
    for (int i = 0; i < tab2->count(); ++i)
        if (tab2->widget(i)->objectName() == chosen)
            page = tab2->widget(i);
    tab2->setCurrentWidget(page);
}

// The header ends before the "format" link. A status after the name stays
// whole: the name gives way (elided in its middle) when both do not fit.
void SettingsPanel::showHeader(const QString &rest, bool status) {
    const QString name = shown::nameInText(m_headerName);
    if (!status) {
        labHI->setText(name + rest);
        return;
    }
    const QFontMetrics metrics(labHI->font());
    const int room = labHI->width() - metrics.horizontalAdvance(rest);
    labHI->setText(metrics.elidedText(name, Qt::ElideMiddle, qMax(room, 0)) + rest);
}

void SettingsPanel::Label24_Click() {
    QPointer<SettingsPanel> self(this);
    m_kit.dialogs()->inputText(this, QString(), QStringLiteral("New Format"),
                               frmLogin->screenName(), [self](const QString &text) {
                                   // A cancelled box gives the empty text: nothing to send.
                                   if (!self || text.isEmpty())
                                       return;
                                   if (self->m_kit.toc->FormatUserName(text))
                                       self->m_formatAsked = text;
                                   else
                                       self->m_kit.notSent();
                               });
}

// Servers answer a name they refuse with a bare error (913, or 911).
QString SettingsPanel::formatRefusal(qint16 code) {
    if (m_formatAsked.isEmpty() || (code != 913 && code != 911))
        return QString();
    const QString asked = std::exchange(m_formatAsked, QString());
    return QStringLiteral("The server refused to show your screen name as \"%1\": only capital "
                          "letters and spaces may change.")
        .arg(shown::withoutControls(asked));
}

void SettingsPanel::Command4_Click() {
    QPointer<SettingsPanel> self(this);
    m_kit.dialogs()->pickColor(this, m_schemeColor, [self](bool ok, const QColor &c) {
        if (self)
            self->SetColors(render::decimalText(ok && c.isValid() ? c : self->m_schemeColor));
    });
}

void SettingsPanel::SetColors(const QString &color) {
    const std::optional<QColor> c = render::colorFromText(color);
    if (!c)
        return;
    m_schemeColor = *c;
    if (m_kit.settings)
        m_kit.settings->setSchemeColor(c->name());
    for (const char *name : kSchemeTexts)
        if (QWidget *w = findChild<QWidget *>(QLatin1String(name)))
            uicolors::setForeColor(w, *c);
    if (tab2)
        uicolors::setForeColor(tab2->tabBar(), *c);
}

void SettingsPanel::Command5_Click() {
    const FormatChoice f = font->choice();
    ColourScheme scheme;
    scheme.scheme = ColorToHtml(render::colorValue(m_schemeColor));
    scheme.fontFace = f.fontFace;
    scheme.textColor = f.text;
    scheme.backColor = f.back;
    scheme.bold = f.bold;
    scheme.italic = f.italic;
    scheme.underline = f.underline;
    scheme.strikeout = f.strikeout;
    QPointer<SettingsPanel> self(this);
    m_kit.dialogs()->saveFileName(
        this, QDir(m_colourFolder).filePath(colourfile::suggestedName()),
        [self, scheme](const QString &path) {
            if (!self || path.isEmpty())
                return;
            self->m_colourFolder = QFileInfo(path).absolutePath();
            if (!colourfile::write(path, scheme))
                self->m_kit.Errors(QStringLiteral("The colour file could not be written."));
        });
}

void SettingsPanel::Command8_Click() {
    QPointer<SettingsPanel> self(this);
    m_kit.dialogs()->openFileName(this, m_colourFolder, [self](const QString &path) {
        if (!self || path.isEmpty())
            return;
        self->m_colourFolder = QFileInfo(path).absolutePath();
        const std::optional<ColourScheme> scheme = colourfile::read(path);
        if (!scheme) {
            self->m_kit.Errors(QStringLiteral("This is not a Vorkle colour file."));
            return;
        }
        self->applyColourScheme(*scheme);
    });
}

// As if each value had been chosen on the font page and with "Change Colors".
void SettingsPanel::applyColourScheme(const ColourScheme &scheme) {
    FormatChoice f;
    f.fontFace = scheme.fontFace;
    f.text = scheme.textColor;
    f.back = scheme.backColor;
    f.bold = scheme.bold;
    f.italic = scheme.italic;
    f.underline = scheme.underline;
    f.strikeout = scheme.strikeout;
    font->applyFormat(f);
    font->rememberFormat();
    SetColors(render::decimalText(fromHtml(scheme.scheme)));
}
