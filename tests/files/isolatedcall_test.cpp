// Work that may crash or hang runs apart: its answer comes back, its crash or its hang does not.
#include "files/isolatedcall.h"

#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

TEST(IsolatedCall, AnswerComesBackWhole)
{
    const QByteArray big(3 * 1024 * 1024, 'x');  // larger than a pipe holds at once
    const TIsolatedResult run = RunIsolated([&] { return QByteArray("ответ ") + big; }, 10000);
    ASSERT_TRUE(run.ok) << run.error.toStdString();
    EXPECT_EQ(run.output, QByteArray("ответ ") + big);
}

TEST(IsolatedCall, ACrashIsReportedAndTheCallerGoesOn)
{
    const TIsolatedResult run = RunIsolated([] {
        std::raise(SIGKILL);
        return QByteArray("never");
    }, 10000);
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(run.output.isEmpty());
    EXPECT_TRUE(run.error.contains(QStringLiteral("аварийно"))) << run.error.toStdString();

    const TIsolatedResult thrown = RunIsolated([]() -> QByteArray { throw std::runtime_error("x"); }, 10000);
    EXPECT_FALSE(thrown.ok);
    EXPECT_FALSE(thrown.error.isEmpty());
}

TEST(IsolatedCall, AHangEndsAtTheTimeOut)
{
    QElapsedTimer timer;
    timer.start();
    const TIsolatedResult run = RunIsolated([] {
        for (;;)
            std::this_thread::sleep_for(std::chrono::seconds(1));
        return QByteArray();
    }, 300);
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(run.error.contains(QStringLiteral("0.3"))) << run.error.toStdString();
    EXPECT_LT(timer.elapsed(), 5000);
}
