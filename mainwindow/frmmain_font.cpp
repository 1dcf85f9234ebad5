// The "font" page (the user's formatting of outgoing text), refreshing the
// conversation views, and the colour scheme: "Change Colors", "Save" and
// "Load".
#include "clickfield.h"
#include "client/clientsettings.h"
#include "colourfile.h"
#include "frmmain.h"
#include "uikit/dialogprovider.h"
#include "uikit/pagewidgets.h"
#include "uikit/uicolors.h"
#include "views/color2html.h"
#include "views/colortext.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

using namespace pagewidgets;

namespace {

using render::colorValue;
const auto decimal = render::decimalText;

// "#RRGGBB" read back into a colour; black when it does not read.
QColor fromHtml(const QString &html) {
    const QColor c = QColor::fromString(html);
    return c.isValid() ? c : QColor(Qt::black);
}

ClickField *clickField(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *f = new ClickField(text, parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(where);
    uicolors::setForeColor(f, uicolors::foreText());
    whiteBase(f);
    return f;
}

QCheckBox *styleSwitch(QWidget *parent, const char *name, const QString &text, QRect where,
                       void (QFont::*setStyle)(bool)) {
    QCheckBox *c = check(parent, name, text, where);
    QFont f = c->font();
    (f.*setStyle)(true);
    c->setFont(f);
    return c;
}

} // namespace

void frmMain::buildFontPage() {
    QWidget *page = pageFont;
    Label18 = label(page, "Label18", QStringLiteral("Font Face"), onPage(120, 360, 1095, 255));
    txtFont = clickField(page, "txtFont", QStringLiteral("Arial"), onPage(120, 600, 1575, 315));
    Label17 = label(page, "Label17", QStringLiteral("Font Color"), onPage(1800, 360, 1095, 255));
    txtColor =
        clickField(page, "txtColor", QStringLiteral("#000000"), onPage(1800, 600, 1575, 315));
    Label19 = label(page, "Label19", QStringLiteral("Back Color"), onPage(120, 960, 1095, 255));
    txtBackColor =
        clickField(page, "txtBackColor", QStringLiteral("#FFFFFF"), onPage(120, 1200, 1215, 315));
    connect(txtFont, &ClickField::clicked, this, &frmMain::txtFont_Click);
    connect(txtColor, &ClickField::clicked, this, &frmMain::txtColor_Click);
    connect(txtBackColor, &ClickField::clicked, this, &frmMain::txtBackColor_Click);

    chkBold = styleSwitch(page, "chkBold", QStringLiteral("Bold"), onPage(1440, 1080, 855, 255),
                          &QFont::setBold);
    chkIt = styleSwitch(page, "chkIt", QStringLiteral("Italic"), onPage(2520, 1080, 735, 255),
                        &QFont::setItalic);
    chkU = styleSwitch(page, "chkU", QStringLiteral("Underline"), onPage(1440, 1320, 1095, 255),
                       &QFont::setUnderline);
    ChkS = styleSwitch(page, "ChkS", QStringLiteral("Strikethru"), onPage(2520, 1320, 1095, 255),
                       &QFont::setStrikeOut);
    for (QCheckBox *c : {chkBold, chkIt, chkU, ChkS})
        connect(c, &QCheckBox::clicked, this, [this] {
            refreshAllViews();
            rememberFormat();
        });

    // The colour scheme buttons beside the pages.
    m_schemeColor = uicolors::foreText();
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    Command5->setEnabled(true);
    Command8->setEnabled(true);
    connect(Command5, &QPushButton::clicked, this, &frmMain::Command5_Click);
    connect(Command8, &QPushButton::clicked, this, &frmMain::Command8_Click);
}

void frmMain::refreshAllViews() {
    refreshChatViews();
    for (ctlIM *view : std::as_const(imViews))
        if (view)
            view->UpdateFonts();
}

void frmMain::refreshChatViews() {
    for (ctlChat *view : std::as_const(chatViews))
        if (view)
            view->UpdateFonts();
}

// A cancelled dialog changes nothing; the views are refreshed all the same.
void frmMain::txtFont_Click() {
    QPointer<frmMain> self(this);
    dialogs()->pickFont(this, QFont(txtFont->text()), [self](bool ok, const QFont &font) {
        if (!self)
            return;
        if (ok && font.family().size() > 1)
            self->txtFont->setText(font.family());
        self->refreshAllViews();
        self->rememberFormat();
    });
}

void frmMain::txtColor_Click() {
    QPointer<frmMain> self(this);
    dialogs()->pickColor(this, fromHtml(txtColor->text()), [self](bool ok, const QColor &c) {
        if (!self)
            return;
        if (ok && c.isValid()) {
            self->txtColor->setText(ColorToHtml(colorValue(c)));
            self->fontColorx = decimal(c);
        }
        self->refreshAllViews();
        self->rememberFormat();
    });
}

void frmMain::txtBackColor_Click() {
    QPointer<frmMain> self(this);
    dialogs()->pickColor(this, fromHtml(txtBackColor->text()), [self](bool ok, const QColor &c) {
        if (!self)
            return;
        if (ok && c.isValid()) {
            self->txtBackColor->setText(ColorToHtml(colorValue(c)));
            self->backColorx = decimal(c);
        }
        // An open IM view takes the new background at its next refresh.
        self->refreshChatViews();
        self->rememberFormat();
    });
}

void frmMain::Command4_Click() {
    QPointer<frmMain> self(this);
    dialogs()->pickColor(this, m_schemeColor, [self](bool ok, const QColor &c) {
        if (self)
            self->SetColors(decimal(ok && c.isValid() ? c : self->m_schemeColor));
    });
}

QColor frmMain::schemeColor() const {
    return m_schemeColor;
}

void frmMain::SetColors(const QString &color) {
    const std::optional<QColor> c = render::colorFromText(color);
    if (!c)
        return;
    m_schemeColor = *c;
    if (m_settings)
        m_settings->setSchemeColor(c->name());
    const QList<QWidget *> widgets = {
        labHI,    labFrm,  Label4,       Label5,  Label20, lstBlock,      lstAllow,
        lstAway,  txtAway, txtChatName,  txtEx,   Label18, Label17,       txtFont,
        txtColor, Label19, txtBackColor, txtIM,   Label1,  Label2,        Label3,
        txtSn,    txtPw,   txtServer,    txtPort, labStat, tab2->tabBar()};
    for (QWidget *w : widgets)
        if (w)
            uicolors::setForeColor(w, *c);
}

void frmMain::Command5_Click() {
    ColourScheme scheme;
    scheme.scheme = ColorToHtml(colorValue(m_schemeColor));
    scheme.fontFace = txtFont->text();
    scheme.textColor = txtColor->text();
    scheme.backColor = txtBackColor->text();
    scheme.bold = chkBold->isChecked();
    scheme.italic = chkIt->isChecked();
    scheme.underline = chkU->isChecked();
    scheme.strikeout = ChkS->isChecked();
    QPointer<frmMain> self(this);
    dialogs()->saveFileName(this, colourfile::suggestedName(), [self, scheme](const QString &path) {
        if (!self || path.isEmpty())
            return;
        if (!colourfile::write(path, scheme))
            self->Errors(QStringLiteral("The colour file could not be written."));
    });
}

void frmMain::Command8_Click() {
    QPointer<frmMain> self(this);
    dialogs()->openFileName(this, [self](const QString &path) {
        if (!self || path.isEmpty())
            return;
        const std::optional<ColourScheme> scheme = colourfile::read(path);
        if (!scheme) {
            self->Errors(QStringLiteral("This is not a Vorkle colour file."));
            return;
        }
        self->applyColourScheme(*scheme);
    });
}

// As if each value had been chosen on the page and with "Change Colors".
void frmMain::applyColourScheme(const ColourScheme &scheme) {
    FormatChoice f;
    f.fontFace = scheme.fontFace;
    f.text = scheme.textColor;
    f.back = scheme.backColor;
    f.bold = scheme.bold;
    f.italic = scheme.italic;
    f.underline = scheme.underline;
    f.strikeout = scheme.strikeout;
    applyFormat(f);
    rememberFormat();
    SetColors(decimal(fromHtml(scheme.scheme)));
}

// The font page's values, as if each had been chosen there.
void frmMain::applyFormat(const FormatChoice &f) {
    txtFont->setText(f.fontFace);
    txtColor->setText(f.text);
    fontColorx = decimal(fromHtml(f.text));
    txtBackColor->setText(f.back);
    backColorx = decimal(fromHtml(f.back));
    chkBold->setChecked(f.bold);
    chkIt->setChecked(f.italic);
    chkU->setChecked(f.underline);
    ChkS->setChecked(f.strikeout);
    refreshAllViews();
}

FormatSettings frmMain::formatSettings() const {
    FormatSettings s;
    s.fontColorx = fontColorx;
    s.backColorx = backColorx;
    // Views made before the font page exists read the defaults.
    if (!chkBold)
        return s;
    s.bold = chkBold->isChecked();
    s.italic = chkIt->isChecked();
    s.strikeout = ChkS->isChecked();
    s.underline = chkU->isChecked();
    s.fontFace = txtFont->text();
    s.textColorHtml = txtColor->text();
    s.backColorHtml = txtBackColor->text();
    return s;
}
