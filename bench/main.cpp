#include "bench.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::vector<std::pair<QString, BenchFn>>& registry()
{
    static std::vector<std::pair<QString, BenchFn>> r;
    return r;
}

}  // namespace

BenchRegistrar::BenchRegistrar(const char* group, BenchFn fn)
{
    registry().emplace_back(QString::fromLatin1(group), std::move(fn));
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int main(int argc, char** argv)
{
    // Log and grid figures need widgets; without a display they are measured offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    for (auto& [group, fn] : registry()) {
        if (!filter.isEmpty() && !group.contains(filter))
            continue;
        std::vector<BenchFigure> figures;
        fn(figures);
        for (const auto& f : figures) {
            std::printf("%s: %.3f %s\n", qPrintable(f.name), f.value, qPrintable(f.unit));
            std::fflush(stdout);
        }
    }
    return 0;
}
