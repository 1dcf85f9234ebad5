#include "ctlim.h"

#include "inputbox.h"
#include "messagescan.h"
#include "notsent.h"
#include "protocol/wire.h"
#include "spellmenu.h"
#include "transcript.h"
#include "transcriptlinks.h"
#include "transcriptview.h"
#include "uikit/shownname.h"
#include "viewhost.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpSocket>
#include <QTextEdit>
#include <QTimer>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedHeight(24);
    return b;
}

} // namespace

ctlIM::ctlIM(ViewHost *host, QWidget *parent) : QWidget(parent), m_host(host) {
    buildControls();
    UpdateFonts();
    Timer1->start();
}

ctlIM::~ctlIM() {
    // A socket still open would report its closing to a half-destroyed view.
    sckIcon->disconnect(this);
    stopIconFetch();
}

void ctlIM::buildControls() {
    TEXT = new TranscriptView(this);
    TEXT->setObjectName(QStringLiteral("TEXT"));
    render::setupTranscript(TEXT);
    new TranscriptLinks(TEXT, [this](const QString &text) { m_host->Errors(text); });

    txtMsg = new QPlainTextEdit(this);
    txtMsg->setObjectName(QStringLiteral("txtMsg"));
    txtMsg->setFont(QFont(QStringLiteral("Arial")));
    txtMsg->setFixedHeight(40);
    // Tab moves on to the buttons, as in any dialog; a message has no tabs.
    txtMsg->setTabChangesFocus(true);
    txtMsg->setAccessibleName(tr("Message"));
    spelling::attach(txtMsg, m_host->spellChecker());
    TEXT->setAccessibleName(tr("Conversation"));

    txtuser = new QLineEdit(this);
    txtuser->setObjectName(QStringLiteral("txtuser"));
    txtuser->setAccessibleName(tr("Partner"));

    labIMstatus = new QLabel(this);
    labIMstatus->setObjectName(QStringLiteral("labIMstatus"));
    labIMstatus->setTextFormat(Qt::PlainText);

    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setFixedSize(32, 32);
    imgIcon->setScaledContents(true);
    imgIcon->setPixmap(defaultIcon());

    txtHead = new QLabel(this);
    txtHead->setObjectName(QStringLiteral("txtHead"));
    txtHead->setTextFormat(Qt::PlainText);
    txtHead->setText(iconRequestTemplate(m_host ? m_host->iconHost() : QString()));
    txtHead->hide();

    Command3 = button(this, "Command3", tr("Send"));
    Command2 = button(this, "Command2", tr("Warn"));
    Command1 = button(this, "Command1", tr("Block"));
    cmdIgnore = button(this, "cmdIgnore", tr("Add"));
    Command4 = button(this, "Command4", tr("Close"));

    sckIcon = new QTcpSocket(this);
    sckIcon->setObjectName(QStringLiteral("sckIcon"));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1);
    Timer1->setSingleShot(true);

    m_iconTimeout = new QTimer(this);
    m_iconTimeout->setSingleShot(true);

    // The panel is small (about 385 by 177 pixels): the partner line on
    // top, the buttons in a column, and most of the height for the transcript.
    auto *top = new QHBoxLayout;
    top->addWidget(txtuser, 1);
    top->addWidget(labIMstatus, 1);
    top->addWidget(imgIcon);

    auto *talk = new QVBoxLayout;
    talk->addWidget(TEXT, 1);
    talk->addWidget(txtMsg);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    for (QPushButton *b : {Command3, Command2, Command1, cmdIgnore, Command4})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto *body = new QHBoxLayout;
    body->addLayout(talk, 1);
    body->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    connect(Command3, &QPushButton::clicked, this, &ctlIM::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &ctlIM::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &ctlIM::Command1_Click);
    connect(cmdIgnore, &QPushButton::clicked, this, &ctlIM::cmdIgnore_Click);
    connect(Command4, &QPushButton::clicked, this, &ctlIM::Command4_Click);
    render::sendOnEnter(txtMsg, [this] { Command3_Click(); });
    connect(txtMsg, &QPlainTextEdit::textChanged, this,
            [this] { emit typed(IMUser, !txtMsg->toPlainText().isEmpty()); });
    connect(Timer1, &QTimer::timeout, this, &ctlIM::Timer1_Timer);
    connect(sckIcon, &QTcpSocket::connected, this, &ctlIM::sckIcon_Connect);
    connect(sckIcon, &QTcpSocket::readyRead, this, &ctlIM::sckIcon_DataArrival);
    connect(sckIcon, &QTcpSocket::disconnected, this, &ctlIM::sckIcon_Close);
    connect(m_iconTimeout, &QTimer::timeout, this, &ctlIM::stopIconFetch);
}

void ctlIM::im_msg(const QString &user, const QString &msg, bool autoResponse) {
    // What the partner was typing has arrived (the echo of the user's own
    // message says nothing about the partner).
    if (toc::normalizeScreenName(user) == toc::normalizeScreenName(IMUser))
        labIMstatus->clear();
    const int firstBlock = TEXT->blockMark();
    render::showMessage(
        TEXT, user, msg,
        {true, m_timestamps ? QTime::currentTime() : QTime(), autoResponse, m_smileys},
        render::kNoLimit);
    TEXT->messageAppended(firstBlock);
}

void ctlIM::showNote(const QString &text) {
    render::showNotSentText(TEXT, text, render::kNoLimit);
    if (m_host)
        m_host->keepLine(HistoryLine::im(IMUser, true, HistoryLine::Kind::NotSent, {}, text));
}

void ctlIM::showPartner() {
    txtuser->setText(m_host ? m_host->shownName(IMUser) : shown::name(IMUser));
}

void ctlIM::focusInput() {
    txtMsg->setFocus(Qt::TabFocusReason);
}

void ctlIM::receive(const QString &user, const QString &msg, bool autoResponse) {
    TEXT->batchThisPass();
    im_msg(user, msg, autoResponse);
}

void ctlIM::TypeStatus(qint16 status) {
    const QString name = shown::nameInText(IMUser);
    if (status == 2)
        labIMstatus->setText(name + QLatin1String(" is typing..."));
    else if (status == 1)
        labIMstatus->setText(name + QLatin1String(" has entered text"));
    else
        labIMstatus->clear();
}

bool ctlIM::UpdateFonts() {
    if (IMUser.size() <= 1 || !m_host)
        return true;
    const FormatSettings settings = m_host->formatSettings();
    render::applyStyleFlags(txtMsg, settings);
    return render::applyTextColor(txtMsg, settings.fontColorx) &&
           render::applyBackColor(txtMsg, settings.backColorx) &&
           render::applyFontName(txtMsg, settings.fontFace);
}

void ctlIM::Timer1_Timer() {
    Timer1->stop();
    // Shown escaped; replies and the icon go to IMUser as it arrived.
    showPartner();
    txtuser->setReadOnly(true);
    if (!IMUser.isEmpty())
        startIconFetch();
}
