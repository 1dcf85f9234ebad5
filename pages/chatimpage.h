#pragma once
// The "chat/im" page: the room and exchange fields with "Join Chat", the
// partner field with "Send IM".

#include "pagekit.h"

#include <QWidget>

class Conversations;
class QLineEdit;
class QPushButton;

class ChatIMPage : public QWidget {
    Q_OBJECT

  public:
    ChatIMPage(const PageKit &kit, Conversations *conversations, QWidget *parent = nullptr);

    void cmdIM_Click();
    void cmdChat_Click();

    QLineEdit *txtChatName = nullptr;
    QLineEdit *txtEx = nullptr;
    QPushButton *cmdChat = nullptr;
    QLineEdit *txtIM = nullptr;
    QPushButton *cmdIM = nullptr;

  signals:
    // "Send IM" with a partner: the window opens the conversation, or
    // brings forward the one that is open.
    void imRequested(const QString &name);

  private:
    PageKit m_kit;
    Conversations *m_conversations;
};
