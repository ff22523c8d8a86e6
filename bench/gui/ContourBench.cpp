// Contour maps of sin(X)*cos(Y) on a 400 x 400 grid over -5..5 x -5..5 with 10 levels: tracing
// alone (compared with contourpy by bench/contour_peers.py), the whole contour request through
// the calculator window (compared with gnuplot by the same script), and the shading redraw at
// 1200 x 800 beside QCustomPlot's colour map drawing the same grid.
#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"
#include "plotlib/Contour.h"
#include "plotlib/Graph.h"
#include "plotlib/Plot.h"
#include "plots/ContourPlotWindow.h"

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cmath>
#include <vector>

namespace {

constexpr int GridSteps = 400;
constexpr int LevelCount = 10;
constexpr int ImageWidth = 1200;
constexpr int ImageHeight = 800;

mirla::TContourGrid SineGrid() {
    std::vector<double> axis(GridSteps);
    for (int k = 0; k < GridSteps; ++k)
        axis[static_cast<std::size_t>(k)] = -5 + 10.0 * k / (GridSteps - 1);
    std::vector<double> z;
    z.reserve(axis.size() * axis.size());
    for (double x : axis)
        for (double y : axis)
            z.push_back(std::sin(x) * std::cos(y));
    return mirla::TContourGrid(axis, axis, z);
}

void BM_MirlaContourTrace(benchmark::State& state) {
    const mirla::TContourGrid grid = SineGrid();
    mirla::TLevelOptions options;
    options.Count = LevelCount;
    const std::vector<double> levels = mirla::ContourLevels(options, grid.DataMin(), grid.DataMax());
    std::size_t points = 0;
    for (auto _ : state) {
        const std::vector<mirla::TContourLine> lines = mirla::TraceContours(grid, levels);
        points = 0;
        for (const mirla::TContourLine& line : lines)
            points += line.Points.size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}

void FixAxes(mirla::TGraph& graph) {
    for (mirla::TAxis* axis : {&graph.XAxis(), &graph.YAxis()}) {
        axis->AutoMin = axis->AutoMax = false;
        axis->SetMin(-5);
        axis->SetMax(5);
    }
}

/// Argument "fresh" 1: the palette alternates, so that every redraw computes the picture again;
/// 0: the view stays the same and both plots reuse the picture they drew before.
void BM_MirlaShadingRedraw(benchmark::State& state) {
    mirla::TGraph graph;
    FixAxes(graph);
    auto layer = std::make_unique<mirla::TContour>(graph, true, 1, SineGrid());
    mirla::TContour& map = *layer;
    map.SquareSize = mirla::ShadingSquareSizes[0];
    graph.ColorLegend().Source = &map;
    graph.AddLayer(std::move(layer));
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        if (state.range(0) != 0)
            map.Palette = 1 - map.Palette;
        QPainter painter(&image);
        graph.Draw(painter, image.rect());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_QCustomPlotColorMap(benchmark::State& state) {
    QCustomPlot plot;
    plot.resize(ImageWidth, ImageHeight);
    auto* map = new QCPColorMap(plot.xAxis, plot.yAxis);
    map->data()->setSize(GridSteps, GridSteps);
    map->data()->setRange(QCPRange(-5, 5), QCPRange(-5, 5));
    const mirla::TContourGrid grid = SineGrid();
    for (int i = 0; i < GridSteps; ++i)
        for (int j = 0; j < GridSteps; ++j)
            map->data()->setCell(i, j, grid.Z(i, j));
    auto* scale = new QCPColorScale(&plot);
    plot.plotLayout()->addElement(0, 1, scale);
    map->setColorScale(scale);
    map->setGradient(QCPColorGradient::gpJet);
    map->setInterpolate(true);
    map->rescaleDataRange();
    plot.rescaleAxes();
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    const QCPColorGradient gradients[] = {QCPColorGradient::gpJet, QCPColorGradient::gpGrayscale};
    int gradient = 0;
    for (auto _ : state) {
        if (state.range(0) != 0)
            map->setGradient(gradients[gradient ^= 1]);
        image.fill(Qt::white);
        QCPPainter painter(&image);
        plot.toPainter(&painter, ImageWidth, ImageHeight);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

/// One "Contour Plot f(X,Y)" request: sampling 400 x 400 points through the engine, tracing 10
/// levels, labelling them and drawing the map in a 1200 x 800 plot.
void BM_MirlaContourRequest(benchmark::State& state) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("Mirla.INI"), "[Calc Settings]\nAngle=0\n");
    for (const char* file : {"Mirla.CON", "Mirla.FNC", "Mirla.USR"})
        WriteFile(dir.filePath(file), "");
    const std::string path = dir.path().toStdString();
    mirla::TfmCalc window(mirla::TCalcFiles::Locate(path, path + "/user"));
    window.show();
    window.InputLine()->setText(QStringLiteral("sin(X)*cos(Y)"));
    for (int i = 0; i < window.Pages()->count(); ++i)
        if (window.Pages()->tabText(i) == QStringLiteral("Graphics"))
            window.Pages()->setCurrentIndex(i);
    window.findChild<QRadioButton*>(QStringLiteral("rbPlot1"))->click();
    const std::pair<const char*, QString> fields[] = {
        {"edFromX", "-5"},   {"edToX", "5"},      {"edFromY", "-5"},  {"edToY", "5"},
        {"edStepsX", "400"}, {"edStepsY", "400"}, {"edNumCont", "10"}};
    for (const auto& [name, text] : fields)
        window.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("bbOK"));
    mirla::TfmContourPlot& plotWindow = *window.ContourPlot();
    mirla::TPlot& chart = plotWindow.Chart();
    // The plot itself, without the window's menu and toolbar, gets 1200 x 800 pixels.
    plotWindow.show();
    plotWindow.resize(plotWindow.size() + QSize(ImageWidth, ImageHeight) - chart.Bitmap().size());
    for (auto _ : state) {
        ok->click();
        state.PauseTiming();
        if (!plotWindow.Map() || plotWindow.Map()->Lines().empty())
            state.SkipWithError("the request drew no contours");
        state.ResumeTiming();
    }
    state.counters["width"] = chart.Bitmap().width();
    state.counters["height"] = chart.Bitmap().height();
}

BENCHMARK(BM_MirlaContourTrace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirlaShadingRedraw)->Arg(1)->Arg(0)->ArgName("fresh")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotColorMap)->Arg(1)->Arg(0)->ArgName("fresh")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirlaContourRequest)->Unit(benchmark::kMillisecond);

} // namespace
