#pragma once
// Cuts whole FLAP frames out of a byte stream. The length field decides
// where a frame ends; the marker and type are not checked here. Linear in
// the bytes received: frames are cut at a read offset and the consumed
// front is dropped only now and then.

#include <QByteArray>

namespace toc {

class FrameBuffer {
  public:
    void append(const QByteArray &bytes);
    // The next whole frame (header included), or false when none is complete.
    bool next(QByteArray &frame);
    void clear();
    // Bytes held that do not yet make a whole frame.
    qsizetype pending() const { return m_data.size() - m_offset; }

  private:
    QByteArray m_data;
    qsizetype m_offset = 0;
};

} // namespace toc
