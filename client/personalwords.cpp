#include "personalwords.h"

#include "spellwords.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

PersonalWords::PersonalWords(const QString &path) : m_path(path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // A line longer than any word is not one the user added.
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString word = line.trimmed();
        if (!word.isEmpty() && word.size() <= spellwords::kMaxWordLength && !m_words.contains(word))
            m_words.append(word);
    }
}

QString PersonalWords::defaultPath() {
    // Beside the history, in the one data folder of the program.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vorkle/words.txt");
}

bool PersonalWords::add(const QString &word) {
    const QString clean = word.trimmed();
    if (clean.isEmpty() || clean.contains(QLatin1Char('\n')) || m_words.contains(clean))
        return true;
    m_words.append(clean);
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(m_words.join(QLatin1Char('\n')).toUtf8() + '\n');
    return file.commit();
}
