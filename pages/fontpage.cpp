#include "fontpage.h"

#include "client/clientsettings.h"
#include "uikit/clickfield.h"
#include "uikit/dialogprovider.h"
#include "uikit/pagewidgets.h"
#include "uikit/uicolors.h"
#include "views/color2html.h"
#include "views/colortext.h"

#include <QCheckBox>
#include <QLabel>
#include <QPointer>

using namespace pagewidgets;

namespace {

// "#RRGGBB" read back into a colour; black when it does not read.
QColor fromHtml(const QString &html) {
    const QColor c = QColor::fromString(html);
    return c.isValid() ? c : QColor(Qt::black);
}

ClickField *clickField(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *f = named(new ClickField(text, parent), name, where);
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

FontPage::FontPage(const PageKit &kit, QWidget *parent) : QWidget(parent), m_kit(kit) {
    setObjectName(QStringLiteral("pageFont"));
    Label18 = label(this, "Label18", QStringLiteral("Font Face"), onPage(120, 360, 1095, 255));
    txtFont = clickField(this, "txtFont", QStringLiteral("Arial"), onPage(120, 600, 1575, 315));
    Label17 = label(this, "Label17", QStringLiteral("Font Color"), onPage(1800, 360, 1095, 255));
    txtColor =
        clickField(this, "txtColor", QStringLiteral("#000000"), onPage(1800, 600, 1575, 315));
    Label19 = label(this, "Label19", QStringLiteral("Back Color"), onPage(120, 960, 1095, 255));
    txtBackColor =
        clickField(this, "txtBackColor", QStringLiteral("#FFFFFF"), onPage(120, 1200, 1215, 315));
    Label18->setBuddy(txtFont);
    Label17->setBuddy(txtColor);
    Label19->setBuddy(txtBackColor);
    connect(txtFont, &ClickField::clicked, this, &FontPage::txtFont_Click);
    connect(txtColor, &ClickField::clicked, this, &FontPage::txtColor_Click);
    connect(txtBackColor, &ClickField::clicked, this, &FontPage::txtBackColor_Click);

    chkBold = styleSwitch(this, "chkBold", QStringLiteral("Bold"), onPage(1440, 1080, 855, 255),
                          &QFont::setBold);
    chkIt = styleSwitch(this, "chkIt", QStringLiteral("Italic"), onPage(2520, 1080, 735, 255),
                        &QFont::setItalic);
    chkU = styleSwitch(this, "chkU", QStringLiteral("Underline"), onPage(1440, 1320, 1095, 255),
                       &QFont::setUnderline);
    ChkS = styleSwitch(this, "ChkS", QStringLiteral("Strikethru"), onPage(2520, 1320, 1095, 255),
                       &QFont::setStrikeOut);
    for (QCheckBox *c : {chkBold, chkIt, chkU, ChkS})
        connect(c, &QCheckBox::clicked, this, [this] {
            emit formatChanged();
            rememberFormat();
        });

    if (const auto format = m_kit.settings ? m_kit.settings->format() : std::nullopt)
        applyFormat(*format);
}

// A cancelled dialog changes nothing; the views are refreshed all the same.
void FontPage::txtFont_Click() {
    QPointer<FontPage> self(this);
    m_kit.dialogs()->pickFont(this, QFont(txtFont->text()), [self](bool ok, const QFont &font) {
        if (!self)
            return;
        if (ok && font.family().size() > 1)
            self->txtFont->setText(font.family());
        emit self->formatChanged();
        self->rememberFormat();
    });
}

void FontPage::txtColor_Click() {
    QPointer<FontPage> self(this);
    m_kit.dialogs()->pickColor(this, fromHtml(txtColor->text()), [self](bool ok, const QColor &c) {
        if (!self)
            return;
        if (ok && c.isValid()) {
            self->txtColor->setText(ColorToHtml(render::colorValue(c)));
            self->fontColorx = render::decimalText(c);
        }
        emit self->formatChanged();
        self->rememberFormat();
    });
}

void FontPage::txtBackColor_Click() {
    QPointer<FontPage> self(this);
    m_kit.dialogs()->pickColor(
        this, fromHtml(txtBackColor->text()), [self](bool ok, const QColor &c) {
            if (!self)
                return;
            if (ok && c.isValid()) {
                self->txtBackColor->setText(ColorToHtml(render::colorValue(c)));
                self->backColorx = render::decimalText(c);
            }
            emit self->backChanged();
            self->rememberFormat();
        });
}

FormatChoice FontPage::choice() const {
    FormatChoice f;
    f.fontFace = txtFont->text();
    f.text = txtColor->text();
    f.back = txtBackColor->text();
    f.bold = chkBold->isChecked();
    f.italic = chkIt->isChecked();
    f.underline = chkU->isChecked();
    f.strikeout = ChkS->isChecked();
    return f;
}

void FontPage::rememberFormat() {
    if (m_kit.settings)
        m_kit.settings->setFormat(choice());
}

void FontPage::applyFormat(const FormatChoice &f) {
    txtFont->setText(f.fontFace);
    txtColor->setText(f.text);
    fontColorx = render::decimalText(fromHtml(f.text));
    txtBackColor->setText(f.back);
    backColorx = render::decimalText(fromHtml(f.back));
    chkBold->setChecked(f.bold);
    chkIt->setChecked(f.italic);
    chkU->setChecked(f.underline);
    ChkS->setChecked(f.strikeout);
    emit formatChanged();
}

FormatSettings FontPage::formatSettings() const {
    FormatSettings s;
    s.fontColorx = fontColorx;
    s.backColorx = backColorx;
    s.bold = chkBold->isChecked();
    s.italic = chkIt->isChecked();
    s.strikeout = ChkS->isChecked();
    s.underline = chkU->isChecked();
    s.fontFace = txtFont->text();
    s.textColorHtml = txtColor->text();
    s.backColorHtml = txtBackColor->text();
    return s;
}
