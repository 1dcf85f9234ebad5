#include "smileys.h"

namespace render {
namespace {

struct Smiley {
    QStringView text;
    QStringView emoji;
};

// No form begins another, so the first that matches is the one.
constexpr Smiley kSmileys[] = {
    {u"O:-)", u"\U0001F607"}, // halo
    {u">:o", u"\U0001F620"},  // angry
    {u">:O", u"\U0001F620"},  // angry
    {u":'(", u"\U0001F622"},  // crying
    {u":-)", u"\U0001F642"},  // smile
    {u":)", u"\U0001F642"},   // smile
    {u";-)", u"\U0001F609"},  // wink
    {u";)", u"\U0001F609"},   // wink
    {u":-(", u"\U0001F641"},  // frown
    {u":(", u"\U0001F641"},   // frown
    {u":-P", u"\U0001F61B"},  // tongue
    {u":-p", u"\U0001F61B"},  // tongue
    {u":P", u"\U0001F61B"},   // tongue
    {u":p", u"\U0001F61B"},   // tongue
    {u":-D", u"\U0001F600"},  // grin
    {u":D", u"\U0001F600"},   // grin
    {u":-O", u"\U0001F62E"},  // surprise
    {u":-o", u"\U0001F62E"},  // surprise
    {u"8-)", u"\U0001F60E"},  // sunglasses
    {u":-/", u"\U0001F615"},  // unsure
    {u":-*", u"\U0001F618"},  // kiss
    {u":-[", u"\U0001F633"},  // embarrassed
    {u":-!", u"\U0001F62C"},  // foot in mouth
    {u":-$", u"\U0001F911"},  // money mouth
};

// Every smiley starts with one of these: text without them is passed over
// in one quick look per character.
bool mayStart(QChar c) {
    switch (c.unicode()) {
    case u':':
    case u';':
    case u'8':
    case u'>':
    case u'O':
        return true;
    default:
        return false;
    }
}

bool apartBefore(QChar c) {
    return c.isSpace() || c == u'(' || c == u'[' || c == u'"';
}

bool apartAfter(QStringView text, qsizetype end) {
    if (end == text.size())
        return true;
    const QChar c = text[end];
    return c.isSpace() || QStringView(u".,!?;:)]\"'").contains(c);
}

} // namespace

QList<SmileyAt> findSmileys(QStringView text, QChar before) {
    QList<SmileyAt> found;
    qsizetype lastEnd = -1; // smileys in a row stand apart: ":-):-)"
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (!mayStart(text[at]) || (at != lastEnd && !apartBefore(at == 0 ? before : text[at - 1])))
            continue;
        const QStringView rest = text.mid(at);
        for (const Smiley &s : kSmileys) {
            if (rest.startsWith(s.text) && apartAfter(text, at + s.text.size())) {
                found.append({at, s.text.size(), s.emoji});
                lastEnd = at + s.text.size();
                at = lastEnd - 1;
                break;
            }
        }
    }
    return found;
}

} // namespace render
