// The surface and polar requests from "&OK" to the window shown, beside their sampling alone,
// and the memory the surface window takes for a 200 x 200 grid. Run under Xvfb: the surface
// graph needs an OpenGL display.
#include "app/CalcWindow.h"
#include "app/GraphicsPage.h"
#include "app/core/CalcFiles.h"
#include "app/core/PlotSampling.h"
#include "engine/EvalContext.h"
#include "engine/InputPreparation.h"
#include "plotlib/core/VtChartData.h"
#include "plots/PolarWindow.h"
#include "plots/SurfaceWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include <fstream>
#include <vector>

namespace {

constexpr const char* SurfaceLine = "sin(X)*cos(Y)";
constexpr int SurfaceSteps = 200;
constexpr const char* PolarLine = "1+cos(X)";
constexpr int PolarSteps = 3600;

void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

/// A calculator window over a scratch folder, its "Graphics" page set for one request.
class TRequestWindow {
public:
    TRequestWindow(int type, const QString& line, int steps) {
        for (const char* name : {"/Mirla.CON", "/Mirla.FNC", "/Mirla.USR"})
            WriteFile(m_dir.path() + name, "");
        const std::string path = m_dir.path().toStdString();
        m_window = std::make_unique<mirla::TfmCalc>(mirla::TCalcFiles::Locate(path, path + "/user"));
        m_window->show();
        m_window->InputLine()->setText(line);
        auto* page = m_window->findChild<mirla::TGraphicsPage*>();
        m_window->Pages()->setCurrentWidget(page);
        m_window->findChild<QRadioButton*>(QStringLiteral("rbPlot%1").arg(type))->click();
        const auto set = [this](const char* name, const QString& text) {
            m_window->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
        };
        set("edFromX", type == mirla::TGraphicsPage::PolarPlot ? "0" : "-5");
        set("edToX", type == mirla::TGraphicsPage::PolarPlot ? "360" : "5");
        set("edStepsX", QString::number(steps));
        set("edFromY", "-5");
        set("edToY", "5");
        set("edStepsY", QString::number(steps));
        m_ok = m_window->findChild<QPushButton*>(QStringLiteral("bbOK"));
        QApplication::processEvents();
    }
    /// Clicks "&OK": the request ends with its window shown.
    void Request() { m_ok->click(); }
    /// Lets the shown window draw.
    void Draw() { QApplication::processEvents(); }
    mirla::TfmCalc& Window() { return *m_window; }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<mirla::TfmCalc> m_window;
    QPushButton* m_ok = nullptr;
};

void PrepareEngine(mirla::EvalContext& engine, const char* line) {
    engine.ClearError();
    mirla::PrepareInput(engine, line);
}

void BM_SurfaceSampling200(benchmark::State& state) {
    mirla::EvalContext engine;
    const long double h = 10.0L / (SurfaceSteps - 1);
    const mirla::TSampleGrid grid{{-5, h, SurfaceSteps}, {-5, h, SurfaceSteps}};
    for (auto _ : state) {
        PrepareEngine(engine, SurfaceLine);
        mirla::TVtChartData chart;
        benchmark::DoNotOptimize(mirla::SampleSurface(engine, nullptr, grid, chart, [](int) {}));
    }
}

void BM_SurfaceRequest200(benchmark::State& state) {
    TRequestWindow window(mirla::TGraphicsPage::SurfacePlot, SurfaceLine, SurfaceSteps);
    for (auto _ : state) {
        window.Request();
        state.PauseTiming();
        window.Draw();
        state.ResumeTiming();
    }
}

/// The request with the first drawing of the surface after it.
void BM_SurfaceRequestDrawn200(benchmark::State& state) {
    TRequestWindow window(mirla::TGraphicsPage::SurfacePlot, SurfaceLine, SurfaceSteps);
    for (auto _ : state) {
        window.Request();
        window.Draw();
    }
}

void BM_PolarSampling3600(benchmark::State& state) {
    mirla::EvalContext engine;
    for (auto _ : state) {
        PrepareEngine(engine, PolarLine);
        std::vector<double> angles;
        std::vector<double> radii;
        benchmark::DoNotOptimize(mirla::SamplePolar(engine, mirla::TSampleAxis::Spanning(0, 360, PolarSteps),
                                                    angles, radii, [](int) {}));
    }
}

void BM_PolarRequest3600(benchmark::State& state) {
    TRequestWindow window(mirla::TGraphicsPage::PolarPlot, PolarLine, PolarSteps);
    for (auto _ : state) {
        window.Request();
        state.PauseTiming();
        window.Draw();
        // Polar requests add curves; the measure is of one curve.
        window.Window().Polar()->Chart().Model().SetColumnCount(0);
        state.ResumeTiming();
    }
}

/// Resident memory of this process in kilobytes.
double ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string key; status >> key;) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes;
        }
    }
    return 0;
}

void BM_SurfaceWindowMemory200(benchmark::State& state) {
    TRequestWindow window(mirla::TGraphicsPage::SurfacePlot, SurfaceLine, 2);
    window.Request();
    window.Draw();
    const double before = ResidentKilobytes();
    for (auto _ : state) {
        state.PauseTiming();
        window.Window()
            .findChild<QLineEdit*>(QStringLiteral("edStepsX"))
            ->setText(QString::number(SurfaceSteps));
        window.Window()
            .findChild<QLineEdit*>(QStringLiteral("edStepsY"))
            ->setText(QString::number(SurfaceSteps));
        state.ResumeTiming();
        window.Request();
        window.Draw();
    }
    state.counters["grid_memory_MB"] = (ResidentKilobytes() - before) / 1024;
}

} // namespace

BENCHMARK(BM_SurfaceSampling200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceRequest200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceRequestDrawn200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolarSampling3600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolarRequest3600)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SurfaceWindowMemory200)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
