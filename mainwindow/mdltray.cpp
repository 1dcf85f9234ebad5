#include "mdltray.h"

#include <QIcon>

mdlTray::mdlTray(QObject *parent) : QObject(parent) {}

mdlTray::~mdlTray() {
    deleteTrayIcon();
}

bool mdlTray::addTrayIcon(const QIcon &icon, const QString &tip) {
    if (m_icon || !QSystemTrayIcon::isSystemTrayAvailable())
        return m_icon != nullptr;
    m_icon = new QSystemTrayIcon(icon, this);
    m_icon->setToolTip(tip);
    connect(m_icon, &QSystemTrayIcon::activated, this, &mdlTray::activation);
    connect(m_icon, &QSystemTrayIcon::messageClicked, this, &mdlTray::messageClicked);
    m_icon->show();
    return true;
}

void mdlTray::deleteTrayIcon() {
    if (!m_icon)
        return;
    m_icon->hide();
    delete m_icon;
    m_icon = nullptr;
}

void mdlTray::setToolTip(const QString &tip) {
    if (m_icon)
        m_icon->setToolTip(tip);
}

void mdlTray::notify(const QString &title, const QString &text) {
    m_last = title + QLatin1String(": ") + text;
    // Desktops may read markup in a notification: none may come from a peer.
    if (m_icon)
        m_icon->showMessage(title.toHtmlEscaped(), text.toHtmlEscaped(),
                            QSystemTrayIcon::Information);
}

bool mdlTray::opensMenu(QSystemTrayIcon::ActivationReason reason) {
    return reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context;
}

void mdlTray::activation(QSystemTrayIcon::ActivationReason reason) {
    if (opensMenu(reason))
        emit menuRequested();
}
