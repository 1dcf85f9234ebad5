#include "creditspanel.h"

#include "uikit/animatedpicture.h"
#include "uikit/clicklabel.h"
#include "uikit/pagewidgets.h"
#include "uikit/twips.h"
#include "uikit/uicolors.h"

#include <QLabel>

namespace {

QLabel *creditsLabel(QWidget *panel, const char *name, const QString &text, QRect where) {
    QLabel *l = pagewidgets::label(panel, name, text, where);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

} // namespace

CreditsPanel::CreditsPanel(QWidget *window) : QWidget(window) {
    setObjectName(QStringLiteral("PicCredits"));
    setGeometry(twips::rect(120, 360, 5895, 2655));
    setAutoFillBackground(true);

    // As the settings logo: drawn for the screen, played only while seen.
    // Not a tab stop: a click on it does nothing.
    m_picture = pagewidgets::named(new AnimatedPicture(this), "imgCredits",
                                   twips::rect(120, 120, 1920, 1800));
    m_picture->setAlignment(Qt::AlignCenter);
    m_picture->setFocusPolicy(Qt::NoFocus);

    QLabel *about = creditsLabel(this, "labAbout", QStringLiteral("About vorkle"),
                                 twips::rect(2160, 120, 2295, 255));
    QFont bold = about->font();
    bold.setBold(true);
    about->setFont(bold);
    creditsLabel(this, "labVersion", QStringLiteral("Version:"), twips::rect(2160, 480, 735, 255));
    creditsLabel(this, "labVersionNo", QStringLiteral("2.0.2"), twips::rect(2895, 480, 1095, 255));
    creditsLabel(this, "labProgrammers", QStringLiteral("Programmers:"),
                 twips::rect(2160, 840, 1695, 255));
    creditsLabel(this, "lstProgrammers", QStringLiteral("The Vorkle team"),
                 twips::rect(2160, 1080, 1695, 1455));
    creditsLabel(this, "labThanks", QStringLiteral("Also thanks to"),
                 twips::rect(3960, 840, 1815, 255));
    creditsLabel(this, "lstThanks",
                 QStringLiteral("The Qt Project\nEveryone who tried\nVorkle and told us"),
                 twips::rect(3960, 1080, 1815, 1455));

    Label16 = pagewidgets::named(new ClickLabel(QStringLiteral("Close Tab"), this), "Label16",
                                 twips::rect(4560, 120, 855, 255));
    uicolors::setForeColor(Label16, uicolors::clickable());
    connect(Label16, &ClickLabel::clicked, this, &CreditsPanel::closeRequested);
}

void CreditsPanel::showEvent(QShowEvent *event) {
    // Decoded when the credits are first seen, not with the window.
    if (!m_picture->isAnimated())
        m_picture->play(QStringLiteral(":/vorkle/logo.gif"));
    QWidget::showEvent(event);
}
