#include "frmgroups.h"

#include "client/buddybook.h"
#include "client/notsenttext.h"
#include "uikit/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmGroups::frmGroups(QWidget *main, BuddyBook *book, Alert alert)
    : QWidget(nullptr, Qt::Dialog), m_book(book), m_alert(std::move(alert)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmGroups"));
    setWindowTitle(QStringLiteral("Add Group"));
    setFixedSize(twips::toPixelsX(3255), twips::toPixelsY(1335));
    if (main) {
        setWindowIcon(main->windowIcon());
        setPalette(main->palette());
        setFont(main->font());
        move(main->frameGeometry().topLeft() +
             QPoint(twips::toPixelsX(600), twips::toPixelsY(600)));
    }

    Label1 = new QLabel(QStringLiteral("Group"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twips::rect(120, 120, 3015, 255));
    txtGroup = new QLineEdit(QStringLiteral("buddies"), this);
    txtGroup->setObjectName(QStringLiteral("txtGroup"));
    txtGroup->setGeometry(twips::rect(120, 360, 3015, 315));
    // The default is selected: typing replaces it, Enter takes it.
    txtGroup->selectAll();

    Command1 = new QPushButton(QStringLiteral("Add Group"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(1680, 840, 1455, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmGroups::Command1_Click);
    connect(txtGroup, &QLineEdit::returnPressed, this, &frmGroups::Command1_Click);
}

void frmGroups::Command1_Click() {
    // Sent as typed, not normalised; the book's owner gives it a node.
    const bool sent = !m_book || m_book->addGroup(txtGroup->text());
    close();
    if (!sent && m_alert)
        m_alert(notSentText(m_book->protocol()));
}
