#pragma once
#include <QString>
#include <functional>

// Each benchmark file registers its figures with KKT_BENCH; kkt-bench runs them all (or those whose
// name contains its argument) and prints one line "name: value unit" per figure.
struct BenchFigure {
    QString name;
    double value;
    QString unit;
};

using BenchFn = std::function<void(std::vector<BenchFigure>& out)>;

struct BenchRegistrar {
    BenchRegistrar(const char* group, BenchFn fn);
};

#define KKT_BENCH_CAT2(a, b) a##b
#define KKT_BENCH_CAT(a, b) KKT_BENCH_CAT2(a, b)
#define KKT_BENCH(group) \
    static void KKT_BENCH_CAT(bench_, group)(std::vector<BenchFigure> & out); \
    static BenchRegistrar KKT_BENCH_CAT(bench_reg_, group)(#group, &KKT_BENCH_CAT(bench_, group)); \
    static void KKT_BENCH_CAT(bench_, group)(std::vector<BenchFigure> & out)

// Median of a sample, in its own unit.
double Median(std::vector<double> values);
