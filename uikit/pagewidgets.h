#pragma once
// Small makers for the widgets of the privacy, away, profile and font pages
// and the away strip: each widget gets its name, its place in twips and the
// window's colours.

#include <QRect>
#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace pagewidgets {

// Places on the settings pages are measured from the top of the page widget
// including its tab strip, as the designs give them; the page itself starts
// under the strip.
constexpr int kPageTop = 300;
QRect onPage(int left, int top, int width, int height);
// Places in a plain panel.
QRect inPanel(int left, int top, int width, int height);

// Gives a widget its object name and its place.
template <typename W> W *named(W *w, const char *name, QRect where) {
    w->setObjectName(QLatin1String(name));
    w->setGeometry(where);
    return w;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect where);
QLineEdit *field(QWidget *parent, const char *name, const QString &text, QRect where);
QPlainTextEdit *textBox(QWidget *parent, const char *name, const QString &text, QRect where);
QListWidget *list(QWidget *parent, const char *name, QRect where);
QCheckBox *check(QWidget *parent, const char *name, const QString &text, QRect where);
QRadioButton *option(QWidget *parent, const char *name, const QString &text, QRect where);
QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect where);

// The white background of text fields and lists.
void whiteBase(QWidget *w);

} // namespace pagewidgets
