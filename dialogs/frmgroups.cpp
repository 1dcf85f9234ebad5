#include "frmgroups.h"

#include "mainwindow/frmmain.h"
#include "protocol/qeltocsock.h"
#include "views/twips.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmGroups::frmGroups(frmMain *main) : QWidget(nullptr, Qt::Dialog), m_main(main) {
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

    Command1 = new QPushButton(QStringLiteral("Add Group"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twips::rect(1680, 840, 1455, 375));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmGroups::Command1_Click);
    connect(txtGroup, &QLineEdit::returnPressed, this, &frmGroups::Command1_Click);
}

void frmGroups::Command1_Click() {
    if (m_main) {
        // Sent as typed, not normalised; the node has no key.
        const QString group = txtGroup->text();
        m_main->toc->AddGroup(group);
        m_main->groups.append(group);
        m_main->addGroupNode(group);
    }
    close();
}
