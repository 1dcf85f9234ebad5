#pragma once
// One kind of message box raised by server events (a buddy was added, a
// group was removed). Each event shows its texts one box after the other.
// While a box of the kind is open, further events open nothing: they are
// counted, and the open box gains a last line "(and N more)", so a flood of
// events leaves one box on screen, not thousands.

#include "uikit/dialogprovider.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QWidget;

class BoxChain : public QObject {
    Q_OBJECT

  public:
    // `dialogs` is asked for the provider at every box (it may change).
    BoxChain(QWidget *parent, std::function<DialogProvider *()> dialogs);

    // One event: its texts, shown in order, or counted while a box is open.
    void show(const QStringList &texts);

    bool isOpen() const { return m_open; }
    // Events counted (not shown on their own) that the open box reports.
    int more() const { return m_more; }

    // "(and N more)" below `text` when n > 0, else `text`.
    static QString withCount(const QString &text, int n);

  private:
    void openBox(int step);
    void closed(quint64 serial);
    void queueRefresh();

    QPointer<QWidget> m_parent;
    std::function<DialogProvider *()> m_dialogs;
    QStringList m_texts; // the texts of the event whose boxes are showing
    int m_step = 0;      // which of them is open
    bool m_open = false;
    int m_more = 0;       // events counted since the open event
    int m_shown = 0;      // the count the open box shows
    quint64 m_serial = 0; // the open box; a stale callback finds another
    DialogProvider::TextUpdate m_setText;
    bool m_refreshQueued = false;
};
