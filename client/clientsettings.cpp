#include "clientsettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QVariant>

namespace {
const QString kFileName = QStringLiteral("vorkle.conf");
constexpr int kMaxAwayMessages = 100;
constexpr int kMaxAwayText = 4096;
} // namespace

ClientSettings::ClientSettings() : ClientSettings(defaultPath()) {}

ClientSettings::ClientSettings(const QString &path) : m_path(path) {
    open();
}

ClientSettings::~ClientSettings() = default;

QString ClientSettings::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/vorkle/") + kFileName;
}

void ClientSettings::open() {
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_settings = std::make_unique<QSettings>(m_path, QSettings::IniFormat);
    if (m_settings->status() == QSettings::NoError) {
        // Values that do not read are left to their defaults, and said so once.
        const auto has = [this](const char *key) {
            return m_settings->contains(QLatin1String(key));
        };
        if ((has("signon/port") && !lastSignOn()) || (has("format/font") && !format()) ||
            (has("window/scheme") && !schemeColor()) ||
            (has("window/position") && !windowPosition()) || (has("window/size") && !windowSize()))
            qWarning("vorkle: some settings in %s could not be read; using defaults for them",
                     qPrintable(m_path));
        return;
    }
    // Keep the damaged file for the user to look at, and start afresh.
    const QString aside =
        m_path + QLatin1String(".damaged-") +
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss"));
    m_settings.reset();
    const bool moved = QFile::rename(m_path, aside);
    qWarning("vorkle: the settings file %s could not be read; using defaults%s", qPrintable(m_path),
             moved ? qPrintable(QStringLiteral(" (kept as ") + aside + QLatin1Char(')')) : "");
    m_settings = std::make_unique<QSettings>(moved ? m_path : aside, QSettings::IniFormat);
}

bool ClientSettings::put(const QString &key, const QVariant &value) {
    if (m_settings->value(key) == value)
        return false;
    m_settings->setValue(key, value);
    return true;
}

void ClientSettings::write(const QString &key, const QVariant &value) {
    // Unchanged values cost no write: sign-ons and refreshes happen often.
    if (put(key, value))
        m_settings->sync();
}

