#include "notifyrules.h"

#include "protocol/wire.h"

bool NotifyRules::due(const QString &key, qint64 nowMs, bool held) {
    if (!m_enabled || held)
        return false;
    const auto last = m_last.constFind(key);
    if (last != m_last.constEnd() && nowMs - *last < kQuietMs && nowMs >= *last)
        return false;
    // Bounded by the open conversations; a stale entry only costs a slot.
    if (m_last.size() > 1000)
        m_last.clear();
    m_last.insert(key, nowMs);
    return true;
}

bool NotifyRules::namesUser(const QString &plainText, const QString &screenName) {
    const QString me = toc::normalizeScreenName(screenName);
    return !me.isEmpty() && toc::normalizeScreenName(plainText).contains(me);
}

QString NotifyRules::excerpt(const QString &plainText) {
    QString text = plainText.simplified();
    if (text.size() > kMaxText) {
        text.truncate(kMaxText - 1);
        // Half a character would show as a replacement sign.
        if (text.back().isHighSurrogate())
            text.chop(1);
        text += QChar(0x2026);
    }
    return text;
}
