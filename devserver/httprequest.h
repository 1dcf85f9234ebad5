#pragma once
// Parses the head of one HTTP/1.x request. Pure: no state, no I/O, safe on
// any bytes; the body (if any) is never looked at.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

namespace devserver {

struct HttpRequest {
    enum class State { Incomplete, Complete, Bad };

    State state = State::Incomplete;
    QByteArray method;
    QString path;                         // percent-decoded, without the query
    QList<QPair<QString, QString>> query; // in order, percent- and '+'-decoded
    qsizetype headLength = 0;             // bytes up to and including the empty line

    // The first value of the key, or an empty text.
    QString queryValue(const QString &key) const;
};

constexpr qsizetype kMaxHttpHead = 8192;

// Complete when the head up to its empty line (CR LF CR LF or LF LF) is
// present and well formed; Incomplete while it may still arrive; Bad for a
// malformed head or one longer than kMaxHttpHead.
HttpRequest parseHttpRequest(QByteArrayView data);

// Percent-decoding of a URL component (UTF-8); '+' means space when
// plusIsSpace. False for a broken escape.
bool percentDecode(QByteArrayView in, bool plusIsSpace, QString *out);

} // namespace devserver
