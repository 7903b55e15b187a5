#pragma once
#include <QByteArray>
#include <QList>
#include <chrono>
#include <optional>

// Cuts the byte stream of the line into request frames the way the register does: a frame starts
// with 0x17 0x02 (anything before is skipped), its length follows from the command letter at byte 6,
// and a frame left incomplete for 1500 ms is dropped. A frame of an unknown command ends at the
// first pause of 50 ms, so that it can still be refused.
class SimFrameAssembler {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kDropGap{1500};
    static constexpr std::chrono::milliseconds kUnknownGap{50};

    struct Frame {
        QByteArray bytes;
        Clock::time_point firstByte;  // when its first byte arrived: the line time counts from there
    };

    // Bytes that arrived at `now`; returns the frames they complete.
    QList<Frame> feed(const QByteArray& bytes, Clock::time_point now);
    // Settles what waits at `now`: hands over an unknown command after its pause, drops a stale
    // partial frame. Returns the frames handed over.
    QList<Frame> expire(Clock::time_point now);
    // When expire() next has something to do; nullopt while nothing waits.
    std::optional<Clock::time_point> nextDeadline() const;

    int droppedFrames() const { return m_dropped; }
    int skippedBytes() const { return m_skipped; }

private:
    bool unknownCommand() const;
    void take(QList<Frame>& out);

    QByteArray m_buf;
    Clock::time_point m_first{};
    Clock::time_point m_last{};
    int m_dropped = 0;
    int m_skipped = 0;
};
