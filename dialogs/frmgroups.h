#pragma once
// The add-group dialog: creates a new group. It leaves the main window
// usable.

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class frmMain;

class frmGroups : public QWidget {
    Q_OBJECT

  public:
    explicit frmGroups(frmMain *main);

    QLabel *Label1 = nullptr;
    QLineEdit *txtGroup = nullptr;
    QPushButton *Command1 = nullptr;

  private:
    void Command1_Click();

    QPointer<frmMain> m_main;
};
