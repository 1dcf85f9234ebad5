#pragma once
// How remote names and texts are shown. What arrives stays the key of a
// conversation, a tab, a tree node or a member; only what is drawn passes
// through here. Control characters and the bidi controls are never
// interpreted: each is drawn as a visible escape "\uXXXX" (a "\u" that was
// in the text is escaped itself, so two different names never look alike),
// and a name or message that holds right-to-left text is wrapped in FIRST
// STRONG ISOLATE ... POP DIRECTIONAL ISOLATE where it stands inside running
// text, so it cannot reorder what follows it. Text without any of these is
// returned unchanged.

#include <QString>
#include <QStyledItemDelegate>

namespace shown {

// A name drawn on its own (a tab, a tree node, the partner field, a member
// list row, a tooltip, a message box): every control, format and line or
// paragraph separator character escaped, line breaks and tabs included, and
// so are spaces other than U+0020 and the characters that draw nothing
// (fillers, variation selectors, tags): two names that differ never look
// alike.
QString name(const QString &text);

// A name inside running text (a transcript line, the status line, an
// alert): name(), isolated when it holds right-to-left text.
QString nameInText(const QString &text);

// A message body in a transcript: the controls escaped except tab, CR and
// LF, which the transcript lays out; each of its lines isolated when it
// holds right-to-left text.
QString body(const QString &text);

// A whole line of text that may hold remote pieces (the alert): the
// controls, bidi controls, odd spaces and characters that draw nothing
// escaped, line breaks included; other format characters (a zero-width
// joiner in an emoji) stay.
QString line(const QString &text);

// The text with every character name() would escape removed: for a field
// whose text is later sent back (the user's own screen name).
QString withoutControls(const QString &text);

// The text wrapped in an isolate when it holds right-to-left characters.
QString isolated(const QString &text);

// A tooltip that shows text exactly: Qt would read "<b>x" as markup.
QString plainToolTip(const QString &text);

// Draws the items of a list or tree as name() of their text; the items
// keep their text as it arrived.
class NameDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
};

} // namespace shown
