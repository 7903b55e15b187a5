#include "scriptedport.h"

#include "link/kktframe.h"

QByteArray MakeAnswer(int length, uint8_t status, const std::vector<std::pair<int, QByteArray>>& fill)
{
    KktFrame f;
    f.buf[0] = 0x17;
    f.buf[1] = 0x02;
    f.buf[2] = 0x01;
    f.buf[3] = status;
    for (const auto& [offset, bytes] : fill)
        std::copy(bytes.begin(), bytes.end(), f.buf.begin() + offset);
    f.buf[length - 3] = KktFrame::kTerminator;
    f.count = static_cast<uint32_t>(length);
    f.SetFrameChecksum();
    return QByteArray(reinterpret_cast<const char*>(f.buf.data()), length);
}
