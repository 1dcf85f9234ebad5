#include "framebuffer.h"

#include "wire.h"

namespace toc {

void FrameBuffer::append(const QByteArray &bytes) {
    // Nothing held: share the caller's array instead of copying it (a
    // socket read hands over an array nobody else uses). Raw data that the
    // caller still owns is copied, so nothing dangles.
    if (pending() == 0 && bytes.isDetached()) {
        m_data = bytes;
        m_offset = 0;
        return;
    }
    // Drop the consumed front once it is the larger part, so the copying
    // stays linear in the bytes received.
    if (m_offset > 0 && m_offset >= m_data.size() / 2) {
        m_data.remove(0, m_offset);
        m_offset = 0;
    }
    m_data.append(bytes);
}

bool FrameBuffer::next(QByteArray &frame) {
    const qsizetype available = m_data.size() - m_offset;
    if (available < kFlapHeaderSize)
        return false;
    const qsizetype length =
        kFlapHeaderSize + bytesToWord(QByteArrayView(m_data.constData() + m_offset + 4, 2));
    if (available < length)
        return false;
    frame = m_data.mid(m_offset, length);
    m_offset += length;
    if (m_offset == m_data.size()) {
        m_data.clear();
        m_offset = 0;
    }
    return true;
}

void FrameBuffer::clear() {
    m_data.clear();
    m_offset = 0;
}

} // namespace toc
