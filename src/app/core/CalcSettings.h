#pragma once

#include <array>
#include <string>

namespace mirla {

class TIniFile;
class TCalcFiles;

/// Number of plot types of the Graphics page ("Plot f(X)" ... "Polar").
constexpr int PlotTypeCount = 5;
/// Most steps a plot samples along one axis.
constexpr int MaxPlotSteps = 16000;
/// Largest coordinate, in either direction, that a plot range may reach.
constexpr double MaxPlotCoordinate = 115425.2;

/// Every setting the calculator remembers between runs, with its default.
class TCalcSettings {
public:
    // "Calc Settings"
    int Notation = 0;
    int Digits = 12;
    int ComplexForm = 1;
    int Precision = 9; ///< stored under the key "Precison"
    bool Assistant = true;
    bool Hint = true;
    bool Angle = true; ///< true: degrees
    bool ShowComp = true;
    // "Files"
    std::string Variables;
    std::string Functions;
    // "Graphics"
    int PlotType = 0;
    std::string XMin = "-10";
    std::string XMax = "10";
    std::string YMin = "-10";
    std::string YMax = "10";
    std::string Legend;
    std::string Title = "f()";
    std::string XAxis = "X";
    std::string YAxis = "Y";
    /// The X step counts of the plot types, then their Y step counts.
    std::array<int, 2 * PlotTypeCount> StepTable = {200, 40, 40, 40, 360, 0, 40, 40, 40, 0};
    // "Calc"
    int Left = 0;
    int Top = 0;

    /// Defaults that depend on where the files live (the "Files" paths).
    explicit TCalcSettings(const TCalcFiles& files);
    TCalcSettings() = default;
    /// Reads every key, keeping the default of a key that is missing or unreadable.
    void Load(const TIniFile& ini);
    /// Writes the keys of the close sequence (not the "Files" keys, which "Save As" writes).
    void Save(TIniFile& ini) const;
};

/// The placement of a window: a section named by its form name with "Left", "Top", "Width",
/// "Height" (defaults 0, 0, 640, 480).
struct TWindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 640;
    int Height = 480;
    static TWindowPlacement Read(const TIniFile& ini, const std::string& formName);
    void Write(TIniFile& ini, const std::string& formName) const;
};

} // namespace mirla
