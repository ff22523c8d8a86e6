#include "plotlib/GraphSettings.h"

#include "plotlib/Graph.h"
#include "runtime/IniFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <sstream>

namespace mirla {
namespace {

const std::string Section = "fmPlot2DChart";

/// Saves `graph` into a settings file on disk and reads the file back, so the test also covers
/// the text form of every value.
TIniFile SavedThroughFile(const TGraph& graph) {
    TIniFile ini;
    SaveGraphSettings(graph, ini, Section);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("Mirla.INI")).toStdString();
    std::string message;
    EXPECT_TRUE(ini.Save(path, message)) << message;
    TIniFile read;
    EXPECT_TRUE(read.Load(path, message)) << message;
    return read;
}

struct TRoundTripCase {
    const char* Name;
    std::function<void(TGraph&)> Change;
    std::function<void(TGraph&)> Expect;
};

class GraphSettingsRoundTrip : public testing::TestWithParam<TRoundTripCase> {};

TEST_P(GraphSettingsRoundTrip, ReadsBackWhatWasSaved) {
    const TRoundTripCase& c = GetParam();
    TGraph saved;
    c.Change(saved);
    const TIniFile ini = SavedThroughFile(saved);
    TGraph loaded;
    ASSERT_TRUE(LoadGraphSettings(loaded, ini, Section)) << c.Name;
    SCOPED_TRACE(c.Name);
    c.Expect(loaded);
}

const TFontSpec BoldUnderlinedCourier{"Courier New", 11, clBlue, 0, fsBold | fsUnderline};
const TFontSpec ItalicStruckTimes{"Times New Roman", 14, RgbColor(10, 20, 30), 204, fsItalic | fsStrikeOut};

const TRoundTripCase RoundTripCases[] = {
    {"colours",
     [](TGraph& g) {
         g.Color = clYellow;
         g.BackColor = RgbColor(1, 2, 3);
     },
     [](TGraph& g) {
         EXPECT_EQ(g.Color, clYellow);
         EXPECT_EQ(g.BackColor, RgbColor(1, 2, 3));
     }},
    {"doubles keep every digit",
     [](TGraph& g) {
         g.Exaggerate = 1.0 / 3.0;
         g.MinimumLogValue = 1e-7;
         g.ClipMarkers = true;
     },
     [](TGraph& g) {
         EXPECT_EQ(g.Exaggerate, 1.0 / 3.0);
         EXPECT_EQ(g.MinimumLogValue, 1e-7);
         EXPECT_TRUE(g.ClipMarkers);
     }},
    {"3-D look", [](TGraph& g) { g.SetView3D(50); },
     [](TGraph& g) {
         EXPECT_DOUBLE_EQ(g.View3D(), 50);
         EXPECT_EQ(g.XAxis().Ticks.Direction, tdIN);
     }},
    {"axis flags and name",
     [](TGraph& g) {
         TAxis& x = g.XAxis();
         x.Name = "Time (s)";
         x.Color = clMaroon;
         x.Grid = true;
         x.GridColor = clTeal;
         x.Visible = false;
         x.AutoMin = false;
         x.AutoMax = false;
         x.Invert = true;
         x.RegularLabelsVisible = false;
     },
     [](TGraph& g) {
         const TAxis& x = g.XAxis();
         EXPECT_EQ(x.Name, "Time (s)");
         EXPECT_EQ(x.Color, clMaroon);
         EXPECT_TRUE(x.Grid);
         EXPECT_EQ(x.GridColor, clTeal);
         EXPECT_FALSE(x.Visible);
         EXPECT_FALSE(x.AutoMin);
         EXPECT_FALSE(x.AutoMax);
         EXPECT_TRUE(x.Invert);
         EXPECT_FALSE(x.RegularLabelsVisible);
     }},
    {"logarithmic axis", [](TGraph& g) { g.YAxis().SetLog(true); },
     [](TGraph& g) {
         EXPECT_TRUE(g.YAxis().Log());
         EXPECT_FALSE(g.XAxis().Log());
     }},
    {"stored limits",
     [](TGraph& g) {
         g.YAxis().SetMin(-2.5);
         g.YAxis().SetMax(1e10 / 3);
         g.YAxis().StoreLimits = true;
     },
     [](TGraph& g) {
         EXPECT_EQ(g.YAxis().Minimum(), -2.5);
         EXPECT_EQ(g.YAxis().Maximum(), 1e10 / 3);
     }},
    {"user labels",
     [](TGraph& g) {
         g.XAxis().UserLabels = {{"start", 0.5}, {"two words", -1e-3}};
     },
     [](TGraph& g) {
         const auto& labels = g.XAxis().UserLabels;
         ASSERT_EQ(labels.size(), 2u);
         EXPECT_EQ(labels[0].Text, "start");
         EXPECT_EQ(labels[0].Value, 0.5);
         EXPECT_EQ(labels[1].Text, "two words");
         EXPECT_EQ(labels[1].Value, -1e-3);
     }},
    {"fonts with styles",
     [](TGraph& g) {
         g.YAxis().Font = BoldUnderlinedCourier;
         g.YAxis().NameFont = ItalicStruckTimes;
         g.Title.Font = ItalicStruckTimes;
         g.Foot.Font = BoldUnderlinedCourier;
         g.Info.Font = ItalicStruckTimes;
     },
     [](TGraph& g) {
         EXPECT_EQ(g.YAxis().Font, BoldUnderlinedCourier);
         EXPECT_EQ(g.YAxis().NameFont, ItalicStruckTimes);
         EXPECT_EQ(g.Title.Font, ItalicStruckTimes);
         EXPECT_EQ(g.Foot.Font, BoldUnderlinedCourier);
         EXPECT_EQ(g.Info.Font, ItalicStruckTimes);
     }},
    {"ticks",
     [](TGraph& g) {
         g.YAxis().Ticks = {tdIN, false, false, 7, 3};
     },
     [](TGraph& g) {
         EXPECT_EQ(g.YAxis().Ticks, (TAxisTicks{tdIN, false, false, 7, 3}));
     }},
    {"titles",
     [](TGraph& g) {
         g.Title.Text = "f(x)=sin(x)";
         g.Title.Style = tsRaised;
         g.Title.Alignment = taRightJustify;
         g.Foot.Text = "foot";
         g.Foot.Visible = false;
         g.Foot.Style = tsLowered;
         g.Foot.Alignment = taLeftJustify;
     },
     [](TGraph& g) {
         EXPECT_EQ(g.Title.Text, "f(x)=sin(x)");
         EXPECT_EQ(g.Title.Style, tsRaised);
         EXPECT_EQ(g.Title.Alignment, taRightJustify);
         EXPECT_TRUE(g.Title.Visible);
         EXPECT_EQ(g.Foot.Text, "foot");
         EXPECT_FALSE(g.Foot.Visible);
         EXPECT_EQ(g.Foot.Style, tsLowered);
         EXPECT_EQ(g.Foot.Alignment, taLeftJustify);
     }},
    {"frame, picture and gradient",
     [](TGraph& g) {
         g.Frame = {0, clNavy, 3, false};
         g.Picture.Style = psTile;
         g.Picture.Color = clOlive;
         g.Picture.Visible = false;
         g.Gradient = {false, gsLeftRight, clLime, clPurple};
     },
     [](TGraph& g) {
         EXPECT_EQ(g.Frame.Style, 0);
         EXPECT_EQ(g.Frame.Color, clNavy);
         EXPECT_EQ(g.Frame.Width, 3);
         EXPECT_FALSE(g.Frame.Visible);
         EXPECT_EQ(g.Picture.Style, psTile);
         EXPECT_EQ(g.Picture.Color, clOlive);
         EXPECT_FALSE(g.Picture.Visible);
         EXPECT_FALSE(g.Gradient.Visible);
         EXPECT_EQ(g.Gradient.Style, gsLeftRight);
         EXPECT_EQ(g.Gradient.StartColor, clLime);
         EXPECT_EQ(g.Gradient.EndColor, clPurple);
     }},
    {"info and zoom",
     [](TGraph& g) {
         g.Info.Style = isNoBubble;
         g.Info.Position = ipLeftBottom;
         g.Info.Color = clAqua;
         g.Info.Visible = false;
         g.Zoom().Style = zsOut;
         g.Zoom().ZoomAutoStop = true;
         g.Zoom().Steps = 9;
         g.Zoom().Color = clFuchsia;
     },
     [](TGraph& g) {
         EXPECT_EQ(g.Info.Style, isNoBubble);
         EXPECT_EQ(g.Info.Position, ipLeftBottom);
         EXPECT_EQ(g.Info.Color, clAqua);
         EXPECT_FALSE(g.Info.Visible);
         EXPECT_EQ(g.Zoom().Style, zsOut);
         EXPECT_TRUE(g.Zoom().ZoomAutoStop);
         EXPECT_EQ(g.Zoom().Steps, 9);
         EXPECT_EQ(g.Zoom().Color, clFuchsia);
     }},
    {"both legends",
     [](TGraph& g) {
         for (TAbstractLegend* legend :
              {static_cast<TAbstractLegend*>(&g.Legend()), static_cast<TAbstractLegend*>(&g.ColorLegend())}) {
             legend->Style = legend == &g.Legend() ? lsInside : lsBottom;
             legend->BackColor = clSilver;
             legend->ShadowColor = clRed;
             legend->ShadowThickness = 5;
             legend->ShadowVisible = false;
             legend->FrameColor = clGreen;
             legend->FrameThickness = 2;
             legend->FrameStyle = psDashDot;
             legend->FrameVisible = false;
             legend->SetVisible(false);
             legend->TransparentBackGround = true;
         }
     },
     [](TGraph& g) {
         for (TAbstractLegend* legend :
              {static_cast<TAbstractLegend*>(&g.Legend()), static_cast<TAbstractLegend*>(&g.ColorLegend())}) {
             EXPECT_EQ(legend->Style, legend == &g.Legend() ? lsInside : lsBottom);
             EXPECT_EQ(legend->BackColor, clSilver);
             EXPECT_EQ(legend->ShadowColor, clRed);
             EXPECT_EQ(legend->ShadowThickness, 5);
             EXPECT_FALSE(legend->ShadowVisible);
             EXPECT_EQ(legend->FrameColor, clGreen);
             EXPECT_EQ(legend->FrameThickness, 2);
             EXPECT_EQ(legend->FrameStyle, psDashDot);
             EXPECT_FALSE(legend->FrameVisible);
             EXPECT_FALSE(legend->Visible());
             EXPECT_TRUE(legend->TransparentBackGround);
         }
     }},
};

INSTANTIATE_TEST_SUITE_P(EveryKind, GraphSettingsRoundTrip, testing::ValuesIn(RoundTripCases),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

TEST(GraphSettingsFile, WritesTheKeysUnderTheirNames) {
    TGraph graph;
    graph.YAxis().Font.Style = fsBold | fsUnderline;
    graph.XAxis().SetMin(2);
    graph.XAxis().StoreLimits = false;
    TIniFile ini;
    SaveGraphSettings(graph, ini, Section);
    const std::pair<const char*, const char*> expected[] = {
        {"Plot_Saved", "Yes"},
        {"Plot_Color", "16777215"},
        {"Plot_MinLogValue", "1e-10"},
        {"Plot_XAxis_Minimum", "1234321"},
        {"Plot_YAxis_Label_Font_Style", "BU"},
        {"Plot_YAxis_Name_Font_Style", ""},
        {"Plot_Title_Font_Style", "B"},
        {"Plot_Title_Alignment", "2"},
        {"Plot_Zoom_Color", "10940137"},
        {"Plot_Frame_Color", "8421504"},
        {"Plot_Legend_ShadowThickness", "3"},
        {"Plot_Color_Legend_FrameVisible", "1"},
        {"Plot_XAxis_LabelCount", "0"},
        {"Plot_YAxis_Ticks_MajorLength", "4"},
    };
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(ini.ReadString(Section, key, "<missing>"), value) << key;
    }
    EXPECT_EQ(ini.ReadString(Section, "Plot_XAxis2_Name", "<missing>"), "<missing>")
        << "the secondary axes are not saved";
}

TEST(GraphSettingsFile, LimitsThatAreNotStoredClearTheLoadedLimits) {
    TGraph saved;
    saved.YAxis().SetMin(3);
    saved.YAxis().SetMax(4);
    saved.YAxis().StoreLimits = false;
    const TIniFile ini = SavedThroughFile(saved);
    TGraph loaded;
    loaded.YAxis().SetMin(7);
    loaded.YAxis().SetMax(8);
    ASSERT_TRUE(LoadGraphSettings(loaded, ini, Section));
    EXPECT_EQ(loaded.YAxis().Minimum(), MissingValue);
    EXPECT_EQ(loaded.YAxis().Maximum(), MissingValue);
}

TEST(GraphSettingsFile, NothingIsReadWhenTheSectionSaysNo) {
    TIniFile ini;
    ini.WriteString(Section, "Plot_Saved", "No");
    ini.WriteInteger(Section, "Plot_Color", clRed);
    TGraph graph;
    EXPECT_FALSE(LoadGraphSettings(graph, ini, Section));
    EXPECT_EQ(graph.Color, clWhite);
}

TEST(GraphSettingsFile, NothingIsReadFromAMissingSection) {
    TIniFile ini;
    ini.WriteString("Other", "Plot_Saved", "Yes");
    TGraph graph;
    graph.Color = clAqua;
    EXPECT_FALSE(LoadGraphSettings(graph, ini, Section));
    EXPECT_EQ(graph.Color, clAqua);
}

TEST(GraphSettingsFile, MissingKeysKeepTheCurrentValues) {
    TIniFile ini;
    ini.WriteString(Section, "Plot_Saved", "Yes");
    ini.WriteString(Section, "Plot_Title_Font_Name", "Times New Roman");
    TGraph graph;
    graph.Title.Font.Style = fsItalic;
    graph.Title.Text = "kept";
    graph.YAxis().SetMin(5);
    graph.YAxis().StoreLimits = true;
    ASSERT_TRUE(LoadGraphSettings(graph, ini, Section));
    EXPECT_EQ(graph.Title.Font.Name, "Times New Roman");
    EXPECT_EQ(graph.Title.Font.Style, unsigned(fsItalic)) << "a missing style keeps the style";
    EXPECT_EQ(graph.Title.Text, "kept");
    EXPECT_EQ(graph.YAxis().Minimum(), 5);
}

TEST(GraphSettingsFile, FontStyleLettersSetExactlyTheirStyles) {
    const std::pair<const char*, unsigned> cases[] = {
        {"", 0u},
        {"B", fsBold},
        {"IS", fsItalic | fsStrikeOut},
        {"SUIB", fsBold | fsItalic | fsUnderline | fsStrikeOut}};
    for (const auto& [letters, style] : cases) {
        TIniFile ini;
        ini.WriteString(Section, "Plot_Saved", "Yes");
        ini.WriteString(Section, "Plot_Foot_Font_Style", letters);
        TGraph graph;
        graph.Foot.Font.Style = fsUnderline;
        ASSERT_TRUE(LoadGraphSettings(graph, ini, Section));
        EXPECT_EQ(graph.Foot.Font.Style, style) << '"' << letters << '"';
    }
}

TEST(GraphSettingsFile, ReadsDecimalCommas) {
    TIniFile ini;
    ini.WriteString(Section, "Plot_Saved", "Yes");
    ini.WriteString(Section, "Plot_Exaggerate", "2,5");
    TGraph graph;
    ASSERT_TRUE(LoadGraphSettings(graph, ini, Section));
    EXPECT_EQ(graph.Exaggerate, 2.5);
}

struct TDamagedCase {
    const char* Key;
    const char* Text;
};

class GraphSettingsDamaged : public testing::TestWithParam<TDamagedCase> {};

/// Everything the damaged keys could touch, compared before and after loading.
std::string Snapshot(TGraph& g) {
    std::ostringstream s;
    s << g.Color << ' ' << g.Exaggerate << ' ' << g.MinimumLogValue << ' ' << g.View3D() << ' '
      << g.XAxis().Minimum() << ' ' << g.XAxis().StoreLimits << ' ' << g.XAxis().UserLabels.size() << ' '
      << g.XAxis().Font.Size << ' ' << g.XAxis().Ticks.Direction << ' ' << g.Title.Alignment << ' '
      << g.Legend().Style << ' ' << g.Info.Position << ' ' << g.Zoom().Steps << ' ' << g.Frame.Color << ' '
      << g.Gradient.Style << ' ' << g.XAxis().Log();
    return s.str();
}

TEST_P(GraphSettingsDamaged, KeepTheCurrentValue) {
    const TDamagedCase& c = GetParam();
    TIniFile ini;
    ini.WriteString(Section, "Plot_Saved", "Yes");
    ini.WriteString(Section, c.Key, c.Text);
    TGraph graph;
    graph.XAxis().UserLabels = {{"one", 1}};
    const std::string before = Snapshot(graph);
    ASSERT_TRUE(LoadGraphSettings(graph, ini, Section));
    EXPECT_EQ(Snapshot(graph), before) << c.Key << '=' << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    UnreadableOrOutOfRange, GraphSettingsDamaged,
    testing::Values(TDamagedCase{"Plot_Color", "red"}, TDamagedCase{"Plot_Color", "16777216"},
                    TDamagedCase{"Plot_Exaggerate", "abc"}, TDamagedCase{"Plot_Exaggerate", "1.5.2"},
                    TDamagedCase{"Plot_MinLogVAlue", "nan"}, TDamagedCase{"Plot_MinLogVAlue", "1e999"},
                    TDamagedCase{"Plot_View3D", "x"}, TDamagedCase{"Plot_XAxis_Minimum", "--1"},
                    TDamagedCase{"Plot_XAxis_LabelCount", "-3"},
                    TDamagedCase{"Plot_XAxis_LabelCount", "many"},
                    TDamagedCase{"Plot_XAxis_Label_Font_Size", "0"},
                    TDamagedCase{"Plot_XAxis_Ticks_Direction", "2"}, TDamagedCase{"Plot_XAxis_Log", "yes"},
                    TDamagedCase{"Plot_Title_Alignment", "-1"}, TDamagedCase{"Plot_Legend_Style", "5"},
                    TDamagedCase{"Plot_Info_Position", "6"}, TDamagedCase{"Plot_Zoom_Steps", "0"},
                    TDamagedCase{"Plot_Frame_Color", "-2"}, TDamagedCase{"Plot_Gradient_Style", "3"}));

} // namespace
} // namespace mirla
