#include "idlesource.h"

#include "clock.h"

#include <QCoreApplication>
#include <QEvent>

AppInputIdleSource::AppInputIdleSource(Clock &clock, QObject *parent)
    : QObject(parent), m_clock(clock), m_lastInput(clock.now()) {
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

qint64 AppInputIdleSource::idleMs() {
    return m_clock.now() - m_lastInput;
}

bool AppInputIdleSource::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
        m_lastInput = m_clock.now();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<IdleSource> bestIdleSource(Clock &clock) {
    if (auto desktop = desktopIdleSource())
        return desktop;
    return std::make_unique<AppInputIdleSource>(clock);
}
