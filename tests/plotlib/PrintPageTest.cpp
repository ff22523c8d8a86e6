#include "plotlib/PrintPage.h"

#include "plotlib/Graph.h"
#include "runtime/IniFile.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace mirla {
namespace {

// At 254 dots per inch a millimetre is 10 dots.
constexpr int Dpi = 254;
constexpr int DotsPerMetre = 10000;

bool IsDark(QRgb pixel) {
    return qGray(pixel) < 128;
}

/// Whether a dark pixel lies within `reach` pixels of (x, y): frames are thin and antialiased.
bool DarkNear(const QImage& image, int x, int y, int reach = 2) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (image.valid(x + dx, y + dy) && IsDark(image.pixel(x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

TEST(PrintSettings, MarginsAndUnitsRoundTripThroughThePrintSection) {
    TIniFile ini;
    EXPECT_EQ(ReadPrintMargins(ini), TPrintMargins{});
    WritePrintMargins(ini, {30, 15, 12, 8, 2.54});
    EXPECT_EQ(ini.ReadString("Print", "Units", ""), "2.54");
    EXPECT_EQ(ReadPrintMargins(ini), (TPrintMargins{30, 15, 12, 8, 2.54}));
    ini.WriteString("Print", "Units", "wide");
    ini.WriteString("Print", "Top", "wide");
    ini.WriteInteger("Print", "Bottom", -5);
    const TPrintMargins damaged = ReadPrintMargins(ini);
    EXPECT_EQ(damaged.Units, 25.4) << "unreadable units keep the default";
    EXPECT_EQ(damaged.Top, 10) << "an unreadable margin keeps its default";
    EXPECT_EQ(damaged.Bottom, 10) << "a negative margin keeps its default";
    EXPECT_EQ(damaged.Left, 30);
}

TEST(PrintSettings, TitleBlocksComeFromTheirSectionsOrTheHost) {
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const std::string picturePath = dir.filePath(QStringLiteral("logo.png")).toStdString();
    ASSERT_TRUE(picture.save(QString::fromStdString(picturePath)));

    TIniFile ini;
    TPrintLogo owner;
    owner.Section = "Owner LOGO";
    owner.Lines = {"ACME", "Lab 2"};
    owner.Font = {"Courier", 14, 255, 1, fsBold | fsItalic};
    owner.Justify = ljCenter;
    owner.SetImageFile(picturePath);
    owner.Write(ini);
    EXPECT_EQ(ini.ReadString("Owner LOGO", "FontStyle", ""), "BI");
    ini.WriteString("Project LOGO", "LogoImage", dir.filePath(QStringLiteral("missing.bmp")).toStdString());

    TPrintTexts texts;
    texts.SystemLines = {"Mirla", "2", "3", "4", "5", "6", "7"};
    texts.ProjectLines = {"Default project"};
    const auto blocks = ReadTitleBlocks(ini, texts);
    const TPrintLogo& readOwner = blocks[static_cast<std::size_t>(TTitleBlock::CompanyLogo)];
    EXPECT_EQ(readOwner.Lines, owner.Lines);
    EXPECT_EQ(readOwner.Font, owner.Font);
    EXPECT_EQ(readOwner.Justify, ljCenter);
    EXPECT_EQ(readOwner.Image().size(), QSize(40, 20));
    const TPrintLogo& project = blocks[static_cast<std::size_t>(TTitleBlock::ProjectTitle)];
    EXPECT_TRUE(project.Image().isNull()) << "a missing bitmap leaves the block with text only";
    EXPECT_EQ(project.Lines, texts.ProjectLines) << "without stored lines the host's are used";
    EXPECT_EQ(blocks[static_cast<std::size_t>(TTitleBlock::ProgramTitle)].Lines.size(), MaxHostLines);
    EXPECT_EQ(blocks[static_cast<std::size_t>(TTitleBlock::PlotDescription)].Font,
              (TFontSpec{"Arial", 10, 0, 1, 0}));
}

/// A page of A4 at 254 dpi with the program and description blocks.
TPageSetup TwoBlockSetup() {
    TPageSetup setup;
    setup.Ticked = {true, false, false, true};
    setup.Blocks[0].Lines = {"Mirla"};
    return setup;
}

TEST(PrintPage, GraphsShareThePlotAndBlocksTakeTheBand) {
    TGraph upper;
    TGraph lower;
    upper.Color = RgbColor(0, 200, 0);
    lower.Color = RgbColor(0, 0, 200);
    TPageSetup setup = TwoBlockSetup();
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QTemporaryDir dir;
    const QString picturePath = dir.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(picture.save(picturePath));
    setup.Blocks[3].SetImageFile(picturePath.toStdString());

    QImage page(2100, 2970, QImage::Format_RGB32);
    page.setDotsPerMeterX(DotsPerMetre);
    page.setDotsPerMeterY(DotsPerMetre);
    page.fill(QColor(128, 128, 128));
    QPainter painter(&page);
    DrawPrintPage(painter, page.size(), Dpi, setup, {&upper, &lower});
    painter.end();

    // Plot (250, 100)-(1900, 2720): two cells stacked, split at row 1410.
    EXPECT_EQ(page.pixel(1075, 800), qRgb(0, 200, 0));
    EXPECT_EQ(page.pixel(1075, 2100), qRgb(0, 0, 200));
    EXPECT_TRUE(DarkNear(page, 250, 1400)) << "plot outline";
    EXPECT_TRUE(DarkNear(page, 600, 2870)) << "program block outline";
    EXPECT_EQ(page.pixel(1500, 2740), qRgb(255, 255, 255)) << "description block filled white";
    // The 20-pixel bitmap in a 150-dot block is drawn at four times its size, centred vertically.
    EXPECT_EQ(page.pixel(1075 + 80, 2795), qRgb(255, 0, 0));
    EXPECT_NE(page.pixel(1075 + 170, 2795), qRgb(255, 0, 0));
    EXPECT_EQ(page.pixel(100, 100), qRgb(128, 128, 128)) << "the margin stays untouched";
}

TEST(PrintPage, PdfHoldsThePlotAndBlockRectangles) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    TGraph graph;
    ASSERT_TRUE(PrintPage(printer, TwoBlockSetup(), {&graph}));

    // Rendered at 254 dpi, a millimetre is 10 pixels again.
    ASSERT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-png"),
                                 QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))}),
              0);
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    // The PDF's page size in points rounds to within a pixel of A4.
    ASSERT_NEAR(page.width(), 2100, 1);
    ASSERT_NEAR(page.height(), 2970, 1);
    EXPECT_TRUE(DarkNear(page, 250, 1400)) << "plot left edge";
    EXPECT_TRUE(DarkNear(page, 1900, 1400)) << "plot right edge";
    EXPECT_TRUE(DarkNear(page, 1000, 100)) << "plot top edge";
    EXPECT_TRUE(DarkNear(page, 1000, 2720)) << "plot bottom edge on the blocks";
    EXPECT_TRUE(DarkNear(page, 1075, 2800)) << "line between the blocks";
    EXPECT_TRUE(DarkNear(page, 1500, 2870)) << "blocks' bottom edge";
    EXPECT_FALSE(DarkNear(page, 150, 1400)) << "left margin";
    EXPECT_FALSE(DarkNear(page, 1000, 2920)) << "bottom margin";
}

} // namespace
} // namespace mirla
