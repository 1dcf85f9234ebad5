#pragma once
// The away state: the message "Set Away" sent, the IMs counted since, the
// partners answered and warned in this away period (each at most once,
// names compared normalised), and the conversations whose tabs wait for
// "I'm Back".

#include <QSet>
#include <QString>
#include <QStringList>

class AwayState {
  public:
    bool isAway() const { return m_away; }
    const QString &message() const { return m_message; }
    int count() const { return m_count; }

    // A new away period: nobody answered or warned yet, nothing counted.
    void start(const QString &message);
    // Back: returns the held conversations, in the order they were held.
    QStringList end();

    // One more IM while away; the new count.
    int countIM() { return ++m_count; }
    // True the first time in this period for this partner, false after.
    bool firstAnswer(const QString &partner);
    bool firstWarning(const QString &partner);

    void hold(const QString &name);
    bool isHeld(const QString &name) const;

  private:
    bool m_away = false;
    QString m_message;
    int m_count = 0;
    QSet<QString> m_answered;
    QSet<QString> m_warned;
    QStringList m_held;
};