QString ClientSettings::colorAt(const QString &key) const {
    // Only "#rrggbb" is ours; anything else is no colour.
    static const QRegularExpression html(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    const QString text = m_settings->value(key).toString();
    return html.match(text).hasMatch() ? text : QString();
}

std::optional<ClientSettings::SignOn> ClientSettings::lastSignOn() const {
    SignOn s;
    s.screenName = m_settings->value(QStringLiteral("signon/screenname")).toString();
    s.server = m_settings->value(QStringLiteral("signon/server")).toString();
    bool ok = false;
    s.port = m_settings->value(QStringLiteral("signon/port")).toInt(&ok);
    if (s.screenName.isEmpty() || s.server.isEmpty() || !ok || s.port < 1 || s.port > 65535)
        return std::nullopt;
    return s;
}

void ClientSettings::setLastSignOn(const SignOn &signOn) {
    bool changed = put(QStringLiteral("signon/screenname"), signOn.screenName);
    changed |= put(QStringLiteral("signon/server"), signOn.server);
    changed |= put(QStringLiteral("signon/port"), signOn.port);
    if (changed)
        m_settings->sync();
}

std::optional<FormatChoice> ClientSettings::format() const {
    FormatChoice f;
    f.fontFace = m_settings->value(QStringLiteral("format/font")).toString().trimmed();
    f.text = colorAt(QStringLiteral("format/text"));
    f.back = colorAt(QStringLiteral("format/back"));
    if (f.fontFace.isEmpty() || f.text.isEmpty() || f.back.isEmpty())
        return std::nullopt;
    f.bold = m_settings->value(QStringLiteral("format/bold")).toBool();
    f.italic = m_settings->value(QStringLiteral("format/italic")).toBool();
    f.underline = m_settings->value(QStringLiteral("format/underline")).toBool();
    f.strikeout = m_settings->value(QStringLiteral("format/strikeout")).toBool();
    return f;
}

void ClientSettings::setFormat(const FormatChoice &f) {
    bool changed = put(QStringLiteral("format/font"), f.fontFace);
    changed |= put(QStringLiteral("format/text"), f.text);
    changed |= put(QStringLiteral("format/back"), f.back);
    changed |= put(QStringLiteral("format/bold"), f.bold);
    changed |= put(QStringLiteral("format/italic"), f.italic);
    changed |= put(QStringLiteral("format/underline"), f.underline);
    changed |= put(QStringLiteral("format/strikeout"), f.strikeout);
    if (changed)
        m_settings->sync();
}

std::optional<QStringList> ClientSettings::awayMessages() const {
    const QVariant v = m_settings->value(QStringLiteral("away/messages"));
    if (!v.isValid())
        return std::nullopt;
    QStringList out;
    for (const QString &m : v.toStringList())
        if (!m.isEmpty() && m.size() <= kMaxAwayText && out.size() < kMaxAwayMessages)
            out << m;
    return out;
}

void ClientSettings::setAwayMessages(const QStringList &messages) {
    write(QStringLiteral("away/messages"), messages);
}

std::optional<QString> ClientSettings::schemeColor() const {
    const QString c = colorAt(QStringLiteral("window/scheme"));
    return c.isEmpty() ? std::nullopt : std::optional<QString>(c);
}

void ClientSettings::setSchemeColor(const QString &color) {
    write(QStringLiteral("window/scheme"), color);
}

std::optional<QPoint> ClientSettings::windowPosition() const {
    const QVariant v = m_settings->value(QStringLiteral("window/position"));
    if (!v.canConvert<QPoint>())
        return std::nullopt;
    const QPoint p = v.toPoint();
    // A place far off any screen is no place to restore.
    if (qAbs(p.x()) > 100000 || qAbs(p.y()) > 100000)
        return std::nullopt;
    return p;
}

void ClientSettings::setWindowPosition(const QPoint &position) {
    write(QStringLiteral("window/position"), position);
}

std::optional<QSize> ClientSettings::windowSize() const {
    const QVariant v = m_settings->value(QStringLiteral("window/size"));
    if (!v.canConvert<QSize>())
        return std::nullopt;
    const QSize s = v.toSize();
    // No screen is that large: a size that cannot be shown is no size.
    if (s.width() < 1 || s.height() < 1 || s.width() > 100000 || s.height() > 100000)
        return std::nullopt;
    return s;
}

void ClientSettings::setWindowSize(const QSize &size, bool maximized) {
    const bool sized = put(QStringLiteral("window/size"), size);
    if (put(QStringLiteral("window/maximized"), maximized) || sized)
        m_settings->sync();
}

bool ClientSettings::windowMaximized() const {
    return m_settings->value(QStringLiteral("window/maximized"), false).toBool();
}

bool ClientSettings::notifyOnNewIMs() const {
    return m_settings->value(QStringLiteral("notify/newims"), true).toBool();
}

void ClientSettings::setNotifyOnNewIMs(bool on) {
    write(QStringLiteral("notify/newims"), on);
}

namespace {
// A name as one settings key: percent-encoded, so that no name (a slash, a
// tab, anything) can split a key or be read as another.
QString nameKey(const QString &name) {
    return QString::fromLatin1(QUrl::toPercentEncoding(name));
}
QString aliasGroup(const QString &account) {
    return QStringLiteral("buddyaliases/") + nameKey(account);
}
} // namespace

// The alias of each buddy under its own key in the account's group.
QHash<QString, QString> ClientSettings::aliases(const QString &account) {
    moveOldAliases(account);
    QHash<QString, QString> out;
    m_settings->beginGroup(aliasGroup(account));
    for (const QString &key : m_settings->childKeys()) {
        const QString alias = m_settings->value(key).toString();
        if (!alias.isEmpty())
            out.insert(QUrl::fromPercentEncoding(key.toLatin1()), alias);
    }
    m_settings->endGroup();
    return out;
}

void ClientSettings::setAlias(const QString &account, const QString &buddy, const QString &alias) {
    const QString key = aliasGroup(account) + QLatin1Char('/') + nameKey(buddy);
    if (!alias.isEmpty()) {
        write(key, alias);
    } else if (m_settings->contains(key)) {
        m_settings->remove(key);
        m_settings->sync();
    }
}

// Aliases were once kept as "buddy<TAB>alias" entries under aliases/<account>.
// An entry with one tab reads one way only and moves to the new form; one
// with more (a name or an alias holding a tab) could be read two ways and
// is left out rather than put on the wrong buddy.
void ClientSettings::moveOldAliases(const QString &account) {
    const QString oldKey = QStringLiteral("aliases/") + account;
    if (account.contains(QLatin1Char('/')) || !m_settings->contains(oldKey))
        return;
    const QStringList entries = m_settings->value(oldKey).toStringList();
    for (const QString &entry : entries) {
        const QStringList parts = entry.split(QLatin1Char('\t'));
        if (parts.size() == 2 && !parts.at(0).isEmpty() && !parts.at(1).isEmpty())
            put(aliasGroup(account) + QLatin1Char('/') + nameKey(parts.at(0)), parts.at(1));
        else
            qWarning("vorkle: an alias in the old form could not be read without doubt; left out");
    }
    m_settings->remove(oldKey);
    m_settings->sync();
}

bool ClientSettings::showOfflineBuddies() const {
    return m_settings->value(QStringLiteral("buddylist/showoffline"), false).toBool();
}

void ClientSettings::setShowOfflineBuddies(bool on) {
    write(QStringLiteral("buddylist/showoffline"), on);
}

bool ClientSettings::showTimestamps() const {
    return m_settings->value(QStringLiteral("conversations/timestamps"), false).toBool();
}

void ClientSettings::setShowTimestamps(bool on) {
    write(QStringLiteral("conversations/timestamps"), on);
}

bool ClientSettings::showSmileys() const {
    return m_settings->value(QStringLiteral("conversations/smileys"), true).toBool();
}

void ClientSettings::setShowSmileys(bool on) {
    write(QStringLiteral("conversations/smileys"), on);
}

bool ClientSettings::keepHistory() const {
    return m_settings->value(QStringLiteral("history/keep"), true).toBool();
}

void ClientSettings::setKeepHistory(bool on) {
    write(QStringLiteral("history/keep"), on);
}

bool ClientSettings::rememberPassword() const {
    return m_settings->value(QStringLiteral("signon/rememberpassword"), false).toBool();
}

void ClientSettings::setRememberPassword(bool on) {
    write(QStringLiteral("signon/rememberpassword"), on);
}

bool ClientSettings::signOnAtStart() const {
    return m_settings->value(QStringLiteral("signon/atstart"), false).toBool();
}

void ClientSettings::setSignOnAtStart(bool on) {
    write(QStringLiteral("signon/atstart"), on);
}

std::optional<QString> ClientSettings::profile(const QString &account) const {
    const QVariant v = m_settings->value(QStringLiteral("profile/") + account);
    if (!v.isValid() || account.isEmpty())
        return std::nullopt;
    return v.toString();
}

void ClientSettings::setProfile(const QString &account, const QString &profile) {
    if (!account.isEmpty())
        write(QStringLiteral("profile/") + account, profile);
}

int ClientSettings::idleMinutes() const {
    bool ok = false;
    const int minutes = m_settings->value(QStringLiteral("idle/minutes"), 10).toInt(&ok);
    // A week is the longest wait kept; nonsense gives the default.
    return ok && minutes >= 0 ? qMin(minutes, kMaxIdleMinutes) : 10;
}

void ClientSettings::setIdleMinutes(int minutes) {
    write(QStringLiteral("idle/minutes"), qBound(0, minutes, kMaxIdleMinutes));
}

bool ClientSettings::sendTypingNotifications() const {
    return m_settings->value(QStringLiteral("typing/send"), true).toBool();
}

void ClientSettings::setSendTypingNotifications(bool on) {
    write(QStringLiteral("typing/send"), on);
}

QString ClientSettings::settingsPage() const {
    return m_settings->value(QStringLiteral("window/settingspage"), QStringLiteral("pageBL"))
        .toString();
}

void ClientSettings::setSettingsPage(const QString &page) {
    write(QStringLiteral("window/settingspage"), page);
}

bool ClientSettings::checkSpelling() const {
    return m_settings->value(QStringLiteral("spelling/check"), true).toBool();
}

void ClientSettings::setCheckSpelling(bool on) {
    write(QStringLiteral("spelling/check"), on);
}

QString ClientSettings::spellLanguage() const {
    return m_settings->value(QStringLiteral("spelling/language")).toString();
}

void ClientSettings::setSpellLanguage(const QString &language) {
    write(QStringLiteral("spelling/language"), language);
}
