#include "sim/simframer.h"

#include "link/kktframe.h"
#include "sim/kktsimulator.h"

bool SimFrameAssembler::unknownCommand() const
{
    return m_buf.size() >= 7 && KktSimulator::RequestLength(m_buf[6]) == 0;
}

void SimFrameAssembler::take(QList<Frame>& out)
{
    out.append({m_buf, m_first});
    m_buf.clear();
}

QList<SimFrameAssembler::Frame> SimFrameAssembler::feed(const QByteArray& bytes, Clock::time_point now)
{
    QList<Frame> out = expire(now);
    for (const char c : bytes) {
        const auto b = static_cast<uint8_t>(c);
        if (m_buf.isEmpty()) {
            if (b == KktFrame::kStart0) {
                m_buf.append(c);
                m_first = now;
            } else {
                ++m_skipped;
            }
            continue;
        }
        if (m_buf.size() == 1 && b != KktFrame::kStart1) {
            if (b == KktFrame::kStart0) {  // 0x17 0x17 0x02: the second one starts the frame
                ++m_skipped;
                m_first = now;
            } else {
                m_skipped += 2;
                m_buf.clear();
            }
            continue;
        }
        m_buf.append(c);
        if (m_buf.size() < 7)
            continue;
        const int length = KktSimulator::RequestLength(m_buf[6]);
        if ((length > 0 && m_buf.size() == length) || m_buf.size() == KktFrame::kSize)
            take(out);
    }
    if (!bytes.isEmpty())
        m_last = now;
    return out;
}

QList<SimFrameAssembler::Frame> SimFrameAssembler::expire(Clock::time_point now)
{
    QList<Frame> out;
    if (m_buf.isEmpty())
        return out;
    if (unknownCommand() && now - m_last >= kUnknownGap) {
        take(out);
    } else if (now - m_last >= kDropGap) {
        m_buf.clear();
        ++m_dropped;
    }
    return out;
}

std::optional<SimFrameAssembler::Clock::time_point> SimFrameAssembler::nextDeadline() const
{
    if (m_buf.isEmpty())
        return std::nullopt;
    return m_last + (unknownCommand() ? Clock::duration(kUnknownGap) : Clock::duration(kDropGap));
}
