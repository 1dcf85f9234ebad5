#include "devserver/commandparser.h"

#include "protocol/wire.h"

namespace devserver {

namespace {

enum class Result { Ok, Bad };

// Reads the argument starting at text[*pos] (not a space) into *arg.
Result readArgument(const QString &text, qsizetype *pos, QString *arg) {
    const qsizetype n = text.size();
    qsizetype i = *pos;
    arg->clear();
    const QChar first = text[i];
    if (first == QLatin1Char('"')) {
        for (++i; i < n; ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('\\')) {
                if (++i >= n)
                    return Result::Bad;
                *arg += text[i];
            } else if (c == QLatin1Char('"')) {
                *pos = i + 1;
                return Result::Ok;
            } else {
                *arg += c;
            }
        }
        return Result::Bad;
    }
    if (first == QLatin1Char('{')) {
        int depth = 1;
        const qsizetype start = i + 1;
        for (++i; i < n; ++i) {
            const QChar c = text[i];
            if (c == QLatin1Char('{')) {
                ++depth;
            } else if (c == QLatin1Char('}') && --depth == 0) {
                *arg = text.mid(start, i - start);
                *pos = i + 1;
                return Result::Ok;
            }
        }
        return Result::Bad;
    }
    const qsizetype start = i;
    while (i < n && text[i] != QLatin1Char(' '))
        ++i;
    *arg = text.mid(start, i - start);
    *pos = i;
    return Result::Ok;
}

} // namespace

bool parseCommand(const QString &line, Command *out) {
    *out = Command();
    Command cmd;
    const qsizetype n = line.size();
    qsizetype i = 0;
    bool first = true;
    while (true) {
        while (i < n && line[i] == QLatin1Char(' '))
            ++i;
        if (i >= n)
            break;
        if (first && (line[i] == QLatin1Char('"') || line[i] == QLatin1Char('{')))
            return false;
        QString arg;
        if (readArgument(line, &i, &arg) != Result::Ok)
            return false;
        if (first)
            cmd.name = arg;
        else
            cmd.args.append(arg);
        first = false;
    }
    if (cmd.name.isEmpty())
        return false;
    *out = std::move(cmd);
    return true;
}

bool parseCommand(QByteArrayView line, Command *out) {
    return parseCommand(toc::decodeLine(line), out);
}

} // namespace devserver
