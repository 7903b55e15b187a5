#include "link/kktframe.h"

#include "text/codepage.h"

#include <QByteArray>

void KktFrame::Clear()
{
    buf.fill(0);
    count = 0;
}

uint16_t FrameSum(const uint8_t* bytes, uint32_t count)
{
    uint32_t sum = 0;
    for (uint32_t i = 0; i < count; ++i)
        sum += bytes[i];
    return static_cast<uint16_t>(sum);
}

void KktFrame::SetFrameChecksum()
{
    if (count < 2 || count > kSize)
        return;
    const uint16_t sum = FrameSum(buf.data(), count - 2);
    buf[count - 2] = static_cast<uint8_t>(sum & 0xFF);
    buf[count - 1] = static_cast<uint8_t>(sum >> 8);
}

uint16_t KktFrame::CheckFrameChecksum() const
{
    if (count < 2 || count > kSize)
        return 0xFFFF;
    const uint16_t stored = static_cast<uint16_t>(buf[count - 2] | (buf[count - 1] << 8));
    return FrameSum(buf.data(), count - 2) ^ stored;
}

void KktFrame::PutFrameText(const QString& text, int offset, int width)
{
    const QByteArray bytes = codepage::toCp1251(text);
    const int n = std::min<int>(bytes.size(), std::min(width, kSize - offset));
    for (int i = 0; i < n; ++i)
        buf[offset + i] = static_cast<uint8_t>(bytes[i]);
}

QString KktFrame::GetFrameText(int offset, int width) const
{
    QByteArray bytes;
    bytes.reserve(width);
    for (int i = offset; i < offset + width && i < kSize; ++i) {
        if (buf[i] != 0)
            bytes.append(static_cast<char>(buf[i]));
    }
    return codepage::fromCp1251(bytes);
}

void KktFrame::PutFrameInt(int offset, int width, uint64_t value)
{
    for (int i = 0; i < width && offset + i < kSize; ++i)
        buf[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t KktFrame::GetFrameInt(int offset, int width) const
{
    uint64_t value = 0;
    for (int i = 0; i < width && i < 8 && offset + i < kSize; ++i)
        value |= static_cast<uint64_t>(buf[offset + i]) << (8 * i);
    return value;
}
