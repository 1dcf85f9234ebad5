#include "historytext.h"

#include "uikit/shownname.h"

#include <QDateTime>

namespace render {
namespace {

// A cut may not go inside a surrogate pair or before a combining mark.
bool mayCutBefore(QChar c) {
    if (c.isLowSurrogate())
        return false;
    const QChar::Category k = c.category();
    return k != QChar::Mark_NonSpacing && k != QChar::Mark_SpacingCombining &&
           k != QChar::Mark_Enclosing;
}

// Where text longer than limit is cut: after its last space in the final
// quarter of the limit, else where a character may start there, else (a
// quarter of marks) outside a surrogate pair.
qsizetype cutAt(QStringView text, qsizetype limit) {
    const qsizetype from = limit * 3 / 4;
    for (qsizetype at = limit; at > from; --at) {
        if (text[at - 1] == u' ')
            return at;
    }
    for (qsizetype at = limit; at > from; --at) {
        if (mayCutBefore(text[at]))
            return at;
    }
    return text[limit].isLowSurrogate() ? limit - 1 : limit;
}

// Appends one line of text; paragraphs after the first set in.
void appendLine(QString &out, QStringView line, bool first) {
    const QLatin1String setIn(kSetIn);
    const qsizetype room = kParagraph - setIn.size();
    for (;;) {
        if (!first)
            out += setIn;
        first = false;
        if (line.size() <= room) {
            out += line;
            return;
        }
        const qsizetype cut = cutAt(line, room);
        out += line.first(cut);
        out += u'\n';
        line = line.mid(cut);
    }
}

} // namespace

QString historyEntry(const HistoryLine &line) {
    const QString when = QDateTime::fromMSecsSinceEpoch(line.at).toLocalTime().toString(
        QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    QString text = shown::body(line.text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    switch (line.kind) {
    case HistoryLine::Kind::NotSent:
        return when + QLatin1String("  ") + text;
    case HistoryLine::Kind::AutoResponse:
        return when + QLatin1String("  ") + shown::nameInText(line.sender) +
               QLatin1String(" (auto-response): ") + text;
    case HistoryLine::Kind::Message:
        break;
    }
    return when + QLatin1String("  ") + shown::nameInText(line.sender) + QLatin1String(": ") + text;
}

QString historyPageText(const QList<HistoryLine> &lines) {
    QString out;
    for (const HistoryLine &line : lines) {
        const QString entry = historyEntry(line);
        const QList<QStringView> pieces = QStringView(entry).split(u'\n');
        // Blank lines: none at the end, at most one in a row.
        qsizetype end = pieces.size();
        while (end > 1 && pieces[end - 1].trimmed().isEmpty())
            --end;
        bool blank = false;
        for (qsizetype i = 0; i < end; ++i) {
            const bool empty = pieces[i].trimmed().isEmpty();
            if (empty && blank)
                continue;
            blank = empty;
            if (!out.isEmpty())
                out += u'\n';
            if (!empty)
                appendLine(out, pieces[i], i == 0);
        }
    }
    return out;
}

} // namespace render
