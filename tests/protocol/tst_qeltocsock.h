#pragma once
// The protocol control against a scripted loopback server: exact bytes on
// the wire and the events raised for every server message.

#include "eventlog.h"
#include "protocol/qeltocsock.h"
#include "scriptedserver.h"

#include <QtTest>
#include <memory>

class TestQelTOCSock : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    // connection and sign-on
    void greetingAndSignOnFrames();
    void authServerDefaultAndTrim_data();
    void authServerDefaultAndTrim();
    void nonAsciiScreenNameCountsBytes();
    void loggedInHandlerSendsBeforeInitDone();
    void commandLinesPaced();
    void sequenceContinuesAcrossReconnect();
    void sequenceWrapsAfter65535();
    void sendWhileDisconnectedKeepsSequence();
    void oversizeDataRefused();
    void keepAliveAnswered();
    void unknownFrameType();
    void frameTypesThreeAndFourIgnored();
    void frameSplitAcrossReads();
    void logOffClearsAccount();
    void serverCloseRaisesDisconnectedOnce();
    void connectionRefusedIsWinsockError();
    void handlerLogOffDropsRestOfRead();
    void handlerSpinningEventLoopKeepsOrder();
    void handlerLoginStartsCleanConnection();
    void loginDropsHalfFrameOfOldConnection();

    // commands
    void commands_data();
    void commands();
    void chatIdResolution();
    void idleOverflowSendsNothing();

    // server lines (tst_qeltocsock_lines.cpp)
    void serverLines_data();
    void serverLines();
    void configuration_data();
    void configuration();
    void configurationInTwoLines();
    void endlessConfigurationIsBounded();
    void chatTable();
    void twelfthRoomNotRecorded();

  private:
    // Signs the control on to the scripted server with the given configuration.
    void signOn(const QString &config = QStringLiteral("done:\n"));
    // Sends one server line and lets the client handle it.
    void deliver(const QString &line);

    std::unique_ptr<ScriptedServer> server;
    std::unique_ptr<QelTOCSock> sock;
};
