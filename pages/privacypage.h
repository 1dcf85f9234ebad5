#pragma once
// The "privacy" page: the block and allow lists with their "Add" buttons,
// and the five privacy modes. What it shows follows the privacy state.

#include "pagekit.h"

#include <QWidget>

class PrivacyState;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class PrivacyPage : public QWidget {
    Q_OBJECT

  public:
    PrivacyPage(const PageKit &kit, PrivacyState *privacy, QWidget *parent = nullptr);

    // Sends mode Index + 1; runs for clicks and for click() alike.
    void optPrivacy_Click(int Index);
    void CmdAddAllow_Click();
    void cmdAddBlock_Click();
    // An IM view's "Block": the name goes into the block field and the
    // block list's "Add" runs.
    void blockName(const QString &name);
    // "Block User" in a buddy's menu: as the block list's "Add" for that name.
    void block(const QString &name);
    // The selected names leave the block / allow list (Delete, "Remove").
    void removeBlocked();
    void removeAllowed();
    // Sign-on: the lists and the mode the server keeps, as given.
    void fill(const QStringList &BlockList, const QStringList &PrivateList, qint16 PrivacyMode);
    // Signing off empties both lists.
    void clear();

    static constexpr int kPrivacyOptions = 5;
    QRadioButton *optPrivacy[kPrivacyOptions] = {}; // "Allow All" .. "Buddy List"
    QLabel *Label4 = nullptr;                       // "Block List"
    QListWidget *lstBlock = nullptr;
    QLineEdit *txtBlockuser = nullptr;
    QPushButton *cmdAddBlock = nullptr;
    QLabel *Label5 = nullptr; // "Allow List"
    QListWidget *lstAllow = nullptr;
    QLineEdit *txtAllowUser = nullptr;
    QPushButton *CmdAddAllow = nullptr;

  private:
    void showMode(qint16 mode);
    void addRemoveAction(QListWidget *list, const char *name, void (PrivacyPage::*remove)());
    // False, with the alert, when no name was typed.
    bool hasName(const QString &name, const QString &what);

    PageKit m_kit;
    PrivacyState *m_privacy;
};
