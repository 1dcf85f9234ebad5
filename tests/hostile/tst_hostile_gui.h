#pragma once
// The real main window, signed on to a scripted hostile server: floods,
// markup in every remote text, numbers out of range, invalid UTF-8, closed
// connections. The window stays responsive and consistent, and nothing
// remote is ever shown as markup.

#include "guitestkit.h"

#include <QObject>

class QTextEdit;
class ctlChat;
class ctlIM;

class TestHostileGui : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    // floods (tst_hostile_gui.cpp)
    void boxFlood_data();
    void boxFlood();
    void boxFloodQtDialogs();
    void boxCountWithoutInPlaceUpdates();
    void errorFlood();
    void twelveRooms();
    void conversationFloodIsCapped();
    void roomFloodIsCapped();
    void chatFloodStaysBounded_data();
    void chatFloodStaysBounded();
    void nestedTags_data();
    void nestedTags();

    // remote text (tst_hostile_gui_text.cpp)
    void markupShownLiterally_data();
    void markupShownLiterally();
    void invalidUtf8_data();
    void invalidUtf8();
    void fixedTabNamesAreConversations_data();
    void fixedTabNamesAreConversations();
    void controlsInNamesShownEscaped_data();
    void controlsInNamesShownEscaped();

    // numbers and connections (tst_hostile_gui_wire.cpp)
    void numbersOutOfRange_data();
    void numbersOutOfRange();
    void numbersAtTheLimits_data();
    void numbersAtTheLimits();
    void serverCloses_data();
    void serverCloses();
    void tabsSendToTheirOwnConversation_data();
    void tabsSendToTheirOwnConversation();
    void hungServer_data();
    void hungServer();

  private:
    bool signOn(const QString &config = QStringLiteral("done:\n"));
    // Sends the bytes and returns once the window handled the marker line
    // sent after them (NICK with a fresh name): the event loop came back.
    bool deliver(const QByteArray &bytes, int ms = 60000);
    // A data frame with the next server sequence number, as raw bytes.
    QByteArray frame(const QByteArray &line);
    QByteArray frame(const QString &line) { return frame(line.toUtf8()); }
    QByteArray frame(const char *line) { return frame(QByteArray(line)); }
    // The window's visible state, for before/after comparisons.
    QString snapshot() const;
    QStringList tabKeys() const;

    std::unique_ptr<GuiRig> rig;
    quint16 m_seq = 1000;
    int m_marker = 0;
};

// What a view's transcript shows.
QString transcriptOf(const QWidget *view);
int transcriptLengthOf(const QWidget *view);
