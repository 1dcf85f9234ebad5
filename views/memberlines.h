#pragma once
// The transcript lines of a room's joins and leaves ("<name> has entered
// the room."), held until the pass of the event loop ends and then written
// in one go. The room's transcript is cleared whenever it holds more than
// its limit, so of a flood only the lines after the last such clearing can
// ever be seen: only those are kept and inserted. The transcript reads
// exactly as if every line had been written on its own.

#include <QString>
#include <vector>

class QTextEdit;

class MemberLines {
  public:
    MemberLines(QTextEdit *TEXT, int limit);

    void add(const QString &name, const QString &what);
    // Writes the lines held; anything else written to the transcript must
    // come after this, to keep the order.
    void write();

  private:
    struct Run {
        QString text;
        bool bold;
    };
    void hold(const QString &text, bool bold);

    QTextEdit *m_text;
    int m_limit;
    std::vector<Run> m_runs;
    // What the transcript would hold were the runs written already.
    int m_length = 0;
    bool m_clearFirst = false;
};
