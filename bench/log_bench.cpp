// Writing the whole goods base logs 12000 exchanges' worth of entries; each one is appended and
// painted at once while the command blocks the event loop.
#include "bench.h"

#include "link/ui/kktlogview.h"
#include "link/ui/udebugkkt.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <array>
#include <numeric>

namespace {

constexpr int kEntries = 12000;

struct Frames {
    Frames()
    {
        for (size_t i = 0; i < request.size(); ++i)
            request[i] = static_cast<uint8_t>(i * 7 + 0x17);
        for (size_t i = 0; i < answer.size(); ++i)
            answer[i] = static_cast<uint8_t>(i * 13 + 0x05);
    }
    void dump(TfrmDebugKKM& log, int i) const
    {
        if (i % 2 == 0)
            log.DumpKktFrame(request.data(), static_cast<uint32_t>(request.size()), false);
        else
            log.DumpKktFrame(answer.data(), static_cast<uint32_t>(answer.size()), true);
    }
    std::array<uint8_t, 77> request{};  // a goods item written
    std::array<uint8_t, 72> answer{};
};

double Mean(const std::vector<double>& v, size_t from, size_t to)
{
    return std::accumulate(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to),
                           0.0) / static_cast<double>(to - from);
}

}  // namespace

KKT_BENCH(log,
          "log_append_repaint_first_1000", "log_append_repaint_last_1000", "log_append_repaint_median",
          "log_rewrap_12000", "log_append_hidden")
{
    const Frames frames;
    {
        TfrmDebugKKM log;
        log.show();
        QGuiApplication::processEvents();
        std::vector<double> ms;
        ms.reserve(kEntries);
        QElapsedTimer timer;
        for (int i = 0; i < kEntries; ++i) {
            timer.start();
            frames.dump(log, i);
            ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        out.push_back({QStringLiteral("log_append_repaint_first_1000"), Mean(ms, 0, 1000), QStringLiteral("ms/entry")});
        out.push_back({QStringLiteral("log_append_repaint_last_1000"), Mean(ms, ms.size() - 1000, ms.size()),
                       QStringLiteral("ms/entry")});
        out.push_back({QStringLiteral("log_append_repaint_median"), Median(ms), QStringLiteral("ms/entry")});

        // One linear pass over the whole log when the text width changes.
        timer.start();
        log.RichEdit->resize(log.RichEdit->width() - 40, log.RichEdit->height());
        log.RichEdit->repaint();
        out.push_back({QStringLiteral("log_rewrap_12000"), static_cast<double>(timer.nsecsElapsed()) / 1e6,
                       QStringLiteral("ms")});
    }
    {
        TfrmDebugKKM log;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kEntries; ++i)
            frames.dump(log, i);
        out.push_back({QStringLiteral("log_append_hidden"), static_cast<double>(timer.nsecsElapsed()) / 1e6 / kEntries,
                       QStringLiteral("ms/entry")});
    }
}
