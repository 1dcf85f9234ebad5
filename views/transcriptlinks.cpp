#include "transcriptlinks.h"

#include "linkaddress.h"
#include "uikit/shownname.h"
#include "weblinks.h"

#include <QDesktopServices>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <QToolTip>
#include <utility>

TranscriptLinks::TranscriptLinks(QTextEdit *view, Say say)
    : QObject(view), m_view(view), m_viewport(view->viewport()), m_say(std::move(say)) {
    m_viewport->setMouseTracking(true);
    m_viewport->installEventFilter(this);
}

bool TranscriptLinks::eventFilter(QObject *watched, QEvent *event) {
    // The viewport still has events while the view is taken apart: only
    // the kinds below reach the view.
    if (watched != m_viewport)
        return false;
    QWidget *viewport = m_viewport;
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool onLink = !m_view->anchorAt(mouse->position().toPoint()).isEmpty();
        viewport->setCursor(onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return false;
    }
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressed = mouse->button() == Qt::LeftButton
                        ? m_view->anchorAt(mouse->position().toPoint())
                        : QString();
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QString pressed = std::exchange(m_pressed, QString());
        if (mouse->button() != Qt::LeftButton || pressed.isEmpty() ||
            m_view->anchorAt(mouse->position().toPoint()) != pressed)
            return false;
        // Checked again: only an address the reader accepts leaves.
        const QUrl target = render::linkTarget(pressed);
        if (target.isValid() && !QDesktopServices::openUrl(target) && m_say)
            // One line: the alert draws a line break as an escape.
            m_say(QStringLiteral("No web browser could be started to open the link ") +
                  render::linkToolTip(pressed).replace(u'\n', u' '));
        return false;
    }
    case QEvent::ToolTip: {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString anchor = m_view->anchorAt(help->pos());
        if (anchor.isEmpty())
            return false;
        QToolTip::showText(help->globalPos(), shown::plainToolTip(render::linkToolTip(anchor)),
                           viewport);
        return true;
    }
    default:
        return false;
    }
}
