#include "devserver/names.h"

namespace devserver {

namespace {

bool hasControlOrColon(const QString &text, bool colonAllowed) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return true;
        if (!colonAllowed && c == QLatin1Char(':'))
            return true;
    }
    return false;
}

} // namespace

bool isValidScreenName(const QString &normalized) {
    if (normalized.isEmpty() || normalized.size() > kMaxScreenName)
        return false;
    for (QChar c : normalized) {
        const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                        (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
                        c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('@');
        if (!ok)
            return false;
    }
    return true;
}

bool isValidGroupName(const QString &group) {
    return !group.trimmed().isEmpty() && group.size() <= kMaxLabel &&
           !hasControlOrColon(group, true);
}

bool isValidAlias(const QString &alias) {
    return alias.size() <= kMaxLabel && !hasControlOrColon(alias, false);
}

bool isValidRoomName(const QString &room) {
    return !room.trimmed().isEmpty() && isValidAlias(room);
}

bool isValidFormattedName(const QString &formatted) {
    return !formatted.trimmed().isEmpty() && isValidAlias(formatted);
}

bool isValidNote(const QString &note) {
    return note.size() <= kMaxNote && !hasControlOrColon(note, true);
}

} // namespace devserver
