#include "desktopnotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>
#include <QDBusServiceWatcher>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kDefaultAction = QStringLiteral("default");
// The bus daemon answers at once; one that does not is not waited for.
constexpr int kAskTimeoutMs = 1000;

bool hasOwner(const QDBusConnection &bus) {
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << kService;
    const QDBusReply<bool> reply = bus.call(ask, QDBus::Block, kAskTimeoutMs);
    return reply.isValid() && reply.value();
}
} // namespace

DesktopNotifications::DesktopNotifications(QObject *parent) : QObject(parent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Watched before asked, so that a change in between is not missed.
    auto *watcher =
        new QDBusServiceWatcher(kService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString &, const QString &, const QString &newOwner) {
                m_available = !newOwner.isEmpty();
                // A new service numbers from scratch: our ids would name
                // other programs' notifications.
                forgetAll();
            });
    // With the service's name as sender, QtDBus drops the same signals sent
    // by any other program on the bus.
    bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                SLOT(onClosed(uint, uint)));
    m_available = hasOwner(bus);
}

void DesktopNotifications::notify(const QString &key, const QString &title, const QString &text) {
    if (!m_available)
        return;
    const auto waiting = m_unanswered.find(key);
    if (waiting != m_unanswered.end()) {
        // The id to replace is not known yet: only the newest text waits, so
        // a burst into one conversation shows two bubbles, not one each.
        *waiting = Waiting{true, title, text};
        return;
    }
    // Many peers at once: drop rather than pile up calls.
    if (m_unanswered.size() >= kMaxIds)
        return;
    send(key, title, text);
}

void DesktopNotifications::send(const QString &key, const QString &title, const QString &text) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    // Services may read the body as markup; the summary is plain text.
    call << QStringLiteral("Vorkle") << m_idByKey.value(key) << QStringLiteral("vorkle") << title
         << text.toHtmlEscaped() << QStringList{kDefaultAction, QStringLiteral("Show")}
         << QVariantMap() << qint32(-1);
    m_unanswered.insert(key, Waiting());
    auto *watcher =
        new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key](QDBusPendingCallWatcher *done) { answered(key, done); });
}

void DesktopNotifications::answered(const QString &key, QDBusPendingCallWatcher *call) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    // An error, a reply of another shape or id 0 names no notification.
    if (reply.isValid() && reply.value() != 0)
        remember(reply.value(), key);
    const Waiting next = m_unanswered.take(key);
    if (next.due && m_available)
        send(key, next.title, next.text);
}

void DesktopNotifications::remember(uint id, const QString &key) {
    forget(m_idByKey.value(key));
    forget(id); // a reused id belongs to this key alone
    m_keyById.insert(id, key);
    m_idByKey.insert(key, id);
    m_order.append(id);
    if (m_order.size() > kMaxIds)
        forget(m_order.first());
}

void DesktopNotifications::forget(uint id) {
    const auto it = m_keyById.find(id);
    if (it == m_keyById.end())
        return;
    m_idByKey.remove(*it);
    m_keyById.erase(it);
    m_order.removeOne(id);
}

void DesktopNotifications::forgetAll() {
    m_keyById.clear();
    m_idByKey.clear();
    m_order.clear();
}

void DesktopNotifications::onActionInvoked(uint id, const QString &action) {
    // Other programs' notifications share the service and its signals.
    const auto it = m_keyById.constFind(id);
    if (action != kDefaultAction || it == m_keyById.cend())
        return;
    const QString key = *it; // whoever is told may notify again
    emit activated(key);
}

void DesktopNotifications::onClosed(uint id, uint reason) {
    Q_UNUSED(reason);
    forget(id);
}
