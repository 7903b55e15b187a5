#include "answerport.h"

#include <algorithm>

int64_t AnswerPort::write(const uint8_t* data, int64_t size)
{
    m_pending = answer(QByteArray(reinterpret_cast<const char*>(data), size));
    return size;
}

int64_t AnswerPort::read(uint8_t* data, int64_t max)
{
    const int64_t n = std::min<int64_t>(max, m_pending.size());
    std::copy_n(m_pending.constData(), n, data);
    m_pending.remove(0, n);
    return n;
}

QByteArray AnswerFrame(KktFrame f, int length)
{
    f.buf[0] = KktFrame::kStart0;
    f.buf[1] = KktFrame::kStart1;
    f.buf[length - 3] = KktFrame::kTerminator;
    f.count = static_cast<uint32_t>(length);
    f.SetFrameChecksum();
    return QByteArray(reinterpret_cast<const char*>(f.buf.data()), length);
}

QByteArray MakeAnswer(int length, uint8_t status, const std::vector<std::pair<int, QByteArray>>& fill)
{
    KktFrame f;
    f.buf[2] = 0x01;
    f.buf[3] = status;
    for (const auto& [offset, bytes] : fill)
        std::copy(bytes.begin(), bytes.end(), f.buf.begin() + offset);
    return AnswerFrame(f, length);
}
