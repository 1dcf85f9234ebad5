#pragma once
// Reading a conversation back from a history file. The reading runs on any
// thread (the window runs it off its own) and is bounded: a page of the
// newest lines that match, at most `limit` lines of text and `maxBytes`,
// so a history of millions of long lines costs the window no more than a
// page. The page says where the one before it begins.

#include "historyline.h"

#include <QList>
#include <QString>
#include <atomic>
#include <functional>

// Where a page begins, counted back from the newest line.
struct HistoryCursor {
    qint64 row = -1; // the newest row to read; -1: the newest there is
    int skip = 0;    // lines of that row, from its newest, already read
};

struct HistoryPage {
    QList<HistoryLine> lines; // oldest first; text as toPlain made it
    bool more = false;        // older matching lines were left out
    HistoryCursor older;      // where they begin (when more)
    QString error;            // the file could not be read
};

struct HistoryQuery {
    QString path;
    QString partner; // an IM partner (any spelling of the name) or a room
    bool room = false;
    // Only lines whose plain text contains this, case-insensitive; every
    // line when empty.
    QString filter;
    // The most lines of text a page holds: a line whose text holds line
    // breaks ("\n") counts one more for each. A page holds at least one.
    int limit = 5000;
    // The stored HTML as the text to show and to filter on.
    std::function<QString(const QString &)> toPlain;
    // The text of the page's lines together, in bytes as held (UTF-16);
    // a page holds at least one line.
    qint64 maxBytes = 2 * 1024 * 1024;
    HistoryCursor from = {};
};

// The page; an empty one, without error, when the file does not exist or
// *cancelled became true on the way.
HistoryPage readConversation(const HistoryQuery &query,
                             const std::atomic<bool> *cancelled = nullptr);
