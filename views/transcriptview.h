#pragma once
// The IM view's transcript: a read-only QTextEdit that keeps only the most
// recent messages (the history keeps them all), lays out the messages that
// arrive in one event-loop pass together, and does no layout work while it
// cannot be seen.

#include "transcriptedit.h"

#include <QTextCursor>

class QTextBlock;

class TranscriptView : public TranscriptEdit {
  public:
    // At most this many messages stay on screen, and at most about this many
    // characters (a few hundred messages of 2 KB): opening a conversation
    // lays out everything it keeps, so what it keeps must lay out quickly.
    static constexpr int kKeptMessages = 5000;
    static constexpr int kKeptCharacters = 600000;
    // Once over a limit, the oldest messages go together, down to a fifth
    // under it: a trim moves every block that stays, so it must not run for
    // each message.
    static constexpr int kLowMessages = kKeptMessages - kKeptMessages / 5;
    static constexpr int kLowCharacters = kKeptCharacters - kKeptCharacters / 5;

    explicit TranscriptView(QWidget *parent = nullptr);

    // The number of blocks before a message was appended: call before.
    int blockMark() const;
    // Marks the message appended since blockMark() returned `firstBlock`,
    // and drops the oldest messages, in batches, once over the limits.
    void messageAppended(int firstBlock);
    // What is appended until control returns to the event loop is laid
    // out, trimmed and scrolled once, then (a flood arrives many messages
    // to a read of the connection).
    void batchThisPass();

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    // A repaint of the viewport, not a scroll of its pixels: while messages
    // pour in, the pass paints once instead of moving pixels per message.
    void scrollContentsBy(int dx, int dy) override;

  private:
    bool overLimits() const;
    // The limits are looked at again once another batch's worth came.
    void checkAgainAfterBatch();
    QTextBlock oldestKept() const;
    void removeBefore(const QTextBlock &keepFrom);
    void endBatch();

    // Over this many blocks there may be too many messages (a message is
    // one block or more).
    int m_checkBlocks = kKeptMessages;
    int m_checkCharacters = kKeptCharacters;
    QTextCursor m_batch;
    bool m_batching = false;
    int m_batchFirstBlock = 0; // the first block appended in the batch
    bool m_trimDue = false;    // at the end of the batch
    static constexpr int kAtEnd = -1;
    int m_resumeAt = kAtEnd;  // the scroll position to show again
    int m_removedInBatch = 0; // characters
};
