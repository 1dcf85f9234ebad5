#pragma once
// Cuts whole FLAP frames out of a byte stream. The length field decides
// where a frame ends; the marker and type are not checked here. Linear in
// the bytes received: frames are cut at a read offset and the consumed
// front is dropped only now and then.
//
// Two ways in and out. append() takes arrays the caller made, next() copies
// each frame into the caller's array. appendFrom() lets a reader write
// straight into the buffer's own storage (kept from read to read) and
// nextView() hands out frames in place, so a frame's bytes are copied once,
// by the read.

#include <QByteArray>
#include <QByteArrayView>

namespace toc {

class FrameBuffer {
  public:
    void append(const QByteArray &bytes);
    // Calls read(char *into, qsizetype maxBytes), which writes up to maxBytes
    // at `into` and returns how many it wrote (negative: none). Returns that.
    template <typename Read> qint64 appendFrom(qsizetype maxBytes, Read read) {
        const qint64 got = read(reserve(maxBytes), maxBytes);
        commit(got > 0 ? qsizetype(got) : 0);
        return got;
    }

    // The next whole frame (header included), or false when none is complete.
    // Writes into the array's own storage when nobody else holds it.
    bool next(QByteArray &frame);
    // The same without a copy: the view is valid until the buffer next
    // changes (append, appendFrom, clear).
    bool nextView(QByteArrayView &frame);

    void clear();
    // Bytes held that do not yet make a whole frame.
    qsizetype pending() const { return m_data.size() - m_offset; }
    QByteArrayView pendingBytes() const {
        return QByteArrayView(m_data.constData() + m_offset, pending());
    }

  private:
    // Length of the whole frame at the read offset, or 0 when incomplete.
    qsizetype completeFrame() const;
    void dropConsumed();
    char *reserve(qsizetype maxBytes);
    void commit(qsizetype written);

    QByteArray m_data;
    qsizetype m_offset = 0;
    qsizetype m_reserved = 0; // bytes at the end handed to a reader, not yet written
    bool m_keep = false;      // storage is ours for the next appendFrom()
};

} // namespace toc
