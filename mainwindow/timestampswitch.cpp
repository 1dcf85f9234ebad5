#include "timestampswitch.h"

#include "client/clientsettings.h"
#include "conversationviews.h"

#include <QAction>
#include <QMenu>

TimestampSwitch::TimestampSwitch(ClientSettings *settings, QMenu *trayMenu,
                                 ConversationViews *views)
    : QObject(views), m_action(trayMenu->addAction(QStringLiteral("Show timestamps"))) {
    m_action->setObjectName(QStringLiteral("mnuTimestamps"));
    m_action->setCheckable(true);
    m_action->setChecked(settings->showTimestamps());
    views->setTimestamps(m_action->isChecked());
    connect(m_action, &QAction::toggled, this, [settings, views](bool on) {
        settings->setShowTimestamps(on);
        views->setTimestamps(on);
    });
}
