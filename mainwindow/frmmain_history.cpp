// The conversation history: opened for the screen name at sign-on and
// closed at logout, fed with every IM and room line the window shows, the
// "Keep conversation history" switch in the tray menu and "View History" in
// the buddy menu.
#include "buddytree.h"
#include "client/clientsettings.h"
#include "client/historyfile.h"
#include "client/historystore.h"
#include "dialogs/frmhistory.h"
#include "frmmain.h"

#include <QAction>
#include <QMenu>
#include <QTreeWidgetItem>

void frmMain::buildHistory() {
    m_history = new HistoryStore(this);
    connect(m_history, &HistoryStore::unavailable, this, &frmMain::Errors);
    mnuHistory = opt->addAction(QStringLiteral("Keep conversation history"));
    mnuHistory->setObjectName(QStringLiteral("mnuHistory"));
    mnuHistory->setCheckable(true);
    mnuHistory->setChecked(m_settings->keepHistory());
    connect(mnuHistory, &QAction::toggled, this, [this](bool on) {
        m_settings->setKeepHistory(on);
        if (!on)
            m_history->close();
        else if (m_signedOn)
            startHistory(m_historyName);
    });
    mnuViewHistory = blClick->addAction(QStringLiteral("View History"));
    mnuViewHistory->setObjectName(QStringLiteral("mnuViewHistory"));
    connect(mnuViewHistory, &QAction::triggered, this, &frmMain::mnuViewHistory_Click);
}

void frmMain::startHistory(const QString &screenName) {
    m_historyName = screenName;
    if (mnuHistory->isChecked())
        m_history->open(history::pathFor(screenName));
}

void frmMain::stopHistory() {
    if (m_history)
        m_history->close();
}

void frmMain::keepLine(const HistoryLine &line) {
    // Nothing is shown before the window is built; the check costs nothing.
    if (m_history)
        m_history->add(line);
}

void frmMain::keepIncomingIM(const QString &sender, const QString &message, bool autoResponse) {
    keepLine(HistoryLine::im(
        sender, false, autoResponse ? HistoryLine::Kind::AutoResponse : HistoryLine::Kind::Message,
        sender, message));
}

void frmMain::mnuViewHistory_Click() {
    QTreeWidgetItem *node = selectedNode();
    if (!node || node->text(0).isEmpty() || isGroup(node->text(0)))
        return;
    // The file of the name signed on last, whether or not it is kept now.
    const QString name = m_historyName.isEmpty() ? ownScreenName() : m_historyName;
    auto *window = new frmHistory(history::pathFor(name), node->text(0), this);
    window->show();
}
