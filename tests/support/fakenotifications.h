#pragma once
// A desktop notification service run by a test on the private session bus
// of dbus-run-session: it records every Notify and answers as a desktop
// does, with the replaced id or a new one.

#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

// Records every Notify and answers as a desktop does: the replaced id or a new one.
class FakeService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    struct Call {
        QStringList texts; // app, summary, body
        QStringList actions;
        uint replaces, id;
    };
    QList<Call> calls;

  public slots:
    uint Notify(const QString &app, uint replaces, const QString &, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &, int) {
        calls.append({{app, summary, body}, actions, replaces, replaces ? replaces : ++m_last});
        return calls.last().id;
    }

  private:
    uint m_last = 40;
};
