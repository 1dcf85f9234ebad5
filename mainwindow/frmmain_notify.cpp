// A message that arrives out of sight (another tab selected, the window
// inactive, minimised or hidden): its tab takes a highlight colour until it
// is selected, the window asks for attention, and, by the rules, the tray
// shows the sender and the start of the message as plain text. Captions
// never change: they are the keys of the conversations.
#include "client/clientsettings.h"
#include "frmmain.h"
#include "mdltray.h"
#include "views/messagescan.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTabBar>

namespace {
const QColor kHighlight(200, 0, 0);
} // namespace

void frmMain::buildNotifications() {
    m_clock.start();
    m_notify.setEnabled(m_settings->notifyOnNewIMs());
    mnuNotify = opt->addAction(QStringLiteral("Notify on new IMs"));
    mnuNotify->setObjectName(QStringLiteral("mnuNotify"));
    mnuNotify->setCheckable(true);
    mnuNotify->setChecked(m_notify.enabled());
    connect(mnuNotify, &QAction::toggled, this, [this](bool on) {
        m_notify.setEnabled(on);
        m_settings->setNotifyOnNewIMs(on);
    });
}

bool frmMain::isOnScreen(const QString &caption) const {
    const int index = Tab1->currentIndex();
    return isVisible() && !isMinimized() && isActiveWindow() && index >= 0 &&
           isConversationTab(index, caption);
}

void frmMain::messageOutOfSight(const QString &caption, const QString &from, const QString &message,
                                bool held) {
    if (isOnScreen(caption))
        return;
    // A flood into one conversation must not repaint the strip or ring the
    // desktop once per IM: only a change of mark, or a notification due.
    bool marked = false;
    for (int i = 0; i < Tab1->count(); ++i) {
        if (isConversationTab(i, caption) && i != Tab1->currentIndex() &&
            Tab1->tabTextColor(i) != kHighlight) {
            Tab1->setTabTextColor(i, kHighlight);
            marked = true;
        }
    }
    if (held)
        return;
    const bool due = m_tray && m_notify.due(caption, m_clock.elapsed(), held);
    if (marked || due)
        QApplication::alert(this);
    if (due)
        m_tray->notify(from, NotifyRules::excerpt(render::plainText(message)));
}

// The selected tab has been seen.
void frmMain::markTabSeen(int index) {
    if (index >= 0 && Tab1->tabTextColor(index) == kHighlight)
        Tab1->setTabTextColor(index, QColor());
}
