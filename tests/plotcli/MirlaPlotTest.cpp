// mirla-plot run as a user runs it: the files it writes are read back and probed.

#include "cli/MirlacProcess.h"

#include <QGuiApplication>
#include <QImage>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace mirla::test {
namespace {

namespace fs = std::filesystem;

TRunResult RunPlot(const std::vector<std::string>& args) {
    return RunMirlac(args, "", MIRLA_PLOT_PATH);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

/// Pixels of `image` darker than mid grey: lines and labels.
int DarkPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
        }
    }
    return count;
}

/// Pixels of `image` that are neither white nor grey: the curves' and maps' colours.
int ColouredPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.saturation() > 80 ? 1 : 0;
        }
    }
    return count;
}

/// The LINE entities of a DXF file, counted by layer, as a DXF reader of its own sees them.
std::map<std::string, int> DxfLinesByLayer(const std::string& dxf) {
    class TLines : public DL_CreationAdapter {
    public:
        void addLine(const DL_LineData&) override { ++Lines[getAttributes().getLayer()]; }
        std::map<std::string, int> Lines;
    } lines;
    std::stringstream stream(dxf);
    DL_Dxf reader;
    EXPECT_TRUE(reader.in(stream, &lines));
    return lines.Lines;
}

class MirlaPlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("mirla-plot-test-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const std::string& name) const { return (m_dir / name).string(); }
    /// Names of the files in the test folder.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    fs::path m_dir;
};

TEST_F(MirlaPlotTest, WritesEveryPictureFormatOfTheCurves) {
    using namespace std::literals;
    struct Case {
        const char* Name;
        std::string_view Magic; ///< the file's first bytes
    };
    const Case cases[] = {{"plot.png", "\x89PNG"sv},
                          {"plot.BMP", "BM"sv},
                          {"plot.svg", "<?xml"sv},
                          {"plot.pdf", "%PDF"sv},
                          {"plot.wmf", "\xD7\xCD\xC6\x9A"sv},
                          {"plot.emf", "\x01\0\0\0"sv}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRunResult run = RunPlot(
            {"--angle=rad", "--x=-5:5:400", "--size=320x200", "sin(X)", "X^2/10", "-o", Path(c.Name)});
        ASSERT_EQ(run.ExitStatus, 0) << run.Err;
        const std::string bytes = ReadFile(Path(c.Name));
        EXPECT_EQ(bytes.substr(0, c.Magic.size()), c.Magic);
    }
    for (const char* name : {"plot.png", "plot.BMP"}) {
        const QImage image(QString::fromStdString(Path(name)));
        EXPECT_EQ(image.size(), QSize(320, 200)) << name;
        EXPECT_GT(ColouredPixels(image), 200) << name << ": the two curves are drawn";
    }
    EXPECT_NE(ReadFile(Path("plot.svg")).find("<path"), std::string::npos);
}

TEST_F(MirlaPlotTest, AnEvaluationErrorNamesTheExpressionAndWritesNothing) {
    const TRunResult run = RunPlot({"--x=-1:1:3", "X", "1/X", "-o", Path("plot.png")});
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_EQ(run.Err, "error: Division by zero: position 3 in 1/X\n");
    EXPECT_TRUE(Files().empty()) << "no picture and no temporary file are left";
    // Four points step over zero: the same curve then draws.
    EXPECT_EQ(RunPlot({"--x=-1:1:4", "1/X", "-o", Path("plot.png")}).ExitStatus, 0);
}

TEST_F(MirlaPlotTest, DrawsContourAndShadedMaps) {
    const std::vector<std::string> map{"--angle=rad",    "--x=-3:3:60", "--y=-3:3:60",
                                       "--size=300x240", "--no-legend", "sin(X)*cos(Y)"};
    const auto run = [&](std::vector<std::string> options, const std::string& name) {
        options.insert(options.end(), map.begin(), map.end());
        options.insert(options.end(), {"-o", Path(name)});
        return RunPlot(options);
    };
    ASSERT_EQ(run({"--contour", "--levels=4"}, "few.png").ExitStatus, 0);
    ASSERT_EQ(run({"--contour", "--levels=12"}, "many.png").ExitStatus, 0);
    ASSERT_EQ(run({"--shade"}, "shade.png").ExitStatus, 0);
    const QImage few(QString::fromStdString(Path("few.png")));
    const QImage many(QString::fromStdString(Path("many.png")));
    const QImage shade(QString::fromStdString(Path("shade.png")));
    EXPECT_GT(DarkPixels(many), DarkPixels(few) * 2) << "more levels draw more lines";
    EXPECT_GT(ColouredPixels(shade), shade.width() * shade.height() / 3) << "the map is filled with colour";
    // |comp(X,Y)| is the distance from the origin: its traced levels are circles around it.
    const TRunResult complex = RunPlot({"--contour", "--complex", "--levels=3", "--x=-2:2:41", "--y=-2:2:41",
                                        "--format=txt", "comp(X,Y)", "-o", "-"});
    ASSERT_EQ(complex.ExitStatus, 0) << complex.Err;
    EXPECT_NE(complex.Out.find("TSeries\n"), std::string::npos);
}

