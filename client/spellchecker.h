#pragma once
// The spell checker of the input boxes: Hunspell with an installed
// dictionary, the user's own words, and the switch and language the user
// chose. The dictionary is read at the first check (not at start-up), and
// each word's answer is kept, so that typing in a long box stays quick.
// Without a dictionary, or switched off, every word is right.

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

class ClientSettings;
class Hunspell;
class PersonalWords;
class QStringDecoder;
class QStringEncoder;

class SpellChecker : public QObject {
    Q_OBJECT

  public:
    // `dirs` are searched for dictionaries; `personalPath` is the user's
    // word list. Without settings the checker is on, in the locale's language.
    SpellChecker(ClientSettings *settings, const QStringList &dirs, const QString &personalPath,
                 QObject *parent = nullptr);
    ~SpellChecker() override;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    // The installed dictionaries' names, and the one in use (empty: none).
    QStringList languages() const { return m_languages; }
    QString language() const { return m_language; }
    void setLanguage(const QString &name);

    // Whether words are being checked: switched on, with a dictionary.
    bool active();
    bool isCorrect(QStringView word);
    QStringList suggestions(const QString &word, int most = 6);
    // Into the user's list (kept for later runs) and right from now on.
    void addWord(const QString &word);

  signals:
    // The answers may differ now: words should be checked again.
    void changed();

  private:
    void load();
    void unload();
    std::string encoded(const QString &word, bool *ok) const;

    ClientSettings *m_settings;
    QStringList m_dirs;
    QStringList m_languages;
    QString m_language;
    bool m_enabled = true;
    bool m_loaded = false;
    std::unique_ptr<PersonalWords> m_personal;
    std::unique_ptr<Hunspell> m_hunspell;
    std::unique_ptr<QStringEncoder> m_encoder;
    std::unique_ptr<QStringDecoder> m_decoder;
    QHash<QString, bool> m_known;
};
