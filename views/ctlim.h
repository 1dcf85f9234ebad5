#pragma once
// The IM conversation view: one partner's transcript, typing status and
// buddy icon, an input box, and Send / Warn / Block / Add / Close.

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTcpSocket;
class QTextEdit;
class QTimer;
class TranscriptView;
class ViewHost;
template <typename T> class QFutureWatcher;

class ctlIM : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int index READ index WRITE setIndex)
    Q_PROPERTY(quint16 iconPort READ iconPort WRITE setIconPort)
    Q_PROPERTY(int iconDeadline READ iconDeadline WRITE setIconDeadline)

  public:
    explicit ctlIM(ViewHost *host, QWidget *parent = nullptr);
    ~ctlIM() override;

    // The partner, as the owner set it; empty once the conversation closed.
    QString IMUser;

    // Shows one message (an incoming one, or the echo of a sent one); an
    // automatic answer is marked as one. The partner's message ends the
    // typing line.
    void im_msg(const QString &user, const QString &msg, bool autoResponse = false);
    // An IM from the connection: shown as im_msg does, and laid out with
    // the others that arrive before control returns to the event loop.
    void receive(const QString &user, const QString &msg, bool autoResponse = false);
    // "[hh:mm]" before each line shown from now on.
    void setTimestamps(bool on) { m_timestamps = on; }
    // Text smileys in the lines that come next shown as emoji.
    void setSmileys(bool on) { m_smileys = on; }
    // The partner's typing event: 2 "<partner> is typing...", 1 (typed,
    // then paused) "<partner> has entered text"; anything else empties the
    // status line.
    void TypeStatus(qint16 status);
    // Applies the formatting settings to the input box, once IMUser holds
    // more than one character. False when a setting could not be applied
    // (the settings after it are then not applied either).
    bool UpdateFonts();

    // The partner's name (or alias) in the header.
    void showPartner();
    // The cursor into the input box (the conversation's tab was selected).
    void focusInput();
    // As the view's "Close" does.
    void closeConversation() { Command4_Click(); }
    // A line of the client's own, grey like "Not sent", kept in the history.
    void showNote(const QString &text);

    // The view's place in its owner's list.
    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    // The port of the buddy-icon server (80).
    quint16 iconPort() const { return m_iconPort; }
    void setIconPort(quint16 port) { m_iconPort = port; }
    // Milliseconds the whole buddy-icon fetch may take (10,000).
    int iconDeadline() const { return m_iconDeadline; }
    void setIconDeadline(int ms) { m_iconDeadline = ms; }

    // The request template for a host ("%sn" stands for the partner).
    static QString iconRequestTemplate(const QString &host);

  signals:
    // The user closed the conversation ("Close").
    void KillIM(int index);
    // The input box changed: whether it holds text now (typing notifications).
    void typed(const QString &partner, bool hasText);

  private:
    void buildControls();
    void Command3_Click();  // Send
    void Command2_Click();  // Warn
    void Command1_Click();  // Block
    void cmdIgnore_Click(); // Add
    void Command4_Click();  // Close
    void Timer1_Timer();
    void startIconFetch();
    void sckIcon_Connect();
    void sckIcon_DataArrival();
    bool keepIconBytes();
    void sckIcon_Close();
    void showNotSent();
    void endIconFetch();
    void stopIconFetch();
    void decodeIcon(QByteArray reply);
    void showDecodedIcon();
    static QPixmap defaultIcon();

    ViewHost *m_host;
    int m_index = 0;
    bool m_timestamps = false;
    bool m_smileys = true;
    quint16 m_iconPort = 80;
    int m_iconDeadline = 10000;
    QByteArray m_reply;
    bool m_iconDone = false;
    QTimer *m_iconTimeout = nullptr;
    QFutureWatcher<QImage> *m_iconDecode = nullptr;

    TranscriptView *TEXT = nullptr;
    QPlainTextEdit *txtMsg = nullptr;
    QLineEdit *txtuser = nullptr;
    QLabel *labIMstatus = nullptr;
    QLabel *imgIcon = nullptr;
    QLabel *txtHead = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdIgnore = nullptr;
    QPushButton *Command4 = nullptr;
    QTcpSocket *sckIcon = nullptr;
    QTimer *Timer1 = nullptr;
};
