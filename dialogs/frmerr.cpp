#include "frmerr.h"

#include "alertsound.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMovie>
#include <QPushButton>

namespace {
bool g_soundOn = true;
}

void frmErr::setSoundEnabled(bool on) {
    g_soundOn = on;
}

bool frmErr::soundEnabled() {
    return g_soundOn && qEnvironmentVariableIsEmpty("VORKLE_NO_SOUND");
}

frmErr::frmErr(QWidget *mainWindow) : QWidget(nullptr, Qt::Dialog), m_main(mainWindow) {
    setWindowTitle(QStringLiteral("Alert Window"));
    setFixedSize(twips::toPixelsX(4215), twips::toPixelsY(1575));
    if (mainWindow) {
        setWindowIcon(mainWindow->windowIcon());
        setPalette(mainWindow->palette());
        setFont(mainWindow->font());
    }

    Frame1 = new QGroupBox(QStringLiteral("Alert"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twips::rect(120, 60, 3975, 1035));

    Image1 = new QLabel(Frame1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twips::rect(180, 300, 135, 375));
    m_movie = new QMovie(QStringLiteral(":/vorkle/alert.gif"), "GIF", this);
    Image1->setMovie(m_movie);

    txtErr = new QLabel(Frame1);
    txtErr->setObjectName(QStringLiteral("txtErr"));
    // Server text: shown as written, never as markup.
    txtErr->setTextFormat(Qt::PlainText);
    txtErr->setWordWrap(true);
    txtErr->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    txtErr->setGeometry(twips::rect(480, 240, 3375, 735));

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(3000, 1155, 1095, 330));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);
}

frmErr::~frmErr() = default;

QString frmErr::message() const {
    return txtErr->text();
}

void frmErr::showMessage(const QString &text) {
    if (!isVisible())
        opening();
    txtErr->setText(shown::line(text));
}

void frmErr::opening() {
    if (m_main) {
        m_main->setEnabled(false);
        const QPoint corner = m_main->frameGeometry().topLeft();
        move(corner + QPoint(twips::toPixelsX(1000), twips::toPixelsY(1000)));
    }
    playSound();
    m_movie->start();
    show();
    raise();
    activateWindow();
    Command1->setFocus();
}

void frmErr::playSound() {
    if (!soundEnabled())
        return;
    if (!m_sound)
        m_sound = alertsound::create(this);
    // Fire and forget: without an audio device this simply plays nothing.
    if (m_sound)
        QMetaObject::invokeMethod(m_sound, "play");
}

void frmErr::closeEvent(QCloseEvent *event) {
    m_movie->stop();
    if (m_main)
        m_main->setEnabled(true);
    event->accept();
}
