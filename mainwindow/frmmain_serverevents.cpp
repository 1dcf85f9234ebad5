// Server events the window shows beyond the buddy list and conversations:
// a buddy's profile page, a warning received, and list changes made by the
// account's other sessions (servers tell the acting session nothing, or
// only "NEW_BUDDY_REPLY2", so the window never waits for an echo).
#include "buddytree.h"
#include "client/buddybook.h"
#include "client/profilefetch.h"
#include "dialogs/frmprofile.h"
#include "frmmain.h"
#include "protocol/qeltocsock.h"
#include "protocol/wire.h"
#include "uikit/shownname.h"

#include <QFontMetrics>
#include <QLabel>

void frmMain::connectServerEvents() {
    m_profileFetch = new ProfileFetch(this);
    connect(toc, &QelTOCSock::UserProfile, this, [this](const QString &strURL) {
        m_profileFetch->fetch(strURL, toc->tocServer(), toc->port());
    });
    connect(m_profileFetch, &ProfileFetch::fetched, this,
            [this](const QUrl &url, const QString &html) { profileWindow()->showPage(url, html); });
    connect(
        m_profileFetch, &ProfileFetch::failed, this,
        [this](const QUrl &url, const QString &why) { profileWindow()->showFailure(url, why); });
    connect(toc, &QelTOCSock::Warned, this, &frmMain::toc_Warned);
    connect(toc, &QelTOCSock::GroupAdded, this, &frmMain::toc_GroupAdded);
    connect(toc, &QelTOCSock::BuddyRemoved, this, &frmMain::toc_BuddyRemoved);
}

frmProfile *frmMain::profileWindow() {
    if (!m_profile)
        m_profile = std::make_unique<frmProfile>(this);
    return m_profile.get();
}

void frmMain::toc_Warned(const QString &intWarningLevel, const QString &) {
    showHeader(QStringLiteral(": warning level %1%").arg(shown::line(intWarningLevel)), true);
}

// The header ends before the "format" link. A status after the name stays
// whole: the name gives way (elided in its middle) when both do not fit.
void frmMain::showHeader(const QString &rest, bool status) {
    const QString name = shown::nameInText(m_headerName);
    if (!status) {
        labHI->setText(name + rest);
        return;
    }
    const QFontMetrics metrics(labHI->font());
    const int room = labHI->width() - metrics.horizontalAdvance(rest);
    labHI->setText(metrics.elidedText(name, Qt::ElideMiddle, qMax(room, 0)) + rest);
}

// Another session of the account added a group: it shows here too.
void frmMain::toc_GroupAdded(const QString &strGroup) {
    if (strGroup.isEmpty() || isGroup(strGroup))
        return;
    groups.append(strGroup);
    TreeBL->addTopNode(strGroup, strGroup);
}

void frmMain::toc_BuddyRemoved(const QString &strGroup, const QString &strBuddy) {
    TreeBL->removeBuddyFromGroup(strGroup, strBuddy);
}

// Another session's buddy joins the known buddies, to show once online.
void frmMain::rememberAddedBuddy(const QString &group, const QString &buddy) {
    if (!buddy.isEmpty() && !book->groupsOf(buddy).contains(group))
        BuddyListx.append(group + QLatin1Char(':') + toc::normalizeScreenName(buddy));
}
