#pragma once
// The away strip `PicAway`: shown below the window's usual client area
// while the user is away. It counts the IMs that arrive and holds the
// switches of what the away state does with them, and "I'm Back".

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

class AwayStrip : public QWidget {
    Q_OBJECT

  public:
    // Placed in twips in the window; hidden until the user is away.
    explicit AwayStrip(QWidget *window);

    QLabel *Label21 = nullptr;
    QLabel *labAwayMsgs = nullptr;
    QLabel *Label22 = nullptr;
    QCheckBox *chkNoIm = nullptr;
    QCheckBox *chkAuto = nullptr;
    QCheckBox *chkAutoWarn = nullptr;
    QPushButton *Command7 = nullptr; // "I'm Back"
};
