#include "devserver/httprequest.h"

#include "protocol/wire.h"

namespace devserver {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isTokenChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_';
}

// Finds the end of the head: the offset just after the empty line, or -1.
qsizetype headEnd(QByteArrayView data) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (data[i] != '\n')
            continue;
        if (i + 1 < data.size() && data[i + 1] == '\n')
            return i + 2;
        if (i + 2 < data.size() && data[i + 1] == '\r' && data[i + 2] == '\n')
            return i + 3;
    }
    return -1;
}

bool parseQuery(QByteArrayView q, QList<QPair<QString, QString>> *out) {
    qsizetype start = 0;
    while (start <= q.size()) {
        qsizetype amp = q.indexOf('&', start);
        if (amp < 0)
            amp = q.size();
        const QByteArrayView pair = q.sliced(start, amp - start);
        if (!pair.isEmpty()) {
            const qsizetype eq = pair.indexOf('=');
            QString key, value;
            const QByteArrayView rawKey = eq < 0 ? pair : pair.first(eq);
            const QByteArrayView rawValue = eq < 0 ? QByteArrayView() : pair.sliced(eq + 1);
            if (!percentDecode(rawKey, true, &key) || !percentDecode(rawValue, true, &value))
                return false;
            out->append({key, value});
        }
        start = amp + 1;
    }
    return true;
}

} // namespace

bool percentDecode(QByteArrayView in, bool plusIsSpace, QString *out) {
    QByteArray bytes;
    bytes.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const char c = in[i];
        if (c == '%') {
            if (i + 2 >= in.size())
                return false;
            const int hi = hexValue(in[i + 1]);
            const int lo = hexValue(in[i + 2]);
            if (hi < 0 || lo < 0)
                return false;
            bytes += char(hi * 16 + lo);
            i += 2;
        } else if (c == '+' && plusIsSpace) {
            bytes += ' ';
        } else {
            bytes += c;
        }
    }
    *out = toc::decodeLine(bytes);
    return true;
}

QString HttpRequest::queryValue(const QString &key) const {
    for (const auto &pair : query) {
        if (pair.first == key)
            return pair.second;
    }
    return QString();
}

HttpRequest parseHttpRequest(QByteArrayView data) {
    HttpRequest req;
    const qsizetype end = headEnd(data.first(qMin(data.size(), kMaxHttpHead)));
    if (end < 0) {
        req.state =
            data.size() >= kMaxHttpHead ? HttpRequest::State::Bad : HttpRequest::State::Incomplete;
        return req;
    }
    req.state = HttpRequest::State::Bad;
    const QByteArrayView head = data.first(end);
    qsizetype lineEnd = head.indexOf('\n');
    QByteArrayView requestLine = head.first(lineEnd);
    if (requestLine.endsWith('\r'))
        requestLine.chop(1);

    const qsizetype sp1 = requestLine.indexOf(' ');
    if (sp1 <= 0)
        return req;
    const qsizetype sp2 = requestLine.indexOf(' ', sp1 + 1);
    if (sp2 < 0 || requestLine.indexOf(' ', sp2 + 1) >= 0)
        return req;
    const QByteArrayView method = requestLine.first(sp1);
    const QByteArrayView target = requestLine.sliced(sp1 + 1, sp2 - sp1 - 1);
    const QByteArrayView version = requestLine.sliced(sp2 + 1);
    for (char c : method) {
        if (!isTokenChar(c))
            return req;
    }
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return req;
    if (target.isEmpty() || target[0] != '/')
        return req;
    for (char c : target) {
        if (quint8(c) <= 0x20 || c == 0x7f)
            return req;
    }

    // Every header line must be "name: value".
    qsizetype pos = lineEnd + 1;
    while (pos < head.size()) {
        qsizetype next = head.indexOf('\n', pos);
        QByteArrayView line = head.sliced(pos, next - pos);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty()) {
            const qsizetype colon = line.indexOf(':');
            if (colon <= 0)
                return req;
            for (char c : line.first(colon)) {
                if (!isTokenChar(c) && !(c >= '0' && c <= '9'))
                    return req;
            }
        }
        pos = next + 1;
    }

    const qsizetype question = target.indexOf('?');
    const QByteArrayView rawPath = question < 0 ? target : target.first(question);
    QString path;
    QList<QPair<QString, QString>> query;
    if (!percentDecode(rawPath, false, &path))
        return req;
    if (question >= 0 && !parseQuery(target.sliced(question + 1), &query))
        return req;
    req.path = path;
    req.query = query;
    req.method = method.toByteArray();
    req.headLength = end;
    req.state = HttpRequest::State::Complete;
    return req;
}

} // namespace devserver
