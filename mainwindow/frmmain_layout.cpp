// The window's widgets with their names, places (in twips), colours, fonts
// and defaults.
#include "animatedpicture.h"
#include "buddytree.h"
#include "clicklabel.h"
#include "frmmain.h"
#include "uikit/pagewidgets.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"

#include <QCheckBox>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

using pagewidgets::field;
using pagewidgets::label;

namespace {

template <typename W> W *named(W *w, const char *name, QRect where) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(where);
    return w;
}

ClickLabel *clickLabel(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *l = named(new ClickLabel(text, parent), name, where);
    uicolors::setForeColor(l, uicolors::clickable());
    return l;
}

QWidget *panel(QWidget *parent, const char *name, QRect where) {
    auto *p = named(new QWidget(parent), name, where);
    p->setAutoFillBackground(true);
    return p;
}

// Our own pictures: read as PNG without asking every image plugin first
// (loading them all would cost more than the rest of the first paint).
QPixmap png(const char *path) {
    QImageReader reader(QLatin1String(path), "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

QIcon pngIcon(const char *path) {
    return QIcon(png(path));
}

} // namespace

void frmMain::loadImages() {
    ImageList1 = {pngIcon(":/vorkle/buddy-online.png"), pngIcon(":/vorkle/buddy-idle.png"),
                  pngIcon(":/vorkle/buddy-away.png"), pngIcon(":/vorkle/buddy-mobile.png")};
}

void frmMain::buildWindow() {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(pngIcon(":/vorkle/vorkle.png"));
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(8.25);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::Window, uicolors::windowBack());
    p.setColor(QPalette::Button, uicolors::windowBack());
    setPalette(p);
    setAutoFillBackground(true);
    // A fixed layout: the client area of the normal (not away) state.
    setFixedSize(twips::toPixelsX(5850), twips::toPixelsY(3000));

    Tab1 = named(new QTabBar(this), "Tab1", twips::rect(0, 0, 5895, 360));
    Tab1->setExpanding(false);
    Tab1->setDrawBase(true);
    connect(Tab1, &QTabBar::currentChanged, this, [this](int) { Tab1_Click(); });
}

void frmMain::buildPanels() {
    PicLogin = panel(this, "PicLogin", twips::rect(0, 360, 5895, 2655));
    // Moved at start-up under the tabs.
    PicIM = panel(this, "PicIM", twips::rect(120, 360, 5775, 2655));
    PicChat = panel(this, "PicChat", twips::rect(120, 360, 5775, 2655));
    PicCredits = panel(this, "PicCredits", twips::rect(120, 360, 5895, 2655));
    // Below the normal client area: seen only when the window is enlarged.
    PicAway = panel(this, "PicAway", twips::rect(0, 3120, 5895, 975));
}

void frmMain::buildLoginFrame() {
    frmLogin = named(new QFrame(PicLogin), "frmLogin", twips::rect(0, 0, 3855, 2655));
    frmLogin->setFrameShape(QFrame::StyledPanel);
    frmLogin->setAutoFillBackground(true);

    labFrm = label(frmLogin, "labFrm", QStringLiteral("Login"), twips::rect(195, 120, 495, 255));
    QFont bold = labFrm->font();
    bold.setBold(true);
    labFrm->setFont(bold);

    Label1 =
        label(frmLogin, "Label1", QStringLiteral("Screen Name"), twips::rect(240, 360, 1815, 255));
    txtSn = field(frmLogin, "txtSn", QString(), twips::rect(240, 600, 1455, 255));
    Label2 =
        label(frmLogin, "Label2", QStringLiteral("Password"), twips::rect(1800, 360, 1815, 255));
    txtPw = field(frmLogin, "txtPw", QString(), twips::rect(1800, 600, 1455, 255));
    txtPw->setEchoMode(QLineEdit::Password);
    Label3 = label(frmLogin, "Label3", QStringLiteral("Server"), twips::rect(240, 960, 1815, 255));
    txtServer = field(frmLogin, "txtServer", kDefaultServer, twips::rect(240, 1200, 2295, 255));
    txtPort = field(frmLogin, "txtPort", QStringLiteral("5190"), twips::rect(2520, 1200, 735, 255));

    Check1 = named(new QCheckBox(QStringLiteral("Auto Block All"), frmLogin), "Check1",
                   twips::rect(240, 1560, 1695, 255));
    uicolors::setForeColor(Check1, Qt::black);

    cmdLogin = named(new QPushButton(QStringLiteral("Login"), frmLogin), "cmdLogin",
                     twips::rect(2400, 1560, 855, 300));
    cmdLogin->setIcon(windowIcon());
    uicolors::setBackColor(cmdLogin, uicolors::windowBack());
    connect(cmdLogin, &QPushButton::clicked, this, &frmMain::cmdLogin_Click);

    labStat = label(frmLogin, "labStat", kOffline, twips::rect(240, 1920, 3015, 255));
    // Below the status line; usable once a secret store answers.
    chkRemember = named(new QCheckBox(QStringLiteral("Remember password"), frmLogin), "chkRemember",
                        twips::rect(240, 2220, 3015, 255));
    uicolors::setForeColor(chkRemember, Qt::black);
    chkRemember->setEnabled(false);
}

