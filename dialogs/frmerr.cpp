#include "frmerr.h"

#include "alertsound.h"
#include "uikit/dialogtext.h"
#include "uikit/pictures.h"
#include "uikit/shownname.h"
#include "uikit/twips.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimerEvent>

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

void frmErr::showMessage(const QString &text, bool takeKeyboard) {
    if (!isVisible())
        opening(takeKeyboard);
    // A line of megabytes is cut before it is looked at (and shown::line
    // makes it one line).
    txtErr->setText(shown::line(dialogtext::cut(text, dialogtext::kMaxText)));
}

void frmErr::opening(bool takeKeyboard) {
    setAttribute(Qt::WA_ShowWithoutActivating, !takeKeyboard);
    if (m_main) {
        if (takeKeyboard)
            m_main->setEnabled(false);
        const QPoint corner = m_main->frameGeometry().topLeft();
        move(corner + QPoint(twips::toPixelsX(1000), twips::toPixelsY(1000)));
    }
    playSound();
    if (m_frames.isEmpty()) {
        // Decoded on the first alert, not with the window: a GIF is read
        // by a plugin that the first paint does without.
        const pictures::Animation alert =
            pictures::animation(QStringLiteral(":/vorkle/alert.gif"), Image1);
        for (const pictures::Frame &f : alert.frames) {
            m_frames << QPixmap::fromImage(f.image);
            m_delays << qMax(10, f.delayMs);
        }
    }
    showFrame(0);
    show();
    if (!takeKeyboard)
        return;
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

// It pulses for as long as the window is open, as the file loops forever.
void frmErr::showFrame(int index) {
    if (m_frames.isEmpty())
        return;
    m_frame = index % int(m_frames.size());
    Image1->setPixmap(m_frames[m_frame]);
    m_timer.start(m_delays[m_frame], this);
}

void frmErr::timerEvent(QTimerEvent *event) {
    if (event->timerId() == m_timer.timerId())
        showFrame(m_frame + 1);
    else
        QWidget::timerEvent(event);
}

void frmErr::closeEvent(QCloseEvent *event) {
    m_timer.stop();
    if (m_main)
        m_main->setEnabled(true);
    event->accept();
}
