#pragma once
// Who has been seen online this session: the buddy list's presence
// updates (a sign-off removes the name), and anyone who sent us an IM or a
// room line or was in a room with us. An IM to a name not seen online may
// never arrive: servers drop it without a word.

#include <QObject>
#include <QSet>
#include <QString>

class QelTOCSock;

class SeenOnline : public QObject {
    Q_OBJECT

  public:
    // Names beyond this many are not remembered (a server could send
    // names without end); they appear offline.
    static constexpr int kMaxNames = 50000;

    explicit SeenOnline(QelTOCSock *toc, QObject *parent = nullptr);

    bool appearsOffline(const QString &name) const;
    void note(const QString &name, bool online);
    // A new session knows nobody yet.
    void clear() { m_online.clear(); }

  private:
    QSet<QString> m_online; // normalised names
};
