#include "spellchecker.h"

#include "clientsettings.h"
#include "dictionaries.h"
#include "personalwords.h"
#include "spellwords.h"

#include <QFile>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

namespace {
// A bound on the kept answers: a paste of random text cannot grow it forever.
constexpr qsizetype kMostKnown = 50000;
} // namespace

SpellChecker::SpellChecker(ClientSettings *settings, const QStringList &dirs,
                           const QString &personalPath, QObject *parent)
    : QObject(parent), m_settings(settings), m_dirs(dirs),
      m_personal(std::make_unique<PersonalWords>(personalPath)) {
    for (const dictionaries::Dictionary &dictionary : dictionaries::installed(dirs))
        m_languages.append(dictionary.name);
    m_enabled = settings ? settings->checkSpelling() : true;
    const QString chosen = settings ? settings->spellLanguage() : QString();
    m_language = m_languages.contains(chosen)
                     ? chosen
                     : dictionaries::forLocale(m_languages, QLocale::system().name());
}

SpellChecker::~SpellChecker() = default;

void SpellChecker::setEnabled(bool on) {
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (m_settings)
        m_settings->setCheckSpelling(on);
    emit changed();
}

void SpellChecker::setLanguage(const QString &name) {
    if (name == m_language || !m_languages.contains(name))
        return;
    m_language = name;
    if (m_settings)
        m_settings->setSpellLanguage(name);
    unload();
    emit changed();
}

void SpellChecker::unload() {
    m_hunspell.reset();
    m_encoder.reset();
    m_decoder.reset();
    m_known.clear();
    m_loaded = false;
}

void SpellChecker::load() {
    m_loaded = true;
    for (const dictionaries::Dictionary &dictionary : dictionaries::installed(m_dirs)) {
        if (dictionary.name != m_language)
            continue;
        auto hunspell =
            std::make_unique<Hunspell>(QFile::encodeName(dictionary.affPath).constData(),
                                       QFile::encodeName(dictionary.dicPath).constData());
        // Words go to Hunspell in the dictionary's own encoding; one Qt cannot
        // write leaves the dictionary unused.
        const QString encoding = QString::fromStdString(hunspell->get_dict_encoding());
        auto encoder = std::make_unique<QStringEncoder>(encoding.toLatin1().constData());
        auto decoder = std::make_unique<QStringDecoder>(encoding.toLatin1().constData());
        if (!encoder->isValid() || !decoder->isValid()) {
            qWarning("Vorkle: the dictionary %s is in %s, which cannot be used",
                     qPrintable(dictionary.name), qPrintable(encoding));
            return;
        }
        m_hunspell = std::move(hunspell);
        m_encoder = std::move(encoder);
        m_decoder = std::move(decoder);
        for (const QString &word : m_personal->words()) {
            bool ok = false;
            const std::string bytes = encoded(word, &ok);
            if (ok)
                m_hunspell->add(bytes);
        }
        return;
    }
}

bool SpellChecker::active() {
    if (!m_enabled || m_language.isEmpty())
        return false;
    if (!m_loaded)
        load();
    return m_hunspell != nullptr;
}

// The word in the dictionary's encoding; not ok when it has a character the
// encoding lacks (such a word is not the dictionary's to judge).
std::string SpellChecker::encoded(const QString &word, bool *ok) const {
    m_encoder->resetState();
    m_decoder->resetState();
    const QByteArray bytes = m_encoder->encode(word);
    *ok = !m_encoder->hasError() && m_decoder->decode(bytes) == word;
    return bytes.toStdString();
}

bool SpellChecker::isCorrect(QStringView word) {
    if (!active() || word.isEmpty() || word.size() > spellwords::kMaxWordLength)
        return true;
    const QString key = word.toString();
    const auto known = m_known.constFind(key);
    if (known != m_known.cend())
        return *known;
    bool ok = false;
    const std::string bytes = encoded(key, &ok);
    const bool right = !ok || m_hunspell->spell(bytes);
    if (m_known.size() >= kMostKnown)
        m_known.clear();
    m_known.insert(key, right);
    return right;
}

QStringList SpellChecker::suggestions(const QString &word, int most) {
    QStringList result;
    if (!active() || word.isEmpty() || word.size() > spellwords::kMaxWordLength)
        return result;
    bool ok = false;
    const std::string bytes = encoded(word, &ok);
    if (!ok)
        return result;
    for (const std::string &suggestion : m_hunspell->suggest(bytes)) {
        if (result.size() >= most)
            break;
        result.append(m_decoder->decode(QByteArray::fromStdString(suggestion)));
    }
    return result;
}

void SpellChecker::addWord(const QString &word) {
    if (!m_personal->add(word))
        qWarning("Vorkle: could not write the personal word list");
    if (active()) {
        bool ok = false;
        const std::string bytes = encoded(word.trimmed(), &ok);
        if (ok)
            m_hunspell->add(bytes);
    }
    m_known.remove(word.trimmed());
    emit changed();
}