TEST_F(MirlaPlotTest, WritesTheLayersAsTextAndTheDrawingAsDxf) {
    ASSERT_EQ(RunPlot({"--x=0:2:3", "X^2", "-o", Path("curve.txt")}).ExitStatus, 0);
    const std::vector<std::string> lines = SplitLines(ReadFile(Path("curve.txt")));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "TSeries");
    EXPECT_EQ(lines[4], "3");
    EXPECT_TRUE(lines[6].starts_with("1 1 ")) << lines[6];
    EXPECT_TRUE(lines[7].starts_with("2 4 ")) << lines[7];

    ASSERT_EQ(RunPlot({"--contour", "--angle=rad", "--levels=5", "--x=-3:3:30", "--y=-3:3:30",
                       "sin(X)*cos(Y)", "-o", Path("map.dxf")})
                  .ExitStatus,
              0);
    const std::map<std::string, int> dxfLines = DxfLinesByLayer(ReadFile(Path("map.dxf")));
    // The map's lines lie on a layer of its name, the axes and frame on the base layer.
    ASSERT_TRUE(dxfLines.contains("SIN(X)*COS(Y)"));
    EXPECT_GT(dxfLines.at("SIN(X)*COS(Y)"), 100);
    EXPECT_GT(dxfLines.at("0"), 4);
}

TEST_F(MirlaPlotTest, AMapThatCannotBeCalculatedWritesNothing) {
    const TRunResult run = RunPlot({"--shade", "--x=-1:1:3", "--y=-1:1:3", "1/(X*Y)", "-o", Path("map.png")});
    EXPECT_EQ(run.ExitStatus, 1);
    EXPECT_NE(run.Err.find("error: Division by zero"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("in 1/(X*Y)"), std::string::npos) << run.Err;
    EXPECT_TRUE(Files().empty());
}

TEST_F(MirlaPlotTest, WritesSvgToStandardOutput) {
    const TRunResult run = RunPlot({"X", "-o", "-"});
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    EXPECT_TRUE(run.Out.starts_with("<?xml"));
    EXPECT_NE(run.Out.find("</svg>"), std::string::npos);
}

TEST_F(MirlaPlotTest, RefusesBadUsageWithStatusTwo) {
    struct Case {
        std::vector<std::string> Args;
        const char* Message;
    };
    const Case cases[] = {
        {{"X"}, "no output file: give -o FILE"},
        {{"-o", "plot.png"}, "no expression to plot"},
        {{"--x=5:5", "X", "-o", "plot.png"}, "invalid value: --x=5:5"},
        {{"--x=0:1:1", "X", "-o", "plot.png"}, "invalid value: --x=0:1:1"},
        {{"--x=0:200000", "X", "-o", "plot.png"}, "invalid value: --x=0:200000"},
        {{"--palette=8", "X", "-o", "plot.png"}, "invalid value: --palette=8"},
        {{"--size=0x10", "X", "-o", "plot.png"}, "invalid value: --size=0x10"},
        {{"--frobnicate", "X", "-o", "plot.png"}, "unknown option or missing value: --frobnicate"},
        {{"--complex", "X", "-o", "plot.png"}, "--complex plots |f(X+Yi)| as a map"},
        {{"X", "-o", "plot.gif"}, "unknown output format"},
        {{"X", "-o"}, "-o needs a file name"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.Args;
        for (std::string& arg : args) {
            if (arg == "plot.png" || arg == "plot.gif") {
                arg = Path(arg);
            }
        }
        const TRunResult run = RunPlot(args);
        EXPECT_EQ(run.ExitStatus, 2) << c.Message;
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
    }
    EXPECT_TRUE(Files().empty());
    const TRunResult help = RunPlot({"--help"});
    EXPECT_EQ(help.ExitStatus, 0);
    for (const char* option : {"--x=", "--contour", "--shade", "--settings=", "--log-y", "-o FILE"}) {
        EXPECT_NE(help.Out.find(option), std::string::npos) << option;
    }
}

TEST_F(MirlaPlotTest, TakesTheLookFromASettingsFile) {
    std::ofstream(Path("Mirla.ini")) << "[fmPlot2DChart]\nPlot_Saved=Yes\nPlot_Color=255\n";
    const TRunResult run =
        RunPlot({"--settings=" + Path("Mirla.ini"), "--size=400x300", "X", "-o", Path("plot.png")});
    ASSERT_EQ(run.ExitStatus, 0) << run.Err;
    const QImage image(QString::fromStdString(Path("plot.png")));
    int red = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            red += image.pixelColor(x, y) == QColor(Qt::red) ? 1 : 0;
        }
    }
    // The plot area is red: its colour came from the file.
    EXPECT_GT(red, image.width() * image.height() / 4);
    EXPECT_EQ(RunPlot({"--settings=" + Path("missing.ini"), "X", "-o", Path("other.png")}).ExitStatus, 2);
}

} // namespace
} // namespace mirla::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
