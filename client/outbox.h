#pragma once
// The conversations' way out: our IMs, room lines, invitations and the
// rooms joined again go through the pacer, which holds them while a sign-on
// is under way; and who appears online is known, so that a view can say
// when an IM may not arrive.

#include <QObject>

class QelTOCSock;
class SeenOnline;
class SendPacer;

class Outbox : public QObject {
    Q_OBJECT

  public:
    explicit Outbox(QelTOCSock *toc, QObject *parent = nullptr);

    SendPacer *const pacer;
    SeenOnline *const seen;

    // Signed off, or the connection was lost: what waits is not sent, and
    // nobody is known online any more.
    void connectionEnded();
    // The last ERROR:903 was put on a line that said so where it was
    // written: no alert needs to say it again.
    bool refusalShown() const { return m_refusalShown; }

  private:
    bool m_refusalShown = false;
};
