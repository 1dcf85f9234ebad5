#pragma once
// The Hunspell dictionaries the system has installed (a "name.dic" with its
// "name.aff"), and the one that suits a locale. Vorkle ships none.

#include <QList>
#include <QString>
#include <QStringList>

namespace dictionaries {

struct Dictionary {
    QString name; // "en_US", as the files are named
    QString affPath;
    QString dicPath;
};

// Hunspell's own DICPATH (colon-separated) first, then the system folders.
QStringList searchDirs();

// By name; where two folders hold the same name the earlier one wins.
QList<Dictionary> installed(const QStringList &dirs);

// The dictionary for a locale name ("de_DE", "de_AT.UTF-8", "de"): the same
// name, else one of the same language; the C locale is taken as en_US. Empty
// when none fits.
QString forLocale(const QStringList &names, const QString &locale);

} // namespace dictionaries
