#include "app/core/CalcSettings.h"
#include "app/core/CalcFiles.h"
#include "runtime/IniFile.h"

#include "userdefs/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace mirla {
namespace {

using test::ReadText;
using test::TempDir;
using test::WriteText;

TIniFile IniFromText(const TempDir& dir, const std::string& text) {
    WriteText(dir.File("Mirla.INI"), text);
    TIniFile ini;
    std::string message;
    EXPECT_TRUE(ini.Load(dir.File("Mirla.INI"), message)) << message;
    return ini;
}

TEST(CalcSettings, WithNoFileEveryKeyHasItsDefault) {
    TempDir dir;
    const TCalcFiles files = TCalcFiles::Locate(dir.File(""), dir.File("user"));
    TCalcSettings settings(files);
    settings.Load(TIniFile());
    EXPECT_EQ(settings.Notation, 0);
    EXPECT_EQ(settings.Digits, 12);
    EXPECT_EQ(settings.ComplexForm, 1);
    EXPECT_EQ(settings.Precision, 9);
    EXPECT_TRUE(settings.Assistant);
    EXPECT_TRUE(settings.Hint);
    EXPECT_TRUE(settings.Angle);
    EXPECT_TRUE(settings.ShowComp);
    EXPECT_EQ(settings.Variables, files.Folder() + "/Mirla.USR");
    EXPECT_EQ(settings.Functions, files.Folder() + "/Mirla.FNC");
    EXPECT_EQ(settings.PlotType, 0);
    EXPECT_EQ(settings.XMin, "-10");
    EXPECT_EQ(settings.XMax, "10");
    EXPECT_EQ(settings.YMin, "-10");
    EXPECT_EQ(settings.YMax, "10");
    EXPECT_EQ(settings.Legend, "");
    EXPECT_EQ(settings.Title, "f()");
    EXPECT_EQ(settings.XAxis, "X");
    EXPECT_EQ(settings.YAxis, "Y");
    const std::array<int, 10> steps = {200, 40, 40, 40, 360, 0, 40, 40, 40, 0};
    EXPECT_EQ(settings.StepTable, steps);
    EXPECT_EQ(settings.Left, 0);
    EXPECT_EQ(settings.Top, 0);
}

TEST(CalcSettings, ReadsTheStoredKeyNames) {
    TempDir dir;
    const TIniFile ini = IniFromText(dir, "[Calc Settings]\nNotation=2\nDigits=15\nComplex Form=0\n"
                                          "Precison=4\nAssistant=0\nHint=0\nAngle=0\nShowComp=0\n"
                                          "[Files]\nVariables=/v/My vars.USR\nFunctions=/f/F.FNC\n"
                                          "[Graphics]\nPlot Type=4\nXx min=0\nYx min=360\nXy min=-1\n"
                                          "Yy min=1\nLegend=L\nTitle=T\nX axis=angle\nY axis=r\n"
                                          "StepX4=720\nStepY1=80\n[Calc]\nLeft=15\nTop=-20\n");
    TCalcSettings settings;
    settings.Load(ini);
    EXPECT_EQ(settings.Notation, 2);
    EXPECT_EQ(settings.Digits, 15);
    EXPECT_EQ(settings.ComplexForm, 0);
    EXPECT_EQ(settings.Precision, 4);
    EXPECT_FALSE(settings.Assistant);
    EXPECT_FALSE(settings.Hint);
    EXPECT_FALSE(settings.Angle);
    EXPECT_FALSE(settings.ShowComp);
    EXPECT_EQ(settings.Variables, "/v/My vars.USR");
    EXPECT_EQ(settings.Functions, "/f/F.FNC");
    EXPECT_EQ(settings.PlotType, 4);
    EXPECT_EQ(settings.XMin, "0");
    EXPECT_EQ(settings.XMax, "360");
    EXPECT_EQ(settings.YMin, "-1");
    EXPECT_EQ(settings.YMax, "1");
    EXPECT_EQ(settings.Legend, "L");
    EXPECT_EQ(settings.Title, "T");
    EXPECT_EQ(settings.XAxis, "angle");
    EXPECT_EQ(settings.YAxis, "r");
    const std::array<int, 10> steps = {200, 40, 40, 40, 720, 0, 80, 40, 40, 0};
    EXPECT_EQ(settings.StepTable, steps);
    EXPECT_EQ(settings.Left, 15);
    EXPECT_EQ(settings.Top, -20);
}

TEST(CalcSettings, ValuesOutOfTheirRangeOrUnreadableReadAsTheDefault) {
    struct Case {
        const char* line; ///< a line of the file
        int TCalcSettings::*member;
        int expected;
    };
    const std::vector<Case> cases = {
        {"[Calc Settings]\nNotation=4", &TCalcSettings::Notation, 0},
        {"[Calc Settings]\nNotation=-1", &TCalcSettings::Notation, 0},
        {"[Calc Settings]\nNotation=3", &TCalcSettings::Notation, 3},
        {"[Calc Settings]\nDigits=2", &TCalcSettings::Digits, 12},
        {"[Calc Settings]\nDigits=41", &TCalcSettings::Digits, 12},
        {"[Calc Settings]\nDigits=3", &TCalcSettings::Digits, 3},
        {"[Calc Settings]\nDigits=40", &TCalcSettings::Digits, 40},
        {"[Calc Settings]\nDigits=twelve", &TCalcSettings::Digits, 12},
        {"[Calc Settings]\nPrecison=0", &TCalcSettings::Precision, 9},
        {"[Calc Settings]\nPrecison=21", &TCalcSettings::Precision, 9},
        {"[Calc Settings]\nPrecison=20", &TCalcSettings::Precision, 20},
        {"[Calc Settings]\nPrecision=5", &TCalcSettings::Precision, 9},
        {"[Calc Settings]\nComplex Form=2", &TCalcSettings::ComplexForm, 1},
        {"[Graphics]\nPlot Type=5", &TCalcSettings::PlotType, 0},
        {"[Graphics]\nPlot Type=x", &TCalcSettings::PlotType, 0},
        {"[Calc]\nLeft=1e3", &TCalcSettings::Left, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        TCalcSettings settings;
        settings.Load(IniFromText(dir, c.line));
        EXPECT_EQ(settings.*c.member, c.expected) << c.line;
    }
}

TEST(CalcSettings, StepCountsOutsideTheFieldRangesReadAsTheDefault) {
    struct Case {
        const char* line;
        std::size_t index;
        int expected;
    };
    const std::vector<Case> cases = {
        {"StepX0=1", 0, 200},   {"StepX0=2", 0, 2},  {"StepX0=16000", 0, 16000}, {"StepX0=16001", 0, 200},
        {"StepX4=0", 4, 360},   {"StepY0=0", 5, 0},  {"StepY0=-1", 5, 0},        {"StepY1=1", 6, 40},
        {"StepY1=2", 6, 2},     {"StepY3=0", 8, 40}, {"StepY4=16000", 9, 16000}, {"StepY4=16001", 9, 0},
        {"StepX2=many", 2, 40},
    };
    for (const Case& c : cases) {
        TempDir dir;
        TCalcSettings settings;
        settings.Load(IniFromText(dir, std::string("[Graphics]\n") + c.line));
        EXPECT_EQ(settings.StepTable[c.index], c.expected) << c.line;
    }
}

TEST(CalcSettings, WhatIsSavedLoadsBackAndOtherSectionsStay) {
    TempDir dir;
    TIniFile ini = IniFromText(dir, "[Plot_fmPlot2D]\nPlot_Grid=1\n[Files]\nVariables=/kept.USR\n");
    TCalcSettings saved;
    saved.Notation = 3;
    saved.Digits = 20;
    saved.ComplexForm = 0;
    saved.Precision = 17;
    saved.Assistant = false;
    saved.Angle = false;
    saved.PlotType = 4;
    saved.XMax = "720";
    saved.Legend = "my legend";
    saved.StepTable = {100, 41, 42, 43, 720, 0, 44, 45, 46, 0};
    saved.Left = 300;
    saved.Top = 200;
    saved.Variables = "/not/written.USR";
    saved.Save(ini);
    std::string message;
    ASSERT_TRUE(ini.Save(dir.File("Mirla.INI"), message)) << message;

    TIniFile read;
    ASSERT_TRUE(read.Load(dir.File("Mirla.INI"), message)) << message;
    TCalcSettings loaded;
    loaded.Load(read);
    EXPECT_EQ(loaded.Notation, 3);
    EXPECT_EQ(loaded.Digits, 20);
    EXPECT_EQ(loaded.ComplexForm, 0);
    EXPECT_EQ(loaded.Precision, 17);
    EXPECT_FALSE(loaded.Assistant);
    EXPECT_TRUE(loaded.Hint);
    EXPECT_FALSE(loaded.Angle);
    EXPECT_EQ(loaded.PlotType, 4);
    EXPECT_EQ(loaded.XMax, "720");
    EXPECT_EQ(loaded.Legend, "my legend");
    EXPECT_EQ(loaded.StepTable, saved.StepTable);
    EXPECT_EQ(loaded.Left, 300);
    EXPECT_EQ(loaded.Top, 200);
    // The "Files" keys are written only when the user saves a file under a new name.
    EXPECT_EQ(loaded.Variables, "/kept.USR");
    EXPECT_EQ(read.ReadInteger("Plot_fmPlot2D", "Plot_Grid", 0), 1);

    const std::string text = ReadText(dir.File("Mirla.INI"));
    for (const char* line :
         {"Precison=17\n", "Complex Form=0\n", "Xx min=-10\n", "Yx min=720\n", "Xy min=-10\n", "Yy min=10\n",
          "StepX4=720\n", "StepY3=46\n", "ShowComp=1\n", "Angle=0\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
}

TEST(WindowPlacement, ReadsAndWritesTheFormSection) {
    TempDir dir;
    TIniFile ini = IniFromText(dir, "[fmContourPlot]\nLeft=5\nTop=6\nWidth=700\nHeight=-1\n");
    const TWindowPlacement contour = TWindowPlacement::Read(ini, "fmContourPlot");
    EXPECT_EQ(contour.Left, 5);
    EXPECT_EQ(contour.Top, 6);
    EXPECT_EQ(contour.Width, 700);
    EXPECT_EQ(contour.Height, 480);
    const TWindowPlacement none = TWindowPlacement::Read(ini, "fmPolar");
    EXPECT_EQ(none.Left, 0);
    EXPECT_EQ(none.Top, 0);
    EXPECT_EQ(none.Width, 640);
    EXPECT_EQ(none.Height, 480);

    TWindowPlacement surface{-10, 20, 800, 600};
    surface.Write(ini, "fmSurface");
    const TWindowPlacement back = TWindowPlacement::Read(ini, "FMSURFACE");
    EXPECT_EQ(back.Left, -10);
    EXPECT_EQ(back.Top, 20);
    EXPECT_EQ(back.Width, 800);
    EXPECT_EQ(back.Height, 600);
    EXPECT_EQ(TWindowPlacement::Read(ini, "fmContourPlot").Width, 700);
}

} // namespace
} // namespace mirla
