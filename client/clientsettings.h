#pragma once
// What the user chose, kept between runs: the last successful sign-on, the
// formatting of outgoing text, the away messages, the colour scheme, the
// window's place and size, the notification and history switches. One INI file in the standard
// per-user config location. A file that cannot be read or does not parse
// gives the defaults and one warning line on stderr; it is moved aside,
// never deleted, and a fresh file takes its place. Every change is written
// at once, through a temporary file, so the file is never half-written.

#include <QHash>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;
class QVariant;

// The outgoing formatting as the font page holds it. Colours are HTML
// colour texts, "#" and six hexadecimal digits.
struct FormatChoice {
    QString fontFace;
    QString text;
    QString back;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

class ClientSettings {
  public:
    // The file in the standard location (XDG_CONFIG_HOME is honoured).
    ClientSettings();
    // A file of one's own: tests and other profiles.
    explicit ClientSettings(const QString &path);
    ~ClientSettings();

    static QString defaultPath();
    QString path() const { return m_path; }

    struct SignOn {
        QString screenName;
        QString server;
        int port = 0;
    };
    // The last successful sign-on, when there was one.
    std::optional<SignOn> lastSignOn() const;
    void setLastSignOn(const SignOn &signOn);

    std::optional<FormatChoice> format() const;
    void setFormat(const FormatChoice &format);

    // The away list's entries after "Default"; none when never saved.
    std::optional<QStringList> awayMessages() const;
    void setAwayMessages(const QStringList &messages);

    // "#rrggbb"
    std::optional<QString> schemeColor() const;
    void setSchemeColor(const QString &color);

    std::optional<QPoint> windowPosition() const;
    void setWindowPosition(const QPoint &position);
    // The window's size when not maximised (and not enlarged while away),
    // and whether it was maximised.
    std::optional<QSize> windowSize() const;
    bool windowMaximized() const;
    void setWindowSize(const QSize &size, bool maximized);

    bool notifyOnNewIMs() const;
    void setNotifyOnNewIMs(bool on);

    // The aliases an account gave its buddies, by normalised buddy name
    // (those kept in an older form are moved to the new one first).
    QHash<QString, QString> aliases(const QString &account);
    // An empty alias removes it.
    void setAlias(const QString &account, const QString &buddy, const QString &alias);

    // Whether the buddy list keeps offline buddies in sight (off by default).
    bool showOfflineBuddies() const;
    void setShowOfflineBuddies(bool on);

    // Whether conversation lines start with the time, "[hh:mm]" (off by
    // default).
    bool showTimestamps() const;
    void setShowTimestamps(bool on);

    // Whether text smileys in conversations show as emoji (on by default).
    bool showSmileys() const;
    void setShowSmileys(bool on);

    // Whether conversations are kept in the history (on by default).
    bool keepHistory() const;
    void setKeepHistory(bool on);

    // Whether the password of the next successful sign-on is stored in the
    // desktop's secret store (the password never is stored here).
    bool rememberPassword() const;
    void setRememberPassword(bool on);
    // Whether the program signs on by itself at start (off by default).
    bool signOnAtStart() const;
    void setSignOnAtStart(bool on);

    // The profile an account set, when it set one (by normalised name).
    std::optional<QString> profile(const QString &account) const;
    void setProfile(const QString &account, const QString &profile);

    // Minutes without input before the user is reported idle; 0 never.
    int idleMinutes() const;
    void setIdleMinutes(int minutes);
    static constexpr int kMaxIdleMinutes = 7 * 24 * 60;
    // Whether the user's typing is told to IM partners (on by default).
    bool sendTypingNotifications() const;
    void setSendTypingNotifications(bool on);

    // The settings page shown last (its object name); the buddy list's
    // when none was chosen.
    QString settingsPage() const;
    void setSettingsPage(const QString &page);

    // Whether the input boxes mark misspelt words (on by default), and the
    // dictionary chosen ("en_US"); empty for the one of the locale.
    bool checkSpelling() const;
    void setCheckSpelling(bool on);
    QString spellLanguage() const;
    void setSpellLanguage(const QString &language);

  private:
    void open();
    bool put(const QString &key, const QVariant &value);
    void write(const QString &key, const QVariant &value);
    QString colorAt(const QString &key) const;
    void moveOldAliases(const QString &account);

    QString m_path;
    std::unique_ptr<QSettings> m_settings;
};
