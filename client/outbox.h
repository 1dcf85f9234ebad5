#pragma once
// The conversations' way out: our IMs and room lines go through the pacer,
// and who appears online is known, so that a view can say when an IM may
// not arrive.

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
};
