// Redraw of a 1200 x 800 plot carrying 1,000 annotation figures of every kind over one curve.
#include "plotlib/Annotate.h"
#include "plotlib/Graph.h"
#include "plotlib/Series.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>

namespace {

constexpr int FigureCount = 1000;
constexpr int FigureKinds = 7;

/// A figure of kind `i % FigureKinds` somewhere in 0..100 x 0..100.
std::unique_ptr<mirla::TFig> MakeFigure(mirla::TGraph& graph, int i) {
    std::unique_ptr<mirla::TFig> figure;
    switch (i % FigureKinds) {
    case 0:
        figure = std::make_unique<mirla::TShape>(graph);
        break;
    case 1:
        figure = std::make_unique<mirla::TMonoLine>(graph);
        break;
    case 2:
        figure = std::make_unique<mirla::TArrow>(graph);
        break;
    case 3:
        figure = std::make_unique<mirla::TRectangle>(graph);
        figure->FillMode = mirla::fmSemiTransparent;
        break;
    case 4:
        figure = std::make_unique<mirla::TCircle>(graph);
        figure->FillMode = mirla::fmSolid;
        break;
    case 5: {
        auto pencil = std::make_unique<mirla::TPencil>(graph);
        for (int k = 0; k < 20; ++k)
            pencil->Points.emplace_back(i % 90 + k * 0.5, (i * 7) % 90 + std::sin(k) * 3);
        figure = std::move(pencil);
        break;
    }
    default: {
        auto note = std::make_unique<mirla::TNoteText>(graph);
        note->Text = "note " + std::to_string(i);
        figure = std::move(note);
        break;
    }
    }
    figure->X1 = i % 90;
    figure->Y1 = (i * 7) % 90;
    figure->X2 = figure->X1 + 8;
    figure->Y2 = figure->Y1 + 5;
    return figure;
}

void BM_AnnotatedGraphRedraw(benchmark::State& state) {
    mirla::TGraph graph;
    auto curve = std::make_unique<mirla::TSeries>(graph, "f(x)", mirla::ssLine, mirla::clBlue);
    for (int i = 0; i <= 100; ++i)
        curve->AddPoint(mirla::clBlue, "", i, 50 + 40 * std::sin(i / 10.0));
    graph.AddLayer(std::move(curve));
    for (int i = 0; i < FigureCount; ++i)
        graph.Annotate().Add(MakeFigure(graph, i));
    QImage image(1200, 800, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        graph.Draw(painter, image.rect());
    }
    state.counters["figures"] = FigureCount;
}

} // namespace

BENCHMARK(BM_AnnotatedGraphRedraw)->Unit(benchmark::kMillisecond);
