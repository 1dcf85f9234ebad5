#include "framebuffer.h"

#include "wire.h"

#include <cstring>

namespace toc {

void FrameBuffer::append(const QByteArray &bytes) {
    // Nothing held: share the caller's array instead of copying it (a
    // socket read hands over an array nobody else uses). Raw data that the
    // caller still owns is copied, so nothing dangles.
    m_keep = false;
    if (pending() == 0 && bytes.isDetached()) {
        m_data = bytes;
        m_offset = 0;
        return;
    }
    dropConsumed();
    m_data.append(bytes);
}

// Drops the consumed front once it is the larger part, so the copying stays
// linear in the bytes received. All consumed costs nothing and keeps the
// storage for the next read.
void FrameBuffer::dropConsumed() {
    if (m_offset == 0)
        return;
    if (m_offset == m_data.size()) {
        m_data.resize(0);
        m_offset = 0;
    } else if (m_offset >= m_data.size() / 2) {
        m_data.remove(0, m_offset);
        m_offset = 0;
    }
}

char *FrameBuffer::reserve(qsizetype maxBytes) {
    m_keep = true;
    dropConsumed();
    const qsizetype held = m_data.size();
    m_data.resize(held + maxBytes); // new bytes are left uninitialised
    m_reserved = maxBytes;
    return m_data.data() + held;
}

void FrameBuffer::commit(qsizetype written) {
    m_data.resize(m_data.size() - m_reserved + qBound<qsizetype>(0, written, m_reserved));
    m_reserved = 0;
}

qsizetype FrameBuffer::completeFrame() const {
    const qsizetype available = m_data.size() - m_offset;
    if (available < kFlapHeaderSize)
        return 0;
    const auto *head = reinterpret_cast<const uchar *>(m_data.constData() + m_offset);
    const qsizetype length = kFlapHeaderSize + (qsizetype(head[4]) << 8 | head[5]);
    return available < length ? 0 : length;
}

bool FrameBuffer::nextView(QByteArrayView &frame) {
    const qsizetype length = completeFrame();
    if (length == 0)
        return false;
    frame = QByteArrayView(m_data.constData() + m_offset, length);
    m_offset += length;
    return true;
}

bool FrameBuffer::next(QByteArray &frame) {
    QByteArrayView view;
    if (!nextView(view))
        return false;
    if (frame.isDetached()) {
        frame.resize(view.size()); // the caller's array is reused, not reallocated
        std::memcpy(frame.data(), view.data(), size_t(view.size()));
    } else {
        frame = view.toByteArray();
    }
    // Arrays from append() are let go as soon as they are used up.
    if (m_offset == m_data.size() && !m_keep)
        clear();
    return true;
}

void FrameBuffer::clear() {
    m_data.clear();
    m_offset = 0;
}

} // namespace toc
