#pragma once
#include "link/kktframe.h"
#include "sim/kktsimulator.h"

#include <QByteArray>
#include <functional>

// A request frame as a link would send it to register number `number`: `fill` sets bytes 8..L-4.
inline QByteArray SimRequest(char command, const std::function<void(KktFrame&)>& fill = {}, uint32_t number = 1)
{
    const int length = KktSimulator::RequestLength(command);
    KktFrame f;
    f.buf[0] = KktFrame::kStart0;
    f.buf[1] = KktFrame::kStart1;
    f.PutFrameInt(2, 4, number);
    f.buf[6] = static_cast<uint8_t>(command);
    f.buf[7] = (command == 'a' || command == 'g' || command == 'x') ? 0 : static_cast<uint8_t>(length);
    if (fill)
        fill(f);
    f.buf[length - 3] = KktFrame::kTerminator;
    f.count = static_cast<uint32_t>(length);
    f.SetFrameChecksum();
    return QByteArray(reinterpret_cast<const char*>(f.buf.data()), length);
}

inline QByteArray SimBytes(std::initializer_list<uint8_t> b)
{
    return QByteArray(reinterpret_cast<const char*>(std::data(b)), static_cast<qsizetype>(b.size()));
}

inline uint8_t ByteAt(const QByteArray& bytes, int i)
{
    return static_cast<uint8_t>(bytes.at(i));
}

// True when the frame's last two bytes are the little-endian sum of the ones before.
inline bool ChecksumAgrees(const QByteArray& frame)
{
    if (frame.size() < 3)
        return false;
    const uint16_t sum = FrameSum(reinterpret_cast<const uint8_t*>(frame.constData()), frame.size() - 2);
    return sum == (ByteAt(frame, frame.size() - 2) | (ByteAt(frame, frame.size() - 1) << 8));
}
