#pragma once
// The chat room view: the room transcript, the people in the room with their
// count, "Show Fonts", an input box, "Send" and "Leave Chat".

#include <QSet>
#include <QString>
#include <QWidget>
#include <memory>

class QCheckBox;
class QLabel;
class QMenu;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class MemberLines;
class MemberList;
class ViewHost;

class ctlChat : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int index READ index WRITE setIndex)

  public:
    explicit ctlChat(ViewHost *host, QWidget *parent = nullptr);
    ~ctlChat() override;

    // The room's tab caption (room name and "."); empty once left.
    QString Chatids;
    // The room id as decimal text; empty once left (0 is a room like any other).
    QString Chatid2;
    // The room's name: the caption without its ".".
    QString roomName() const { return Chatids.chopped(Chatids.endsWith(QLatin1Char('.')) ? 1 : 0); }

    // Shows one room message; styles and colours only while "Show Fonts",
    // else as plain text.
    void chatMsg(const QString &user, const QString &msg);
    // "[hh:mm]" before each message shown from now on.
    void setTimestamps(bool on) { m_timestamps = on; }
    // Text smileys in the lines that come next shown as emoji.
    void setSmileys(bool on) { m_smileys = on; }
    // A member entered (Join) or left the room. The first few changes of a
    // pass of the event loop show at once; the rest of a flood shows when
    // the loop runs again, applied together.
    void UserUpdate(const QString &user, bool Join);
    // The server reports the room as left: the view becomes read-only.
    void LeftChat();
    // The connection ended: nobody is listed and the old id is dropped
    // until the room is joined again (its transcript and draft stay).
    void connectionLost();
    // Joined again under a new id; the server lists the members anew, and
    // of them only who came or left meanwhile is said in the transcript.
    void rejoined(qint32 chatId) { Chatid2 = QString::number(chatId); }
    // A line of the client's own in the transcript (and the history).
    void showNote(const QString &text);
    // Applies the formatting settings to the input box, each on its own.
    void UpdateFonts();
    // Sets xList's tooltip to the entry under y (twips from the list's top).
    void ShowToolTip(QListWidget *xList, int y);

    // The cursor into the input box (the room's tab was selected).
    void focusInput();
    // As the view's "Leave Chat" does.
    void leaveRoom() { cmdLeave_Click(); }

    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }

  signals:
    // The user left the room with "Leave Chat".
    void ExitChat(int index);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

  private:
    void buildControls();
    void chameleonButton1_Click(); // Send
    void cmdLeave_Click();
    void showMembers();
    void endMemberPass();
    void updateCount();
    void buildMemberMenu();

    static constexpr int kMemberListWidth = 140;
    ViewHost *m_host;
    int m_index = 0;
    bool m_timestamps = false;
    bool m_smileys = true;
    std::unique_ptr<MemberList> m_members;
    std::unique_ptr<MemberLines> m_memberLines;
    int m_memberUpdatesThisPass = 0;
    bool m_memberPassEnding = false;
    // Who was listed when the connection ended; the first pass of member
    // changes after the room is joined again lists them without a word.
    QSet<QString> m_before;
    bool m_quietPass = false;

    QTextEdit *TEXT = nullptr;
    QPlainTextEdit *txtMsg = nullptr;
    QListWidget *lstPPL = nullptr;
    QLabel *labPPL = nullptr;
    QLabel *labPPL2 = nullptr;
    QCheckBox *CheckFont = nullptr;
    QPushButton *chameleonButton1 = nullptr;
    QPushButton *cmdLeave = nullptr;
    QMenu *mnuMember = nullptr; // IM, Get Profile, Block, Copy Name
    QString m_menuMember;       // the member it is open for
};
