#include "conversationhistory.h"

#include "client/clientsettings.h"
#include "client/historyfile.h"
#include "client/historystore.h"
#include "dialogs/frmhistory.h"

#include <QAction>
#include <QMenu>

ConversationHistory::ConversationHistory(ClientSettings *settings,
                                         std::function<void(const QString &)> alert,
                                         QMenu *trayMenu, QWidget *window)
    : QObject(window), m_settings(settings), m_window(window), m_store(new HistoryStore(this)) {
    connect(m_store, &HistoryStore::unavailable, this, std::move(alert));
    mnuHistory = trayMenu->addAction(QStringLiteral("Keep conversation history"));
    mnuHistory->setObjectName(QStringLiteral("mnuHistory"));
    mnuHistory->setCheckable(true);
    mnuHistory->setChecked(m_settings->keepHistory());
    connect(mnuHistory, &QAction::toggled, this, [this](bool on) {
        m_settings->setKeepHistory(on);
        if (!on)
            m_store->close();
        else if (m_signedOn)
            start(m_name);
    });
}

void ConversationHistory::start(const QString &screenName) {
    m_name = screenName;
    m_signedOn = true;
    if (mnuHistory->isChecked())
        m_store->open(history::pathFor(screenName));
}

void ConversationHistory::stop() {
    m_signedOn = false;
    m_store->close();
}

void ConversationHistory::keep(const HistoryLine &line) {
    m_store->add(line);
}

void ConversationHistory::keepIncomingIM(const QString &sender, const QString &message,
                                         bool autoResponse) {
    keep(HistoryLine::im(
        sender, false, autoResponse ? HistoryLine::Kind::AutoResponse : HistoryLine::Kind::Message,
        sender, message));
}

void ConversationHistory::showWindow(const QString &buddy, const QString &ownName) {
    const QString name = m_name.isEmpty() ? ownName : m_name;
    auto *window = new frmHistory(history::pathFor(name), buddy, m_window);
    window->show();
}
