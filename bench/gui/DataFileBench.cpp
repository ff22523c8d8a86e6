// Data files: a text file of 1,000,000 lines of two columns read into a series and drawn into a
// 1200 x 800 image by Mirla, beside gnuplot plotting the same file to a PNG of the same size; and
// that series exported as text.
#include "plotlib/DataFiles.h"
#include "plotlib/Graph.h"
#include "plotlib/Series.h"
#include "plotlib/core/DataText.h"
#include "plotlib/core/ExportText.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int ImageWidth = 1200;
constexpr int ImageHeight = 800;
constexpr int LineCount = 1000000;

/// A temporary file of `LineCount` lines "x y" of a noisy damped wave, made once per run.
class TDataFile {
public:
    TDataFile() {
        std::string text;
        text.reserve(static_cast<std::size_t>(LineCount) * 40);
        for (int i = 0; i < LineCount; ++i) {
            const double x = i * 1e-4;
            const double y = std::sin(x * 7) * std::exp(-x / 50) + 0.05 * std::sin(i * 12.9898);
            text += mirla::ExactNumberText(x) + ' ' + mirla::ExactNumberText(y) + '\n';
        }
        QString error;
        if (!mirla::WriteDataFile(Path(), text, error))
            qFatal("%s", qPrintable(error));
    }
    QString Path() const { return m_dir.filePath(QStringLiteral("data.txt")); }

private:
    QTemporaryDir m_dir;
};

const TDataFile& DataFile() {
    static const TDataFile file;
    return file;
}

/// The file read as the import dialog reads it (columns 1 and 2, the delimiters at start) into a
/// new series of `graph`.
mirla::TSeries& ReadIntoSeries(mirla::TGraph& graph, const QString& path) {
    std::string text;
    QString error;
    if (!mirla::ReadDataFile(path, text, error))
        qFatal("%s", qPrintable(error));
    mirla::TImportGrid grid;
    mirla::ColumnsOfLines(mirla::TextLines(text), 1, 2, mirla::TDelimiterSet(), grid);
    const mirla::TGridPoints points = mirla::GridToPoints(grid);
    auto series = std::make_unique<mirla::TSeries>(graph, "data", mirla::ssLine, mirla::clRed);
    for (std::size_t i = 0; i < points.X.size(); ++i)
        series->AddPoint(mirla::clGreen, std::string(), points.X[i], points.Y[i]);
    mirla::TSeries& added = *series;
    graph.AddLayer(std::move(series));
    return added;
}

void BM_MirlaReadAndDrawFile(benchmark::State& state) {
    const QString path = DataFile().Path();
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        mirla::TGraph graph;
        if (ReadIntoSeries(graph, path).Count() != LineCount)
            state.SkipWithError("the file did not read whole");
        QPainter painter(&image);
        graph.Draw(painter, image.rect(), mirla::TDrawTarget::Export);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["lines"] = LineCount;
}

/// gnuplot started on the same file, drawing it with lines into a PNG of the same size.
void BM_GnuplotPlotFile(benchmark::State& state) {
    const QString gnuplot = QStandardPaths::findExecutable(QStringLiteral("gnuplot"));
    if (gnuplot.isEmpty()) {
        state.SkipWithError("gnuplot is not installed");
        return;
    }
    const QString path = DataFile().Path();
    QTemporaryDir dir;
    const QString script =
        QStringLiteral("set terminal pngcairo size %1,%2; set output '%3'; plot '%4' with lines")
            .arg(ImageWidth)
            .arg(ImageHeight)
            .arg(dir.filePath(QStringLiteral("plot.png")), path);
    for (auto _ : state) {
        QProcess process;
        process.start(gnuplot, {QStringLiteral("-e"), script});
        if (!process.waitForFinished(-1) || process.exitCode() != 0)
            state.SkipWithError("gnuplot failed");
    }
    state.counters["lines"] = LineCount;
}

void BM_ExportSeriesText(benchmark::State& state) {
    mirla::TGraph graph;
    const mirla::TSeries& series = ReadIntoSeries(graph, DataFile().Path());
    std::vector<double> x, y;
    for (int i = 0; i < series.Count(); ++i) {
        x.push_back(series.X(i));
        y.push_back(series.Y(i));
    }
    const mirla::TExportSource source{"data", "", "", "X", "Y", x, y};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = mirla::JoinedLines(mirla::ExportLines(source, {}).Lines);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["points"] = LineCount;
    state.counters["bytes"] = static_cast<double>(bytes);
}

} // namespace

BENCHMARK(BM_MirlaReadAndDrawFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GnuplotPlotFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportSeriesText)->Unit(benchmark::kMillisecond)->Iterations(3);
