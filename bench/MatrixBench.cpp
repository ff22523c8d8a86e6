// Inverse, determinant and linear solve of the matrix library, with the same work done by Eigen in
// long double when it is available. Counters report the accuracy of each result so speed and quality
// can be compared side by side: "residual" is max|A·X − I| for an inverse and max|A·x − b| for a
// solve, "left_residual" is max|X·A − I| for an inverse, "error" is max|x − 1| for a solve whose exact
// solution is all ones, "log10det" is log10|det|.
#include "matrix/Elimination.h"
#include "matrix/MatrixException.h"
#include "matrix/RealMatrix.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#ifdef MIRLA_HAVE_EIGEN
#include <Eigen/Dense>
#endif

namespace mirla {
namespace {

enum MatrixKind { Random = 0, Hilbert = 1 };

long double Element(MatrixKind kind, int i, int j, std::mt19937& generator) {
    if (kind == Hilbert)
        return 1.0L / (i + j + 1);
    return std::uniform_real_distribution<double>(-1.0, 1.0)(generator);
}

TRealMatrix MakeInput(int n, MatrixKind kind) {
    std::mt19937 generator(12345);
    TRealMatrix m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            m.SetItem(i, j, Element(kind, i, j, generator));
    return m;
}

// b = A · (1, ..., 1), so the exact solution is all ones.
TWorkVector RowSums(const TWorkMatrix& a) {
    TWorkVector b(a.size(), 0.0L);
    for (std::size_t i = 0; i < a.size(); ++i)
        for (long double element : a[i])
            b[i] += element;
    return b;
}

double MaxDistanceFromIdentity(const TRealMatrix& m) {
    long double worst = 0;
    for (int i = 0; i < m.RowCount(); ++i)
        for (int j = 0; j < m.ColCount(); ++j)
            worst = std::max(worst, std::fabs(m.GetItem(i, j) - (i == j ? 1.0L : 0.0L)));
    return static_cast<double>(worst);
}

void SetSolveCounters(benchmark::State& state, const TWorkMatrix& a, const TWorkVector& b,
                      const TWorkVector& x) {
    long double residual = 0;
    long double error = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        long double ax = 0;
        for (std::size_t j = 0; j < a.size(); ++j)
            ax += a[i][j] * x[j];
        residual = std::max(residual, std::fabs(ax - b[i]));
        error = std::max(error, std::fabs(x[i] - 1));
    }
    state.counters["residual"] = static_cast<double>(residual);
    state.counters["error"] = static_cast<double>(error);
}

void BM_MirlaInverse(benchmark::State& state) {
    const TRealMatrix a =
        MakeInput(static_cast<int>(state.range(0)), static_cast<MatrixKind>(state.range(1)));
    try {
        TRealMatrix inverse;
        for (auto _ : state) {
            inverse = a.Inverse();
            benchmark::DoNotOptimize(inverse);
        }
        state.counters["residual"] = MaxDistanceFromIdentity(a.Product(inverse));
        state.counters["left_residual"] = MaxDistanceFromIdentity(inverse.Product(a));
    } catch (const EMatrixException& e) {
        state.SkipWithError(e.what());
    }
}

void BM_MirlaDeterminant(benchmark::State& state) {
    const TWorkMatrix a =
        ToWorkMatrix(MakeInput(static_cast<int>(state.range(0)), static_cast<MatrixKind>(state.range(1))));
    const int end = static_cast<int>(a.size()) - 1;
    long double det = 0;
    for (auto _ : state) {
        TWorkMatrix work = a;
        det = Determinant(work, 0, end);
        benchmark::DoNotOptimize(det);
    }
    state.counters["log10det"] = static_cast<double>(std::log10(std::fabs(det)));
}

void BM_MirlaSolve(benchmark::State& state) {
    const TWorkMatrix a =
        ToWorkMatrix(MakeInput(static_cast<int>(state.range(0)), static_cast<MatrixKind>(state.range(1))));
    const TWorkVector b = RowSums(a);
    const int end = static_cast<int>(a.size()) - 1;
    TWorkVector x;
    for (auto _ : state)
        benchmark::DoNotOptimize(GaussJordanSolve(a, b, 0, x, end));
    if (x.empty())
        state.SkipWithError("singular system");
    else
        SetSolveCounters(state, a, b, x);
}

void MatrixArguments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"n", "hilbert"});
    for (int n : {10, 100})
        for (int kind : {Random, Hilbert})
            b->Args({n, kind});
}

BENCHMARK(BM_MirlaInverse)->Apply(MatrixArguments);
BENCHMARK(BM_MirlaDeterminant)->Apply(MatrixArguments);
BENCHMARK(BM_MirlaSolve)->Apply(MatrixArguments);

#ifdef MIRLA_HAVE_EIGEN

using EigenMatrix = Eigen::Matrix<long double, Eigen::Dynamic, Eigen::Dynamic>;
using EigenVector = Eigen::Matrix<long double, Eigen::Dynamic, 1>;

EigenMatrix ToEigen(const TRealMatrix& m) {
    EigenMatrix e(m.RowCount(), m.ColCount());
    for (int i = 0; i < m.RowCount(); ++i)
        for (int j = 0; j < m.ColCount(); ++j)
            e(i, j) = m.GetItem(i, j);
    return e;
}

EigenMatrix EigenInput(benchmark::State& state) {
    return ToEigen(MakeInput(static_cast<int>(state.range(0)), static_cast<MatrixKind>(state.range(1))));
}

void BM_EigenInverse(benchmark::State& state) {
    const EigenMatrix a = EigenInput(state);
    EigenMatrix inverse;
    for (auto _ : state) {
        inverse = a.partialPivLu().inverse();
        benchmark::DoNotOptimize(inverse.data());
    }
    const EigenMatrix identity = EigenMatrix::Identity(a.rows(), a.cols());
    state.counters["residual"] = static_cast<double>((a * inverse - identity).cwiseAbs().maxCoeff());
    state.counters["left_residual"] = static_cast<double>((inverse * a - identity).cwiseAbs().maxCoeff());
}

void BM_EigenDeterminant(benchmark::State& state) {
    const EigenMatrix a = EigenInput(state);
    long double det = 0;
    for (auto _ : state) {
        det = a.partialPivLu().determinant();
        benchmark::DoNotOptimize(det);
    }
    state.counters["log10det"] = static_cast<double>(std::log10(std::fabs(det)));
}

void BM_EigenSolve(benchmark::State& state) {
    const EigenMatrix a = EigenInput(state);
    const EigenVector b = a.rowwise().sum();
    EigenVector x;
    // Complete pivoting, as the library's Gauss–Jordan solve uses.
    for (auto _ : state) {
        x = a.fullPivLu().solve(b);
        benchmark::DoNotOptimize(x.data());
    }
    state.counters["residual"] = static_cast<double>((a * x - b).cwiseAbs().maxCoeff());
    state.counters["error"] = static_cast<double>((x.array() - 1.0L).abs().maxCoeff());
}

BENCHMARK(BM_EigenInverse)->Apply(MatrixArguments);
BENCHMARK(BM_EigenDeterminant)->Apply(MatrixArguments);
BENCHMARK(BM_EigenSolve)->Apply(MatrixArguments);

#endif

} // namespace
} // namespace mirla
