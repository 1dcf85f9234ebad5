#include "conversationviews.h"

#include "client/conversations.h"
#include "client/outbox.h"
#include "uikit/anchors.h"
#include "views/ctlchat.h"
#include "views/ctlim.h"
#include "views/viewhost.h"

#include <utility>

namespace {

// The first slot a closed view left free, or a new one at the end.
template <typename View> int freeSlot(QList<View *> &views) {
    const qsizetype index = views.indexOf(nullptr, 1);
    if (index >= 0)
        return int(index);
    views.append(nullptr);
    return int(views.size() - 1);
}

// The view may still be running the handler that closed it, hence
// deleteLater.
template <typename View> void freeView(QList<View *> &views, int index) {
    if (index < 1 || index >= views.size() || !views.at(index))
        return;
    View *view = std::exchange(views[index], nullptr);
    view->hide();
    view->deleteLater();
}

template <typename View> void place(QList<View *> &views, View *view, int index) {
    if (index < views.size())
        views[index] = view;
    else
        views.append(view);
}

} // namespace

ConversationViews::ConversationViews(ViewHost *host, Conversations *conversations,
                                     QList<ctlIM *> &ims, QList<ctlChat *> &chats, QWidget *imPanel,
                                     QWidget *chatPanel, QObject *parent)
    : QObject(parent), imViews(ims), chatViews(chats), outbox(new Outbox(host->tocControl(), this)),
      m_host(host), m_conversations(conversations), m_imPanel(imPanel), m_chatPanel(chatPanel) {
    // The templates at index 0: hidden, never carrying a conversation.
    newIMView();
    newChatView();
}

void ConversationViews::fillPanel(QWidget *view) {
    anchors::fill(view);
    view->hide();
}

// A new view at the first free index, filling its panel, hidden.
ctlIM *ConversationViews::newIMView() {
    const int index = imViews.isEmpty() ? 0 : freeSlot(imViews);
    auto *view = new ctlIM(m_host, m_imPanel);
    view->setObjectName(QStringLiteral("imView%1").arg(index));
    view->setIndex(index);
    view->setTimestamps(m_timestamps);
    view->setSmileys(m_smileys);
    fillPanel(view);
    connect(view, &ctlIM::KillIM, this, &ConversationViews::KillIM);
    connect(view, &ctlIM::typed, this, &ConversationViews::typed);
    place(imViews, view, index);
    return view;
}

ctlChat *ConversationViews::newChatView() {
    const int index = chatViews.isEmpty() ? 0 : freeSlot(chatViews);
    auto *view = new ctlChat(m_host, m_chatPanel);
    view->setObjectName(QStringLiteral("chatView%1").arg(index));
    view->setIndex(index);
    view->setTimestamps(m_timestamps);
    view->setSmileys(m_smileys);
    fillPanel(view);
    connect(view, &ctlChat::ExitChat, this, &ConversationViews::ExitChat);
    place(chatViews, view, index);
    return view;
}

void ConversationViews::setTimestamps(bool on) {
    m_timestamps = on;
    forEveryView([on](auto *view) { view->setTimestamps(on); });
}

void ConversationViews::setSmileys(bool on) {
    m_smileys = on;
    forEveryView([on](auto *view) { view->setSmileys(on); });
}

ctlIM *ConversationViews::openIM(const QString &partner) {
    ctlIM *view = newIMView();
    view->IMUser = partner;
    m_conversations->openIM(partner, view->index());
    return view;
}

ctlChat *ConversationViews::openRoom(const QString &room, qint32 chatId) {
    ctlChat *view = newChatView();
    view->Chatids = room + QLatin1Char('.');
    view->Chatid2 = QString::number(chatId);
    m_conversations->openRoom(chatId, view->index(), room);
    // The view applies the formatting settings only when told to.
    view->UpdateFonts();
    return view;
}

void ConversationViews::closeIM(int index) {
    m_conversations->closeIM(index);
    freeView(imViews, index);
}

