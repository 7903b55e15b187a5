#include "simrequest.h"

#include "sim/simframer.h"

#include <gtest/gtest.h>

namespace {

using Clock = SimFrameAssembler::Clock;
using std::chrono::milliseconds;

QList<QByteArray> Bytes(const QList<SimFrameAssembler::Frame>& frames)
{
    QList<QByteArray> out;
    for (const auto& f : frames)
        out << f.bytes;
    return out;
}

}  // namespace

TEST(SimFramer, SkipsNoiseAndCutsFramesByTheirCommandLength)
{
    SimFrameAssembler framer;
    const Clock::time_point t0{};
    const QByteArray status = SimRequest('u');
    // Data bytes that look like a frame start do not split a frame.
    const QByteArray param = SimRequest('p', [](KktFrame& f) {
        f.buf[12] = 0x17;
        f.buf[13] = 0x02;
        f.buf[14] = 'u';
    });
    const QByteArray stream = SimBytes({0xA5, 0x17, 0x00, 0x02, 0x17}) + status + param + status.left(5);
    EXPECT_EQ(Bytes(framer.feed(stream, t0)), (QList<QByteArray>{status, param}));
    EXPECT_EQ(framer.skippedBytes(), 5);
    EXPECT_EQ(Bytes(framer.feed(status.mid(5), t0 + milliseconds(1400))), QList<QByteArray>{status});
}

TEST(SimFramer, RestartsOnARepeatedStartByte)
{
    SimFrameAssembler framer;
    const QByteArray status = SimRequest('u');
    EXPECT_EQ(Bytes(framer.feed(QByteArray(1, 0x17) + status, Clock::time_point{})), QList<QByteArray>{status});
}

TEST(SimFramer, DropsAPartialFrameAfterTheGapAndTakesTheNextOne)
{
    SimFrameAssembler framer;
    const Clock::time_point t0{};
    const QByteArray goods = SimRequest('T');
    EXPECT_TRUE(framer.feed(goods.left(40), t0).isEmpty());
    EXPECT_EQ(framer.nextDeadline(), t0 + milliseconds(1500));
    EXPECT_TRUE(framer.expire(t0 + milliseconds(1499)).isEmpty());
    EXPECT_EQ(framer.droppedFrames(), 0);
    EXPECT_TRUE(framer.expire(t0 + milliseconds(1500)).isEmpty());
    EXPECT_EQ(framer.droppedFrames(), 1);
    EXPECT_FALSE(framer.nextDeadline());

    // The rest of the old frame is noise now; a whole new frame still gets through.
    EXPECT_EQ(Bytes(framer.feed(goods.mid(40) + goods, t0 + milliseconds(1600))), QList<QByteArray>{goods});
}

TEST(SimFramer, UnknownCommandEndsAtAShortPause)
{
    SimFrameAssembler framer;
    const Clock::time_point t0{};
    const QByteArray unknown = SimBytes({0x17, 0x02, 1, 0, 0, 0, 'z', 11, 0x19, 0xAD, 0x00});
    EXPECT_TRUE(framer.feed(unknown, t0).isEmpty());
    EXPECT_EQ(framer.nextDeadline(), t0 + milliseconds(50));
    const auto frames = framer.expire(t0 + milliseconds(50));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].bytes, unknown);
    EXPECT_EQ(frames[0].firstByte, t0);
}
