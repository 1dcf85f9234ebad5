#include "boxchain.h"

#include <QLocale>
#include <QTimer>
#include <QWidget>
#include <climits>

BoxChain::BoxChain(QWidget *parent, std::function<DialogProvider *()> dialogs)
    : QObject(parent), m_parent(parent), m_dialogs(std::move(dialogs)) {}

QString BoxChain::withCount(const QString &text, int n) {
    if (n <= 0)
        return text;
    return text + QStringLiteral("\n(and %1 more)").arg(QLocale().toString(n));
}

void BoxChain::show(const QStringList &texts) {
    if (texts.isEmpty())
        return;
    if (m_open) {
        if (m_more < INT_MAX)
            ++m_more;
        queueRefresh();
        return;
    }
    m_open = true;
    m_texts = texts;
    openBox(0);
}

void BoxChain::openBox(int step) {
    DialogProvider *d = m_dialogs ? m_dialogs() : nullptr;
    if (!d) {
        m_open = false;
        return;
    }
    m_step = step;
    m_shown = m_more;
    m_setText = nullptr;
    const quint64 serial = ++m_serial;
    QPointer<BoxChain> self(this);
    DialogProvider::TextUpdate setText = d->updatableMessage(
        m_parent, QString(), withCount(m_texts.at(step), m_more), [self, serial] {
            if (self)
                self->closed(serial);
        });
    // A provider that answered at once has moved on to another box.
    if (self && m_serial == serial && m_open)
        m_setText = std::move(setText);
}

void BoxChain::closed(quint64 serial) {
    if (serial != m_serial || !m_open)
        return;
    m_setText = nullptr;
    if (m_step + 1 < m_texts.size()) {
        openBox(m_step + 1);
        return;
    }
    // Counted events the user could not see yet (the box could not be
    // updated in place) are reported by the next box of this kind.
    m_more -= m_shown;
    m_shown = 0;
    m_open = false;
    m_texts.clear();
}

void BoxChain::queueRefresh() {
    // Many events in one read update the box once.
    if (m_refreshQueued || !m_setText)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        if (m_open && m_setText) {
            m_setText(withCount(m_texts.at(m_step), m_more));
            m_shown = m_more;
        }
    });
}