ConversationKey ConversationViews::closeRoom(int index) {
    m_conversations->closeRoom(index);
    if (index < 1 || index >= chatViews.size() || !chatViews.at(index))
        return ConversationKey();
    const ConversationKey key = keyOf(chatViews.at(index));
    freeView(chatViews, index);
    return key;
}

ConversationKey ConversationViews::keyOf(const ctlIM *view) {
    return ConversationKey::ofPerson(view->IMUser);
}

ConversationKey ConversationViews::keyOf(const ctlChat *view) {
    return ConversationKey::ofRoom(view->index(), view->Chatids);
}

void ConversationViews::closeAll() {
    for (int i = 1; i < chatViews.size(); ++i)
        freeView(chatViews, i);
    for (int i = 1; i < imViews.size(); ++i)
        freeView(imViews, i);
    m_conversations->clear();
}

void ConversationViews::connectionLost() {
    for (ctlChat *view : std::as_const(chatViews))
        if (view)
            view->connectionLost();
}

void ConversationViews::rejoined(int view, qint32 chatId) {
    if (view > 0 && view < chatViews.size() && chatViews.at(view))
        chatViews.at(view)->rejoined(chatId);
}

void ConversationViews::noteAll(const QString &text) {
    for (int i = 1; i < imViews.size(); ++i)
        if (imViews.at(i) && !imViews.at(i)->IMUser.isEmpty())
            imViews.at(i)->showNote(text);
    for (int i = 1; i < chatViews.size(); ++i)
        noteRoom(i, text);
}

void ConversationViews::noteRoom(int view, const QString &text) {
    if (view > 0 && view < chatViews.size() && chatViews.at(view) &&
        !chatViews.at(view)->Chatids.isEmpty())
        chatViews.at(view)->showNote(text);
}

ctlIM *ConversationViews::imViewOf(const QString &partner) const {
    const int index = m_conversations->imView(partner);
    return index > 0 && index < imViews.size() ? imViews.at(index) : nullptr;
}

ctlChat *ConversationViews::roomViewOf(qint32 chatId) const {
    const int index = m_conversations->roomView(chatId);
    return index > 0 && index < chatViews.size() ? chatViews.at(index) : nullptr;
}

ctlChat *ConversationViews::anyRoom() const {
    for (int i = 1; i < chatViews.size(); ++i)
        if (chatViews.at(i) && !chatViews.at(i)->Chatid2.isEmpty())
            return chatViews.at(i);
    return nullptr;
}

void ConversationViews::hideAll() {
    for (ctlChat *view : std::as_const(chatViews))
        if (view)
            view->hide();
    for (ctlIM *view : std::as_const(imViews))
        if (view)
            view->hide();
}

QWidget *ConversationViews::viewFor(const ConversationKey &key) const {
    switch (key.kind) {
    case ConversationKey::Kind::Person:
        return imViewOf(key.caption);
    case ConversationKey::Kind::Room:
        // A closed view (or the template) carries no room.
        if (key.roomView > 0 && key.roomView < chatViews.size() && chatViews.at(key.roomView) &&
            !chatViews.at(key.roomView)->Chatids.isEmpty())
            return chatViews.at(key.roomView);
        return nullptr;
    case ConversationKey::Kind::None:
        break;
    }
    return nullptr;
}

QWidget *ConversationViews::showFor(const ConversationKey &key) {
    QWidget *view = viewFor(key);
    if (!view)
        return nullptr;
    view->show();
    (key.isRoom() ? m_chatPanel : m_imPanel)->show();
    return view;
}

void ConversationViews::refreshAll() {
    refreshRooms();
    for (ctlIM *view : std::as_const(imViews))
        if (view)
            view->UpdateFonts();
}

void ConversationViews::refreshRooms() {
    for (ctlChat *view : std::as_const(chatViews))
        if (view)
            view->UpdateFonts();
}
