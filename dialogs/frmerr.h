#pragma once
// The alert window: one message at a time with a short sound and a small
// looping animation. While it is open the main window takes no input,
// unless it opened without taking the keyboard (the user was typing).

#include <QBasicTimer>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

class frmErr : public QWidget {
    Q_OBJECT

  public:
    // `mainWindow` is disabled while the alert is open. It is not the Qt
    // parent: a disabled parent would disable this window too.
    explicit frmErr(QWidget *mainWindow);
    ~frmErr() override;

    // Opens the window when it is closed (disable the main window, play the
    // sound, place it), then shows `text`, cut to what the window can show.
    // Opened without `takeKeyboard`, it is shown without being activated
    // and the main window stays as it is. Returns at once.
    void showMessage(const QString &text, bool takeKeyboard = true);
    QString message() const;

    // Off: the sound is never played (tests, machines without audio). The
    // environment variable VORKLE_NO_SOUND also turns it off.
    static void setSoundEnabled(bool on);
    static bool soundEnabled();

    // The animation runs while the window is open.
    bool isAnimating() const { return m_timer.isActive(); }

    QGroupBox *Frame1 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *txtErr = nullptr;
    QPushButton *Command1 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

  private:
    void opening(bool takeKeyboard);
    void playSound();
    void showFrame(int index);

    QPointer<QWidget> m_main;
    // The alert's frames, drawn for the screen on the first opening.
    QList<QPixmap> m_frames;
    QList<int> m_delays;
    int m_frame = 0;
    QBasicTimer m_timer;
    QObject *m_sound = nullptr; // a QSoundEffect, made on the first sound
};
