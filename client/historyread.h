#pragma once
// Reading a conversation back from a history file. The reading runs on any
// thread (the window runs it off its own) and is bounded: only the newest
// lines that match come back, so a history of millions of lines costs the
// window no more than a page of them.

#include "historyline.h"

#include <QList>
#include <QString>
#include <atomic>
#include <functional>

struct HistoryPage {
    QList<HistoryLine> lines; // oldest first; text as toPlain made it
    bool more = false;        // older matching lines were left out
    QString error;            // the file could not be read
};

struct HistoryQuery {
    QString path;
    QString partner; // an IM partner (any spelling of the name) or a room
    bool room = false;
    // Only lines whose plain text contains this, case-insensitive; every
    // line when empty.
    QString filter;
    int limit = 5000;
    // The stored HTML as the text to show and to filter on.
    std::function<QString(const QString &)> toPlain;
};

// The page; an empty one, without error, when the file does not exist or
// *cancelled became true on the way.
HistoryPage readConversation(const HistoryQuery &query,
                             const std::atomic<bool> *cancelled = nullptr);
