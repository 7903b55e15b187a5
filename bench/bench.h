#pragma once
#include <QString>
#include <functional>
#include <initializer_list>
#include <vector>

// Each benchmark file registers a group with KKT_BENCH(group, "figure", ...), naming every figure the
// group prints; kkt-bench runs them all (or those whose name contains its argument) and prints one line
// "name: value unit" per figure. "kkt-bench --list" prints the names alone, measuring nothing, so the
// report can be checked against them; a group that prints other figures than it names fails the run.
struct BenchFigure {
    QString name;
    double value;
    QString unit;
};

using BenchFn = std::function<void(std::vector<BenchFigure>& out)>;

struct BenchRegistrar {
    BenchRegistrar(const char* group, std::initializer_list<const char*> figures, BenchFn fn);
};

// A benchmark that cannot measure (its simulator did not start, a run failed) ends kkt-bench with
// the reason and a failing status rather than print a figure that means nothing.
[[noreturn]] void BenchFail(const QString& why);

#define KKT_BENCH_CAT2(a, b) a##b
#define KKT_BENCH_CAT(a, b) KKT_BENCH_CAT2(a, b)
#define KKT_BENCH(group, ...) \
    static void KKT_BENCH_CAT(bench_, group)(std::vector<BenchFigure> & out); \
    static BenchRegistrar KKT_BENCH_CAT(bench_reg_, group)(#group, {__VA_ARGS__}, &KKT_BENCH_CAT(bench_, group)); \
    static void KKT_BENCH_CAT(bench_, group)(std::vector<BenchFigure> & out)

// Median of a sample, in its own unit.
double Median(std::vector<double> values);
