#include "bench.h"

#include <QApplication>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct BenchGroup {
    QString name;
    QStringList figures;
    BenchFn fn;
};

std::vector<BenchGroup>& registry()
{
    static std::vector<BenchGroup> r;
    return r;
}

}  // namespace

BenchRegistrar::BenchRegistrar(const char* group, std::initializer_list<const char*> figures, BenchFn fn)
{
    BenchGroup g{QString::fromLatin1(group), {}, std::move(fn)};
    for (const char* f : figures)
        g.figures << QString::fromLatin1(f);
    registry().push_back(std::move(g));
}

void BenchFail(const QString& why)
{
    std::fprintf(stderr, "kkt-bench: %s\n", qPrintable(why));
    std::exit(1);
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
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const bool list = args.removeAll(QStringLiteral("--list")) > 0;
    const QString filter = args.value(0);

    if (list) {
        for (const auto& g : registry())
            if (filter.isEmpty() || g.name.contains(filter))
                for (const auto& f : g.figures)
                    std::printf("%s\n", qPrintable(f));
        return 0;
    }

    // Log and grid figures need widgets; without a display they are measured offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (auto& g : registry()) {
        if (!filter.isEmpty() && !g.name.contains(filter))
            continue;
        std::vector<BenchFigure> figures;
        g.fn(figures);
        QStringList printed;
        for (const auto& f : figures) {
            std::printf("%s: %.3f %s\n", qPrintable(f.name), f.value, qPrintable(f.unit));
            std::fflush(stdout);
            printed << f.name;
        }
        if (printed != g.figures)
            BenchFail(QStringLiteral("group %1 printed [%2], but names [%3]")
                          .arg(g.name, printed.join(QLatin1String(", ")), g.figures.join(QLatin1String(", "))));
    }
    return 0;
}
