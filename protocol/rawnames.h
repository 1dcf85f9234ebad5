#pragma once
// Names that arrive as bytes that are not UTF-8 are decoded one byte per
// character, so nothing is lost on screen; but answering with that text
// would send its UTF-8, not the bytes the server knows the name by. The
// control keeps each such field's bytes beside its text and puts the bytes
// back wherever the text goes out as a quoted argument, as received or
// normalised.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace toc {

class RawNames {
  public:
    // A server line whose bytes are not valid UTF-8, and its decoded text.
    void learn(QByteArrayView bytes, const QString &line);
    // A command line in UTF-8, with the bytes of every learned name put
    // back in its quoted arguments.
    QByteArray encode(const QString &line) const;
    void clear() { m_quoted.clear(); }
    bool isEmpty() const { return m_quoted.isEmpty(); }

  private:
    void add(const QString &text, const QByteArray &bytes);
    // `"text"` in UTF-8 -> `"bytes"`.
    QHash<QByteArray, QByteArray> m_quoted;
};

} // namespace toc
