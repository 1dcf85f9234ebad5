#pragma once
// The words the user added to the dictionary: a plain file, one word a line,
// in the per-user data folder. Written whole through a temporary file, so
// that it is never half-written; a file that cannot be read means no words.

#include <QString>
#include <QStringList>

class PersonalWords {
  public:
    explicit PersonalWords(const QString &path);

    // "vorkle/words.txt" in the standard data location (XDG_DATA_HOME is
    // honoured).
    static QString defaultPath();

    const QStringList &words() const { return m_words; }
    // False when the file could not be written (the word is kept anyway for
    // this run).
    bool add(const QString &word);

  private:
    QString m_path;
    QStringList m_words;
};
