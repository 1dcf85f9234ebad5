#include "frmaddbuddy.h"

#include "client/buddybook.h"
#include "client/notsenttext.h"
#include "protocol/wire.h"
#include "uikit/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmAddBuddy::frmAddBuddy(QWidget *main, BuddyBook *book, Alert alert)
    : QWidget(nullptr, Qt::Dialog), m_main(main), m_book(book), m_alert(std::move(alert)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmAddBuddy"));
    setWindowTitle(QStringLiteral("Add Buddy"));
    setFixedSize(twips::toPixelsX(3255), twips::toPixelsY(1695));
    if (main) {
        setWindowIcon(main->windowIcon());
        setPalette(main->palette());
        setFont(main->font());
    }

    Label1 = new QLabel(QStringLiteral("Screen name"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips::rect(120, 120, 1455, 255));
    txtsn = new QLineEdit(QStringLiteral("Screen name"), this);
    txtsn->setObjectName(QStringLiteral("txtsn"));
    txtsn->setGeometry(twips::rect(120, 360, 1455, 315));

    Label2 = new QLabel(QStringLiteral("Group"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(twips::rect(1680, 120, 1455, 255));
    cmbGroup = new QComboBox(this);
    cmbGroup->setObjectName(QStringLiteral("cmbGroup"));
    cmbGroup->setGeometry(twips::rect(1680, 360, 1455, 315));

    Command1 = new QPushButton(QStringLiteral("Add Buddy"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(1680, 900, 1455, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmAddBuddy::Command1_Click);
    connect(txtsn, &QLineEdit::returnPressed, this, &frmAddBuddy::Command1_Click);
}

void frmAddBuddy::open() {
    if (!m_main || !m_book) {
        unload();
        return;
    }
    m_main->setEnabled(false);
    cmbGroup->clear();
    cmbGroup->addItems(m_book->groups);
    if (m_book->groups.isEmpty()) {
        if (m_alert)
            m_alert(
                QStringLiteral("You don't have any groups to add buddies to, Please add a group."));
        unload();
        return;
    }
    cmbGroup->setCurrentIndex(0);
    if (m_main->isVisible())
        move(m_main->frameGeometry().topLeft() +
             QPoint(twips::toPixelsX(600), twips::toPixelsY(600)));
    show();
    raise();
    activateWindow();
    txtsn->selectAll();
    txtsn->setFocus();
}

void frmAddBuddy::Command1_Click() {
    if (!m_book) {
        close();
        return;
    }
    const QString typed = txtsn->text().trimmed();
    const QString sn = toc::normalizeScreenName(typed);
    txtsn->setText(sn);
    const bool sent = m_book->addBuddy(cmbGroup->currentText(), sn, typed);
    close();
    if (!sent && m_alert)
        m_alert(notSentText(m_book->protocol()));
}

void frmAddBuddy::unload() {
    // Closing, whichever way, gives the main window its input back.
    if (m_main)
        m_main->setEnabled(true);
    deleteLater();
}

void frmAddBuddy::closeEvent(QCloseEvent *event) {
    if (m_main)
        m_main->setEnabled(true);
    event->accept();
}
