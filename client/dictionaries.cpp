#include "dictionaries.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

namespace dictionaries {

QStringList searchDirs() {
    QStringList dirs;
    const QString own = qEnvironmentVariable("DICPATH");
    for (const QString &dir : own.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        dirs.append(dir);
    dirs << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
         << QStringLiteral("/usr/share/myspell/dicts");
    return dirs;
}

QList<Dictionary> installed(const QStringList &dirs) {
    QMap<QString, Dictionary> found;
    for (const QString &path : dirs) {
        const QDir dir(path);
        const QStringList dics = dir.entryList({QStringLiteral("*.dic")}, QDir::Files);
        for (const QString &dic : dics) {
            const QString name = QFileInfo(dic).completeBaseName();
            const QString aff = dir.filePath(name + QStringLiteral(".aff"));
            // Hyphenation and thesaurus files share the folder but not the pair.
            if (found.contains(name) || !QFileInfo(aff).isFile())
                continue;
            found.insert(name, {name, aff, dir.filePath(dic)});
        }
    }
    return found.values();
}

QString forLocale(const QStringList &names, const QString &locale) {
    QString wanted = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    wanted.replace(QLatin1Char('-'), QLatin1Char('_'));
    if (wanted.isEmpty() || wanted == QLatin1String("C") || wanted == QLatin1String("POSIX"))
        wanted = QStringLiteral("en_US");
    if (names.contains(wanted))
        return wanted;
    const QString language = wanted.section(QLatin1Char('_'), 0, 0);
    for (const QString &name : names)
        if (name == language || name.startsWith(language + QLatin1Char('_')))
            return name;
    return {};
}

} // namespace dictionaries
