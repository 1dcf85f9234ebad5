#pragma once
// The privacy state: the mode in force on the server (1 "Allow All" ..
// 5 "Buddy List") and the block and allow lists. Changes go through the
// protocol control first; when a command was not sent, nothing changes.

#include <QObject>
#include <QStringList>

class QelTOCSock;

class PrivacyState : public QObject {
    Q_OBJECT

  public:
    enum Mode : qint16 { AllowAll = 1, BlockAll, AllowList, BlockList, BuddyList };

    explicit PrivacyState(QelTOCSock *toc, QObject *parent = nullptr);

    // The mode in force; "Allow All" until the server says otherwise.
    qint16 mode() const { return m_mode; }
    const QStringList &blocked() const { return m_blocked; }
    const QStringList &allowed() const { return m_allowed; }

    // Sign-on: the lists and the mode the server keeps (0: not given,
    // which is "Allow All"), each name listed once. Nothing is sent.
    void load(const QStringList &BlockList, const QStringList &PrivateList, qint16 PrivacyMode);
    // Signing off empties the lists.
    void clear();

    bool setMode(qint16 mode);
    // Denies the name; from "Allow All" the mode becomes "Block List" so
    // that the block takes effect. A stricter mode stays as it is. A name
    // is listed once (compared normalised, the first writing kept): one
    // listed already is not denied again.
    bool block(const QString &name);
    // Selects "Allow List" and permits the name, listed once.
    bool allow(const QString &name);
    // Take a name off the block / allow list (every writing of it).
    bool unblock(const QString &name);
    bool disallow(const QString &name);
    static bool sameName(const QString &a, const QString &b);
    static bool listed(const QStringList &names, const QString &name);

  signals:
    void modeChanged(qint16 mode);
    void blockedAdded(const QString &name);
    void allowedAdded(const QString &name);
    void blockedRemoved(const QString &name);
    void allowedRemoved(const QString &name);

  private:
    QelTOCSock *m_toc;
    qint16 m_mode = AllowAll;
    QStringList m_blocked;
    QStringList m_allowed;
};
