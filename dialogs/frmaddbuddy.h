#pragma once
// The add-buddy dialog: puts a screen name into one of the user's groups.
// While it is open the main window takes no input.

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class frmMain;

class frmAddBuddy : public QWidget {
    Q_OBJECT

  public:
    explicit frmAddBuddy(frmMain *main);

    // Disables the main window and fills the groups; with no group it
    // shows the alert and closes at once. Otherwise the dialog is shown.
    void open();

    QLabel *Label1 = nullptr;
    QLineEdit *txtsn = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *cmbGroup = nullptr;
    QPushButton *Command1 = nullptr;

  protected:
    void closeEvent(QCloseEvent *event) override;

  private:
    void Command1_Click();
    void unload();

    QPointer<frmMain> m_main;
};
