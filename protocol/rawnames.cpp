#include "rawnames.h"

#include "wire.h"

namespace toc {

namespace {
// A server with endless new names must not grow this without bound.
constexpr qsizetype kMaxForms = 1024;

QByteArray quoted(const QByteArray &bytes) {
    return '"' + bytes + '"';
}

// normalizeScreenName on bytes: ASCII letters lower-cased, spaces removed;
// every other byte stays.
QByteArray normalizedBytes(const QByteArray &bytes) {
    QByteArray out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        if (c == ' ')
            continue;
        out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    }
    return out;
}
} // namespace

void RawNames::learn(QByteArrayView bytes, const QString &line) {
    // ':' is one byte and never part of a longer sequence, so the fields of
    // the bytes and of the text line up one for one.
    const QList<QByteArray> raw = bytes.toByteArray().split(':');
    const QStringList text = line.split(QLatin1Char(':'));
    if (raw.size() != text.size())
        return;
    for (qsizetype i = 1; i < raw.size(); ++i) {
        if (QByteArrayView(raw[i]).isValidUtf8())
            continue;
        add(text[i], raw[i]);
        add(normalizeScreenName(text[i]), normalizedBytes(raw[i]));
    }
}

void RawNames::add(const QString &text, const QByteArray &bytes) {
    if (m_quoted.size() >= kMaxForms)
        m_quoted.clear();
    m_quoted.insert(quoted(text.toUtf8()), quoted(bytes));
}

QByteArray RawNames::encode(const QString &line) const {
    QByteArray out = line.toUtf8();
    if (m_quoted.isEmpty())
        return out;
    for (auto it = m_quoted.cbegin(); it != m_quoted.cend(); ++it)
        if (out.contains(it.key()))
            out.replace(it.key(), it.value());
    return out;
}

} // namespace toc
