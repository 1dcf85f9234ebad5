#pragma once
// A real QelTOCSock client for integration tests, with the server lines it
// received kept as text and the sign-on state followed.

#include "protocol/qeltocsock.h"

#include <QStringList>

class TocClient : public QObject {
    Q_OBJECT
  public:
    explicit TocClient(const QString &name, const QString &password = QStringLiteral("secret"));

    QelTOCSock toc;
    QString name;
    QString password;
    bool loggedIn = false;
    bool disconnected = false;
    QStringList lines;     // every data line received
    QStringList buddyList; // from the last LoggedIn
    QStringList blockList;
    QStringList permitList;
    qint16 privacyMode = 0;

    // Signs on to the server and waits until the server has seen
    // toc_init_done (the client sends it right after LoggedIn).
    bool signOn(quint16 port);
    bool waitLine(const QString &line, int ms = 5000) const;
    bool waitPrefix(const QString &prefix, int ms = 5000) const;
    int count(const QString &prefix) const;
    // Lines starting with the prefix, in order.
    QStringList matching(const QString &prefix) const;
};
