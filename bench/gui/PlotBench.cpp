// Redraw of a 1200 x 800 plot holding 10 curves of 16000 points, by Mirla's graph and, for
// comparison, by the QCustomPlot widget drawing the same data into an image of the same size;
// one f(X) request of 16000 steps through the "Graphics" page of the calculator window; and those
// ten curves printed on a page with four title blocks to a PDF file.
#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"
#include "plotlib/Graph.h"
#include "plotlib/Plot.h"
#include "plotlib/PrintPage.h"
#include "plotlib/Series.h"
#include "plots/Plot2DWindow.h"

#include <benchmark/benchmark.h>
#include <qcustomplot.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int ImageWidth = 1200;
constexpr int ImageHeight = 800;
constexpr int CurveCount = 10;
constexpr int PointsPerCurve = 16000;
constexpr int SampledSteps = 16000;

/// The same curves for both plots: damped waves of different frequencies and offsets.
struct TCurveData {
    QVector<double> X;
    QVector<double> Y;
};

std::vector<TCurveData> MakeCurves() {
    std::vector<TCurveData> curves(CurveCount);
    for (int k = 0; k < CurveCount; ++k) {
        TCurveData& curve = curves[static_cast<std::size_t>(k)];
        curve.X.resize(PointsPerCurve);
        curve.Y.resize(PointsPerCurve);
        for (int i = 0; i < PointsPerCurve; ++i) {
            const double x = -10 + 20.0 * i / (PointsPerCurve - 1);
            curve.X[i] = x;
            curve.Y[i] = std::sin(x * (k + 1)) * std::exp(-x / 10) + k;
        }
    }
    return curves;
}

/// Adds the curves to `graph` as line series; returns the bytes their point storage takes.
std::size_t AddCurves(mirla::TGraph& graph) {
    const std::vector<TCurveData> curves = MakeCurves();
    std::size_t storageBytes = 0;
    for (int k = 0; k < CurveCount; ++k) {
        const mirla::TColor colour = graph.FreeColor();
        auto series = std::make_unique<mirla::TSeries>(graph, "curve", mirla::ssLine, colour);
        const TCurveData& data = curves[static_cast<std::size_t>(k)];
        for (int i = 0; i < PointsPerCurve; ++i)
            series->AddPoint(colour, "", data.X[i], data.Y[i]);
        storageBytes += series->PointStorageBytes();
        graph.AddLayer(std::move(series));
    }
    return storageBytes;
}

void BM_MirlaGraphRedraw(benchmark::State& state) {
    mirla::TGraph graph;
    const std::size_t storageBytes = AddCurves(graph);
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        graph.Draw(painter, image.rect());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = CurveCount * PointsPerCurve;
    // What the series hold per point, counted by the capacity of their storage.
    state.counters["bytes_per_point"] = static_cast<double>(storageBytes) / (CurveCount * PointsPerCurve);
}

/// One A4 page holding the ten curves and all four title blocks, printed to a PDF file.
void BM_PrintPageToPdf(benchmark::State& state) {
    mirla::TGraph graph;
    AddCurves(graph);
    mirla::TPageSetup setup;
    setup.Ticked = {true, true, true, true};
    for (mirla::TPrintLogo& block : setup.Blocks)
        block.Lines = {"Title block", "Second line", "Third line"};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        if (!mirla::PrintPage(printer, setup, {&graph}))
            state.SkipWithError("the page could not be printed");
    }
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(path).size());
}

/// QCustomPlot with its default settings (adaptive sampling of dense line graphs on).
void BM_QCustomPlotRedraw(benchmark::State& state) {
    QCustomPlot plot;
    plot.resize(ImageWidth, ImageHeight);
    const std::vector<TCurveData> curves = MakeCurves();
    const QColor colours[] = {Qt::red,      Qt::blue,        Qt::darkGreen,  Qt::darkCyan, Qt::darkRed,
                              Qt::darkBlue, Qt::darkMagenta, Qt::darkYellow, Qt::gray,     Qt::black};
    for (int k = 0; k < CurveCount; ++k) {
        QCPGraph* graph = plot.addGraph();
        graph->setData(curves[static_cast<std::size_t>(k)].X, curves[static_cast<std::size_t>(k)].Y, true);
        graph->setPen(QPen(colours[k]));
        graph->setAdaptiveSampling(state.range(0) != 0);
    }
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        // Scaling to the data is part of a redraw in Mirla's graph, so it is done here too.
        plot.rescaleAxes();
        image.fill(Qt::white);
        QCPPainter painter(&image);
        plot.toPainter(&painter, ImageWidth, ImageHeight);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = CurveCount * PointsPerCurve;
}

void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

/// One "Plot f(X)" request of sin(X)*exp(-X/10) over -10..10 in 16000 steps: sampling through
/// the engine, filling the curve, showing the window and drawing it.
void BM_SampleAndShowFx(benchmark::State& state) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("Mirla.CON"), "c = 2.99792458E8\n");
    WriteFile(dir.filePath("Mirla.FNC"), "");
    WriteFile(dir.filePath("Mirla.USR"), "");
    const std::string path = dir.path().toStdString();
    mirla::TfmCalc window(mirla::TCalcFiles::Locate(path, path + "/user"));
    window.show();
    window.InputLine()->setText(QStringLiteral("sin(X)*exp(-X/10)"));
    for (int i = 0; i < window.Pages()->count(); ++i)
        if (window.Pages()->tabText(i) == QStringLiteral("Graphics"))
            window.Pages()->setCurrentIndex(i);
    window.findChild<QLineEdit*>(QStringLiteral("edFromX"))->setText(QStringLiteral("-10"));
    window.findChild<QLineEdit*>(QStringLiteral("edToX"))->setText(QStringLiteral("10"));
    window.findChild<QLineEdit*>(QStringLiteral("edStepsX"))->setText(QString::number(SampledSteps));
    auto* ok = window.findChild<QPushButton*>(QStringLiteral("bbOK"));
    mirla::TPlot& chart = window.Plot2D()->Chart();
    window.Plot2D()->resize(ImageWidth, ImageHeight);
    for (auto _ : state) {
        ok->click();
        state.PauseTiming();
        if (chart.Graph().LayerCount() != 1)
            state.SkipWithError("the request drew no curve");
        chart.Clear();
        state.ResumeTiming();
    }
    state.counters["steps"] = SampledSteps;
}

BENCHMARK(BM_MirlaGraphRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotRedraw)->Arg(1)->Arg(0)->ArgName("adaptive")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SampleAndShowFx)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintPageToPdf)->Unit(benchmark::kMillisecond);

} // namespace
