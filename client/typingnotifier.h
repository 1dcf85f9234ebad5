#pragma once
// Tells an IM partner that the user is typing: 2 at the first key that
// makes the box non-empty and then at most every 5 s while keys keep
// coming, 1 after 5 s without a key while text is there, 0 when the box
// becomes empty (a message sent empties it). Only while signed on, and
// only when switched on.

#include "clock.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <memory>

class QelTOCSock;
class Session;

class TypingNotifier : public QObject {
    Q_OBJECT

  public:
    static constexpr qint64 kPauseMs = 5000;

    TypingNotifier(QelTOCSock *toc, Session *session, Clock &clock = Clock::system(),
                   QObject *parent = nullptr);
    ~TypingNotifier() override;

    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    // The IM box for `partner` changed; `hasText`: it holds text now.
    void edited(const QString &partner, bool hasText);

  private:
    struct Partner {
        QString name;
        int sent = 0; // the state the partner was told last
        qint64 typingSentAt = 0;
        std::unique_ptr<Clock::Timer> pause;
    };
    void send(Partner &partner, int state);
    void paused(const QString &key);

    QelTOCSock *m_toc;
    Session *m_session;
    Clock &m_clock;
    bool m_enabled = true;
    QHash<QString, std::shared_ptr<Partner>> m_partners;
};
