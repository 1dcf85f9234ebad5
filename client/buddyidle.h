#pragma once
// How long each buddy has been idle. Servers report a buddy's idle minutes
// when its state changes (some only once, when it goes idle), so the count
// goes on from the moment of the report. One timer tells when a buddy
// reported idle for a minute or less passes the idle mark (more than one
// minute), so that its picture can change.

#include "clock.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

class BuddyIdle : public QObject {
    Q_OBJECT

  public:
    // Idle minutes are shown up to a year; beyond that only "more than".
    static constexpr qint32 kMaxMinutes = 366 * 24 * 60;
    // Idle shows as idle (its picture) above this many minutes.
    static constexpr qint32 kIdleMark = 1;

    explicit BuddyIdle(Clock &clock = Clock::system(), QObject *parent = nullptr);
    ~BuddyIdle() override;

    // Tests: a clock moved by hand. What was counted so far is forgotten.
    void setClock(Clock &clock);

    // A buddy's report (its normalised name): idle minutes, 0 or less for
    // not idle.
    void report(const QString &buddy, qint32 minutes);
    void forget(const QString &buddy);
    void clear();

    // Minutes idle now, counted from the report: 0 when not idle, at most
    // kMaxMinutes + 1 (more than the cap).
    qint32 minutes(const QString &buddy) const;

  signals:
    // The counted time of a buddy passed kIdleMark.
    void becameIdle(const QString &buddy);

  private:
    void schedule();
    void fire();

    Clock *m_clock;
    std::unique_ptr<Clock::Timer> m_timer;
    QHash<QString, qint64> m_since;    // the clock's ms when idle began
    QHash<QString, qint64> m_crossing; // when those not idle yet pass the mark
};
