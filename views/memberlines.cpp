#include "memberlines.h"

#include "messagescan.h"
#include "transcript.h"

#include <QTextEdit>

namespace {

// The characters a run adds to the document: CR LF is one line break.
int shownLength(const QString &run) {
    const QString text = render::decodeEntities(run);
    return int(text.size() - text.count(QLatin1String("\r\n")));
}

} // namespace

MemberLines::MemberLines(QTextEdit *TEXT, int limit) : m_text(TEXT), m_limit(limit) {}

void MemberLines::add(const QString &name, const QString &what) {
    if (m_runs.empty() && !m_clearFirst)
        m_length = render::transcriptLength(m_text);
    hold(name, true);
    hold(what + QLatin1String("\r\n"), false);
}

void MemberLines::hold(const QString &text, bool bold) {
    // As add_text2 does before each run: over the limit, it clears.
    if (m_limit >= 0 && m_length > m_limit) {
        m_runs.clear();
        m_length = 0;
        m_clearFirst = true;
    }
    m_runs.push_back({text, bold});
    m_length += shownLength(text);
}

void MemberLines::write() {
    if (m_clearFirst)
        m_text->clear();
    const QString black = QStringLiteral("0");
    const QString white = QStringLiteral("16777215");
    const QString arial = QStringLiteral("Arial");
    for (const Run &run : m_runs)
        add_text2(m_text, run.text, black, white, run.bold, false, false, false, arial, m_limit);
    m_runs.clear();
    m_clearFirst = false;
}
