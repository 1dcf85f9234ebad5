#pragma once
// The "font" page: the font face, text and background colours and the four
// styles of what the user sends. Every change is remembered and the
// conversation views are told to refresh.

#include "pagekit.h"
#include "views/viewhost.h"

#include <QWidget>

struct FormatChoice;
class ClickField;
class QCheckBox;
class QLabel;

class FontPage : public QWidget {
    Q_OBJECT

  public:
    explicit FontPage(const PageKit &kit, QWidget *parent = nullptr);

    void txtFont_Click();
    void txtColor_Click();
    void txtBackColor_Click();
    // What the views read at every refresh and send.
    FormatSettings formatSettings() const;
    FormatChoice choice() const;
    // As if each value had been chosen on the page (not remembered).
    void applyFormat(const FormatChoice &format);
    void rememberFormat();

    // The colours as decimal texts (0x00BBGGRR).
    QString fontColorx = QStringLiteral("0");
    QString backColorx = QStringLiteral("16777215");

    QLabel *Label18 = nullptr;
    ClickField *txtFont = nullptr;
    QLabel *Label17 = nullptr;
    ClickField *txtColor = nullptr;
    QLabel *Label19 = nullptr;
    ClickField *txtBackColor = nullptr;
    QCheckBox *chkBold = nullptr;
    QCheckBox *chkIt = nullptr;
    QCheckBox *chkU = nullptr;
    QCheckBox *ChkS = nullptr;

  signals:
    // Every view refreshes its input box.
    void formatChanged();
    // Only the room views: an open IM view takes a new background at its
    // next refresh.
    void backChanged();

  private:
    PageKit m_kit;
};
