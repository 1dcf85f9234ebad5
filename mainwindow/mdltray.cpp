#include "mdltray.h"

#include <QTimer>

mdlTray::mdlTray(QObject *parent) : QObject(parent), m_watch(new QTimer(this)) {
    m_watch->setInterval(kWatchMs);
    connect(m_watch, &QTimer::timeout, this, &mdlTray::followTray);
}

mdlTray::~mdlTray() {
    deleteTrayIcon();
}

bool mdlTray::addTrayIcon(const QIcon &icon, const QString &tip) {
    m_picture = icon;
    m_tip = tip;
    m_watch->start();
    followTray();
    return isShown();
}

void mdlTray::deleteTrayIcon() {
    m_watch->stop();
    hideIcon();
}

void mdlTray::followTray() {
    const bool available = trayAvailable && trayAvailable();
    if (available && !m_icon)
        showIcon();
    else if (!available && m_icon)
        hideIcon();
}

void mdlTray::showIcon() {
    m_icon = new QSystemTrayIcon(m_picture, this);
    m_icon->setToolTip(m_tip);
    connect(m_icon, &QSystemTrayIcon::activated, this, &mdlTray::activation);
    connect(m_icon, &QSystemTrayIcon::messageClicked, this, &mdlTray::messageClicked);
    m_icon->show();
}

void mdlTray::hideIcon() {
    if (!m_icon)
        return;
    m_icon->hide();
    delete m_icon;
    m_icon = nullptr;
}

void mdlTray::setToolTip(const QString &tip) {
    m_tip = tip;
    if (m_icon)
        m_icon->setToolTip(tip);
}

void mdlTray::notify(const QString &title, const QString &text) {
    m_last = title + QLatin1String(": ") + text;
    if (!m_icon)
        return;
    // The title is plain text to every tray; the body is read as markup
    // where the notification service shows it, and none may come from a
    // peer. The tray Qt draws itself shows it as it is.
    const QString body = readsMarkup && readsMarkup() ? text.toHtmlEscaped() : text;
    m_icon->showMessage(title, body, QSystemTrayIcon::Information);
    emit messageShown(title, body);
}

bool mdlTray::opensMenu(QSystemTrayIcon::ActivationReason reason) {
    return reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context;
}

void mdlTray::activation(QSystemTrayIcon::ActivationReason reason) {
    if (opensMenu(reason))
        emit menuRequested();
}
