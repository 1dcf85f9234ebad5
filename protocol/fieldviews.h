#pragma once
// The colon-separated fields of a server line as views into it: the same
// cut as splitFields, without a list and a string per field, so a decoder
// copies only the fields it keeps.

#include <QString>
#include <QStringView>
#include <array>

namespace toc {

class FieldViews {
  public:
    static constexpr int kMaxFields = 10;

    // At most `limit` pieces (1..kMaxFields); the last keeps the rest of
    // the line, colons included.
    FieldViews(QStringView line, int limit) : m_line(line) {
        Q_ASSERT(limit >= 1 && limit <= kMaxFields);
        // One plain pass: the fields are short, and QStringView::indexOf
        // takes the general substring search for a single character.
        qsizetype start = 0;
        for (qsizetype i = 0; i < line.size() && m_count < limit - 1; ++i) {
            if (line[i] == u':') {
                m_fields[m_count++] = line.sliced(start, i - start);
                start = i + 1;
            }
        }
        m_fields[m_count++] = line.sliced(start);
    }

    int size() const { return m_count; }
    QStringView operator[](int i) const { return m_fields[i]; }
    QString str(int i) const { return m_fields[i].toString(); }
    // Field i and everything after it.
    QStringView from(int i) const { return m_line.mid(m_fields[i].data() - m_line.data()); }

  private:
    QStringView m_line;
    std::array<QStringView, kMaxFields> m_fields{};
    int m_count = 0;
};

} // namespace toc
