#include "app/core/CalcSettings.h"

#include "app/core/CalcFiles.h"
#include "runtime/IniKeys.h"

#include <climits>

namespace mirla {

namespace {

constexpr const char* CalcSection = "Calc Settings";
constexpr const char* FilesSection = "Files";
constexpr const char* GraphicsSection = "Graphics";
constexpr const char* WindowSection = "Calc";

constexpr int MaxWindowSize = 100000;

std::string StepKey(char axis, int plotType) {
    return std::string("Step") + axis + std::to_string(plotType);
}

/// The least Y step count of a plot type: two-variable maps and surfaces need two rows.
int MinYSteps(int plotType) {
    return plotType >= 1 && plotType <= 3 ? 2 : 0;
}

/// The keys the close sequence writes and the start reads, in the order of the file.
template <class Keys, class Settings> void CloseKeys(Keys& keys, Settings& s) {
    keys.SetSection(CalcSection);
    keys.Value("Notation", s.Notation, 0, 3);
    keys.Value("Angle", s.Angle);
    keys.Value("Digits", s.Digits, 3, 40);
    keys.Value("Precison", s.Precision, 1, 20);
    keys.Value("Assistant", s.Assistant);
    keys.Value("Hint", s.Hint);
    keys.Value("ShowComp", s.ShowComp);
    keys.Value("Complex Form", s.ComplexForm, 0, 1);

    keys.SetSection(GraphicsSection);
    keys.Value("Plot Type", s.PlotType, 0, PlotTypeCount - 1);
    keys.Value("Xx min", s.XMin);
    keys.Value("Yx min", s.XMax);
    keys.Value("Xy min", s.YMin);
    keys.Value("Yy min", s.YMax);
    keys.Value("Legend", s.Legend);
    keys.Value("Title", s.Title);
    keys.Value("X axis", s.XAxis);
    keys.Value("Y axis", s.YAxis);
    for (int type = 0; type < PlotTypeCount; ++type)
        keys.Value(StepKey('X', type), s.StepTable[type], 2, MaxPlotSteps);
    for (int type = 0; type < PlotTypeCount; ++type)
        keys.Value(StepKey('Y', type), s.StepTable[type + PlotTypeCount], MinYSteps(type), MaxPlotSteps);

    keys.SetSection(WindowSection);
    keys.Value("Left", s.Left, INT_MIN, INT_MAX);
    keys.Value("Top", s.Top, INT_MIN, INT_MAX);
}

/// The file paths "Save As" writes when the user chooses them; the start reads them.
template <class Keys, class Settings> void FilesKeys(Keys& keys, Settings& s) {
    keys.SetSection(FilesSection);
    keys.Value("Variables", s.Variables);
    keys.Value("Functions", s.Functions);
}

template <class Keys, class Placement> void PlacementKeys(Keys& keys, Placement& p) {
    keys.Value("Left", p.Left, INT_MIN, INT_MAX);
    keys.Value("Top", p.Top, INT_MIN, INT_MAX);
    // A window of no size could never be seen again, so such sizes read as the default.
    keys.Value("Width", p.Width, 1, MaxWindowSize);
    keys.Value("Height", p.Height, 1, MaxWindowSize);
}

} // namespace

TCalcSettings::TCalcSettings(const TCalcFiles& files)
    : Variables(files.DefaultVariablesFile()), Functions(files.DefaultFunctionsFile()) {}

void TCalcSettings::Load(const TIniFile& ini) {
    TIniKeyReader keys(ini, CalcSection);
    CloseKeys(keys, *this);
    FilesKeys(keys, *this);
}

void TCalcSettings::Save(TIniFile& ini) const {
    TIniKeyWriter keys(ini, CalcSection);
    CloseKeys(keys, *this);
}

TWindowPlacement TWindowPlacement::Read(const TIniFile& ini, const std::string& formName) {
    TWindowPlacement placement;
    TIniKeyReader keys(ini, formName);
    PlacementKeys(keys, placement);
    return placement;
}

void TWindowPlacement::Write(TIniFile& ini, const std::string& formName) const {
    TIniKeyWriter keys(ini, formName);
    PlacementKeys(keys, *this);
}

} // namespace mirla
