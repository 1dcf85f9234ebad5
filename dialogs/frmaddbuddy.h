#pragma once
// The add-buddy dialog: puts a screen name into one of the user's groups.
// While it is open its owner (the main window) takes no input. It works on
// the buddy book; what the user must be told goes to the owner's alert.

#include <QPointer>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class BuddyBook;

class frmAddBuddy : public QWidget {
    Q_OBJECT

  public:
    using Alert = std::function<void(const QString &)>;
    frmAddBuddy(QWidget *owner, BuddyBook *book, Alert alert);

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

    QPointer<QWidget> m_main;
    QPointer<BuddyBook> m_book;
    Alert m_alert;
};
