#pragma once
// Real QelTOCSock clients against an in-process server on random loopback
// ports.

#include "tocclient.h"

#include "devserver/devserver.h"

#include <QObject>
#include <memory>

class TestClients : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    // tst_clients.cpp
    void newAccountSeesVorklebot();
    void wrongPassword();
    void imsBothWays();
    void imToOfflineUser();
    void presenceFollowsChanges();
    void warnings();
    void vorklebotAnswersIms();
    void profileAndIcon();
    void nicknameAndPassword();
    void restartWithDatabaseKeepsAccounts();

    // tst_clients_rooms.cpp
    void roomJoinTalkLeave();
    void invitation();
    void vorklebotInChat100();

    // tst_clients_lists.cpp
    void buddiesAndGroupsAtNextSignOn();
    void privacyModes_data();
    void privacyModes();
    void privacyChangeUpdatesPresence();

  private:
    quint16 port() const { return m_server->port(); }
    // A client signed on (account created on first sign-on); owned by the test.
    // A client signed on, or nullptr; SIGNED_ON ends the test at once then.
    TocClient *signedOn(const QString &name, const QString &password = QStringLiteral("secret"));

    std::unique_ptr<devserver::DevServer> m_server;
    QList<TocClient *> m_clients;
};

// Declares `var` as a client signed on with the given name (and password),
// or fails the test function right there.
#define SIGNED_ON(var, ...)                                                                        \
    TocClient *var = signedOn(__VA_ARGS__);                                                        \
    QVERIFY2(var, "could not sign on")
