#include "app/core/CalcSettings.h"

#include <cmath>

#include "app/core/CalcFiles.h"
#include "app/core/IniFile.h"

namespace mirla {

namespace {

constexpr const char* CalcSection = "Calc Settings";
constexpr const char* FilesSection = "Files";
constexpr const char* GraphicsSection = "Graphics";
constexpr const char* WindowSection = "Calc";

constexpr int MaxSteps = 16000;
constexpr int PlotTypeCount = 5;
constexpr int MaxWindowSize = 100000;

/// An integer key, keeping `value` when the key is missing, unreadable or outside [low, high].
void ReadInRange(const TIniFile& ini, const std::string& section, const std::string& key, int low, int high,
                 int& value) {
    const int read = ini.ReadInteger(section, key, value);
    if (read >= low && read <= high) {
        value = read;
    }
}

std::string StepKey(char axis, int plotType) {
    return std::string("Step") + axis + std::to_string(plotType);
}

/// The least Y step count of a plot type: two-variable maps and surfaces need two rows.
int MinYSteps(int plotType) {
    return plotType >= 1 && plotType <= 3 ? 2 : 0;
}

} // namespace

TCalcSettings::TCalcSettings(const TCalcFiles& files)
    : Variables(files.DefaultVariablesFile()), Functions(files.DefaultFunctionsFile()) {}

void TCalcSettings::Load(const TIniFile& ini) {
    ReadInRange(ini, CalcSection, "Notation", 0, 3, Notation);
    ReadInRange(ini, CalcSection, "Digits", 3, 40, Digits);
    ReadInRange(ini, CalcSection, "Complex Form", 0, 1, ComplexForm);
    ReadInRange(ini, CalcSection, "Precison", 1, 20, Precision);
    Assistant = ini.ReadBool(CalcSection, "Assistant", Assistant);
    Hint = ini.ReadBool(CalcSection, "Hint", Hint);
    Angle = ini.ReadBool(CalcSection, "Angle", Angle);
    ShowComp = ini.ReadBool(CalcSection, "ShowComp", ShowComp);

    Variables = ini.ReadString(FilesSection, "Variables", Variables);
    Functions = ini.ReadString(FilesSection, "Functions", Functions);

    ReadInRange(ini, GraphicsSection, "Plot Type", 0, PlotTypeCount - 1, PlotType);
    XMin = ini.ReadString(GraphicsSection, "Xx min", XMin);
    XMax = ini.ReadString(GraphicsSection, "Yx min", XMax);
    YMin = ini.ReadString(GraphicsSection, "Xy min", YMin);
    YMax = ini.ReadString(GraphicsSection, "Yy min", YMax);
    Legend = ini.ReadString(GraphicsSection, "Legend", Legend);
    Title = ini.ReadString(GraphicsSection, "Title", Title);
    XAxis = ini.ReadString(GraphicsSection, "X axis", XAxis);
    YAxis = ini.ReadString(GraphicsSection, "Y axis", YAxis);
    for (int type = 0; type < PlotTypeCount; ++type) {
        ReadInRange(ini, GraphicsSection, StepKey('X', type), 2, MaxSteps, StepTable[type]);
        ReadInRange(ini, GraphicsSection, StepKey('Y', type), MinYSteps(type), MaxSteps,
                    StepTable[type + PlotTypeCount]);
    }

    Left = ini.ReadInteger(WindowSection, "Left", Left);
    Top = ini.ReadInteger(WindowSection, "Top", Top);
}

void TCalcSettings::Save(TIniFile& ini) const {
    ini.WriteInteger(CalcSection, "Notation", Notation);
    ini.WriteBool(CalcSection, "Angle", Angle);
    ini.WriteInteger(CalcSection, "Digits", Digits);
    ini.WriteInteger(CalcSection, "Precison", Precision);
    ini.WriteBool(CalcSection, "Assistant", Assistant);
    ini.WriteBool(CalcSection, "Hint", Hint);
    ini.WriteBool(CalcSection, "ShowComp", ShowComp);
    ini.WriteInteger(CalcSection, "Complex Form", ComplexForm);

    ini.WriteInteger(GraphicsSection, "Plot Type", PlotType);
    ini.WriteString(GraphicsSection, "Xx min", XMin);
    ini.WriteString(GraphicsSection, "Yx min", XMax);
    ini.WriteString(GraphicsSection, "Xy min", YMin);
    ini.WriteString(GraphicsSection, "Yy min", YMax);
    ini.WriteString(GraphicsSection, "Legend", Legend);
    ini.WriteString(GraphicsSection, "Title", Title);
    ini.WriteString(GraphicsSection, "X axis", XAxis);
    ini.WriteString(GraphicsSection, "Y axis", YAxis);
    for (int type = 0; type < PlotTypeCount; ++type) {
        ini.WriteInteger(GraphicsSection, StepKey('X', type), StepTable[type]);
    }
    for (int type = 0; type < PlotTypeCount; ++type) {
        ini.WriteInteger(GraphicsSection, StepKey('Y', type), StepTable[type + PlotTypeCount]);
    }

    ini.WriteInteger(WindowSection, "Left", Left);
    ini.WriteInteger(WindowSection, "Top", Top);
}

TWindowPlacement TWindowPlacement::Read(const TIniFile& ini, const std::string& formName) {
    TWindowPlacement placement;
    placement.Left = ini.ReadInteger(formName, "Left", placement.Left);
    placement.Top = ini.ReadInteger(formName, "Top", placement.Top);
    // A window of no size could never be seen again, so such sizes read as the default.
    ReadInRange(ini, formName, "Width", 1, MaxWindowSize, placement.Width);
    ReadInRange(ini, formName, "Height", 1, MaxWindowSize, placement.Height);
    return placement;
}

void TWindowPlacement::Write(TIniFile& ini, const std::string& formName) const {
    ini.WriteInteger(formName, "Left", Left);
    ini.WriteInteger(formName, "Top", Top);
    ini.WriteInteger(formName, "Width", Width);
    ini.WriteInteger(formName, "Height", Height);
}

TPrintMargins TPrintMargins::Read(const TIniFile& ini) {
    const TPrintMargins defaults;
    const auto margin = [&ini](const char* key, int fallback) {
        const int value = ini.ReadInteger("Print", key, fallback);
        return value >= 0 ? value : fallback;
    };
    return {margin("Left", defaults.Left), margin("Right", defaults.Right), margin("Top", defaults.Top),
            margin("Bottom", defaults.Bottom)};
}

int TPrintMargins::Dots(int millimetres, int dotsPerInch) {
    constexpr double InchesPerMillimetre = 0.039370078740157480314;
    return static_cast<int>(std::lround(millimetres * dotsPerInch * InchesPerMillimetre));
}

} // namespace mirla
