// Start-up of the calculator window with a large history and many user definitions, and one
// evaluation cycle of a short line (which also rewrites the history file).
#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int HistoryLines = 1000;
constexpr int Definitions = 500;

void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

/// A program folder with a 1000-line history, 500 user functions and 500 user variables.
void FillFolder(const QString& folder) {
    QString history = QString::number(HistoryLines) + "\n";
    for (int i = 0; i < HistoryLines; ++i)
        history += QStringLiteral("sin(%1)*%2+1\n").arg(i).arg(i % 7);
    history += QString::number(HistoryLines) + "\n";
    for (int i = 0; i < HistoryLines; ++i)
        history += QStringLiteral("%1.5E+0\n").arg(i % 10);
    WriteFile(folder + "/Mirla.HST", history);
    QString functions;
    QString variables;
    for (int i = 0; i < Definitions; ++i) {
        functions += QStringLiteral("fn%1(x,y) = x^2+y*%1 ;function %1\n").arg(i);
        variables += QStringLiteral("var%1 = %1.25E+0\n").arg(i);
    }
    WriteFile(folder + "/Mirla.FNC", functions);
    WriteFile(folder + "/Mirla.USR", variables);
    WriteFile(folder + "/Mirla.CON", "c = 2.99792458E8 ;m/s\n");
}

mirla::TCalcFiles Files(const QTemporaryDir& dir) {
    const std::string path = dir.path().toStdString();
    return mirla::TCalcFiles::Locate(path, path + "/user");
}

void BM_StartToWindowShown(benchmark::State& state) {
    QTemporaryDir dir;
    FillFolder(dir.path());
    for (auto _ : state) {
        mirla::TfmCalc window(Files(dir));
        window.show();
        QApplication::processEvents();
        state.PauseTiming();
        window.hide();
        state.ResumeTiming();
    }
}

void BM_EvaluationCycle(benchmark::State& state) {
    QTemporaryDir dir;
    FillFolder(dir.path());
    mirla::TfmCalc window(Files(dir));
    window.show();
    QApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        // A new line each time, so that the lists and the history file change as they would.
        window.InputLine()->setText(QStringLiteral("2*%1+sqrt(%1)").arg(i++));
        QTest::keyClick(window.InputLine(), Qt::Key_Return);
    }
}

BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluationCycle)->Unit(benchmark::kMillisecond);

} // namespace