void frmMain::buildSettingsPanel() {
    // Ends before "format" (at 2160), so that a long header never runs
    // under the link.
    labHI = label(PicLogin, "labHI", QStringLiteral("user's configuration."),
                  twips::rect(120, 0, 1980, 255));
    Label24 =
        clickLabel(PicLogin, "Label24", QStringLiteral("format"), twips::rect(2160, 0, 615, 255));
    Label6 =
        clickLabel(PicLogin, "Label6", QStringLiteral("Logout"), twips::rect(3120, 0, 615, 255));
    connect(Label6, &ClickLabel::clicked, this, &frmMain::Label6_Click);

    Command4 = named(new QPushButton(QStringLiteral("Change Colors"), PicLogin), "Command4",
                     twips::rect(4320, 0, 1335, 300));
    Label23 =
        label(PicLogin, "Label23", QStringLiteral("Settings:"), twips::rect(4320, 360, 615, 255));
    Command5 = named(new QPushButton(QStringLiteral("Save"), PicLogin), "Command5",
                     twips::rect(4320, 600, 615, 300));
    Command5->setEnabled(false);
    Command8 = named(new QPushButton(QStringLiteral("Load"), PicLogin), "Command8",
                     twips::rect(5040, 600, 615, 300));
    Command8->setEnabled(false);

    Image1 = named(new AnimatedPicture(PicLogin), "Image1", twips::rect(3960, 840, 1920, 1800));
    Image1->setAlignment(Qt::AlignCenter);
    // The animation's first frame until the window completes itself: the
    // GIF reader is a plugin, and loading it would delay the first paint.
    Image1->setPixmap(png(":/vorkle/logo-first.png"));
}

void frmMain::startLogo() {
    Image1->play(QStringLiteral(":/vorkle/logo.gif"));
}

void frmMain::buildPages() {
    tab2 = named(new QTabWidget(PicLogin), "tab2", twips::rect(50, 240, 3810, 2220));
    uicolors::setForeColor(tab2->tabBar(), uicolors::foreText());
    // Six short captions share a narrow strip: keep the tabs tight so all
    // of them show without scroll arrows.
    tab2->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 2px 5px; }"));
    const auto page = [this](const char *name, const QString &caption) {
        auto *w = new QWidget;
        w->setObjectName(QLatin1String(name));
        tab2->addTab(w, caption);
        return w;
    };
    // The pages' contents, except the buddy list, are added by their owners.
    pagePrivacy = page("pagePrivacy", QStringLiteral("privacy"));
    pageAway = page("pageAway", QStringLiteral("away"));
    pageProfile = page("pageProfile", QStringLiteral("profile"));
    pageChatIM = page("pageChatIM", QStringLiteral("chat/im"));
    pageFont = page("pageFont", QStringLiteral("font"));
    pageBL = page("pageBL", QStringLiteral("B/L"));
    tab2->setCurrentIndex(0);

    TreeBL = named(new BuddyTree(pageBL), "TreeBL", twips::rect(60, 60, 2640, 1680));
    QPalette p = TreeBL->palette();
    p.setColor(QPalette::Base, Qt::white);
    TreeBL->setPalette(p);
    connect(TreeBL, &QTreeWidget::itemClicked, this, [this] { TreeBL_Click(); });

    Command6 = named(new QPushButton(QStringLiteral("Options"), pageBL), "Command6",
                     twips::rect(2760, 60, 855, 300));
    connect(Command6, &QPushButton::clicked, this, &frmMain::Command6_Click);

    // The privacy, away, profile and font pages and the away strip.
    buildPrivacyPage();
    buildAwayPages();
    buildFontPage();

    // The login frame covers the pages, the header and the two labels.
    frmLogin->raise();
}
