#include "pagewidgets.h"

#include "twips.h"
#include "uicolors.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pagewidgets {

QRect onPage(int left, int top, int width, int height) {
    return twips::rect(left, top - kPageTop, width, height);
}

QRect inPanel(int left, int top, int width, int height) {
    return twips::rect(left, top, width, height);
}

void whiteBase(QWidget *w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, Qt::white);
    w->setPalette(p);
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *l = named(new QLabel(parent), name, where);
    l->setTextFormat(Qt::PlainText);
    l->setText(text);
    uicolors::setForeColor(l, uicolors::foreText());
    return l;
}

QLineEdit *field(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *e = named(new QLineEdit(text, parent), name, where);
    uicolors::setForeColor(e, uicolors::foreText());
    whiteBase(e);
    return e;
}

QPlainTextEdit *textBox(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *e = named(new QPlainTextEdit(parent), name, where);
    e->setPlainText(text);
    e->setTabChangesFocus(true);
    uicolors::setForeColor(e, uicolors::foreText());
    whiteBase(e);
    return e;
}

QListWidget *list(QWidget *parent, const char *name, QRect where) {
    auto *l = named(new QListWidget(parent), name, where);
    uicolors::setForeColor(l, uicolors::foreText());
    whiteBase(l);
    return l;
}

QCheckBox *check(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *c = named(new QCheckBox(text, parent), name, where);
    uicolors::setForeColor(c, Qt::black);
    return c;
}

QRadioButton *option(QWidget *parent, const char *name, const QString &text, QRect where) {
    auto *o = named(new QRadioButton(text, parent), name, where);
    uicolors::setForeColor(o, uicolors::foreText());
    return o;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect where) {
    return named(new QPushButton(text, parent), name, where);
}

} // namespace pagewidgets
