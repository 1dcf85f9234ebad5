#include "devserver/commandparser.h"

#include "protocol/wire.h"

namespace devserver {

namespace {

const QChar kSpace(u' ');
const QChar kQuote(u'"');

// One quoted argument starting after its opening quote at text[*pos]. Sets
// *more when a separating space followed the closing quote.
QString readQuoted(QStringView text, qsizetype *pos, bool *more) {
    QString arg;
    qsizetype i = *pos;
    const qsizetype n = text.size();
    *more = false;
    while (i < n) {
        const QChar c = text[i++];
        if (c != kQuote) {
            arg += c;
        } else if (i < n && text[i] == kQuote) {
            arg += kQuote; // "" is one quote
            ++i;
        } else if (i >= n) {
            break; // closing quote at the end of the line
        } else if (text[i] == kSpace) {
            *more = true;
            ++i;
            break;
        } else {
            arg += kQuote; // a quote in the middle is kept
        }
    }
    *pos = i;
    return arg;
}

} // namespace

QStringList readArguments(QStringView rest) {
    QString text = rest.toString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList args;
    if (text.isEmpty())
        return args;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && text[i] == kSpace)
            ++i;
        if (i < n && text[i] == kQuote) {
            ++i;
            bool more = false;
            args.append(readQuoted(text, &i, &more));
            if (!more)
                return args;
            continue;
        }
        const qsizetype start = i;
        while (i < n && text[i] != kSpace)
            ++i;
        args.append(text.mid(start, i - start));
        if (i >= n)
            return args;
        ++i; // the separator; an argument always follows it, empty at the end
    }
}

QString unescapeArgument(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\')) {
            if (++i >= text.size())
                break;
        }
        out += text[i];
    }
    return out;
}

QString wholeText(QStringView rest) {
    QStringView text = rest.trimmed();
    if (text.startsWith(kQuote)) {
        text = text.sliced(1);
        if (text.endsWith(kQuote))
            text.chop(1);
    } else if (text.startsWith(QLatin1Char('{'))) {
        text = text.sliced(1);
        if (text.endsWith(QLatin1Char('}')))
            text.chop(1);
    }
    return unescapeArgument(text);
}

bool parseCommand(const QString &line, Command *out) {
    *out = Command();
    const qsizetype space = line.indexOf(kSpace);
    Command cmd;
    cmd.name = space < 0 ? line : line.left(space);
    if (cmd.name.isEmpty())
        return false;
    if (space >= 0) {
        cmd.rest = line.mid(space + 1);
        cmd.args = readArguments(cmd.rest);
    }
    *out = std::move(cmd);
    return true;
}

bool parseCommand(QByteArrayView line, Command *out) {
    return parseCommand(toc::decodeLine(line), out);
}

} // namespace devserver
