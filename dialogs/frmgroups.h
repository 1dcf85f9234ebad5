#pragma once
// The add-group dialog: creates a new group in the buddy book. It leaves
// the main window usable.

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class BuddyBook;

class frmGroups : public QWidget {
    Q_OBJECT

  public:
    using Alert = std::function<void(const QString &)>;
    frmGroups(QWidget *main, BuddyBook *book, Alert alert);

    QLabel *Label1 = nullptr;
    QLineEdit *txtGroup = nullptr;
    QPushButton *Command1 = nullptr;

  private:
    void Command1_Click();

    QPointer<BuddyBook> m_book;
    Alert m_alert;
};
