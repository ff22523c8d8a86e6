#include "plotlib/core/Dxf.h"
#include "plotlib/core/LayerText.h"

#include <gtest/gtest.h>

#include <string>

namespace mirla {
namespace {

TEST(DxfText, ColorNumbers) {
    struct TCase {
        TColor Color;
        int Expected;
    };
    const TCase cases[] = {{clBlack, 0},  {-1, 0},       {clMaroon, 1}, {clRed, 1},     {clOlive, 2},
                           {clYellow, 2}, {clGreen, 3},  {clLime, 3},   {clTeal, 4},    {clAqua, 4},
                           {clNavy, 5},   {clBlue, 5},   {clPurple, 6}, {clFuchsia, 6}, {clWhite, 7},
                           {clGray, 8},   {clSilver, 8}, {0x123456, 8}};
    for (const TCase& c : cases)
        EXPECT_EQ(DxfColor(c.Color), c.Expected) << std::hex << c.Color;
}

TEST(DxfText, LayerNames) {
    EXPECT_EQ(DxfLayerName("a b/c"), "A_B_C");
    EXPECT_EQ(DxfLayerName("f(x^2)"), "F(X^2)");
}

TEST(DxfText, EntitiesInEachMode) {
    struct TCase {
        int Mode;
        std::string Expected;
    };
    const TCase cases[] = {
        {0, "LINE,1\n1.0000,2.0000,3.5000,-4.0000\n"},
        {1, "0\nLINE\n8\nA_B\n 62\n     1\n10\n1.0000\n20\n2.0000\n11\n3.5000\n21\n-4.0000\n"},
        {2, "0\nLINE\n8\nA_B\n 62\n     "
            "1\n10\n1.0000\n20\n2.0000\n30\n0.0000\n11\n3.5000\n21\n-4.0000\n31\n0.0000\n"},
        {3, "10\n1.0000,2.0000\n3.5000,-4.0000\nEND\n"},
    };
    for (const TCase& c : cases) {
        TDXF dxf;
        dxf.Mode = c.Mode;
        dxf.Line("a b", clRed, 1, 2, 3.5, -4);
        EXPECT_EQ(dxf.Text(), "") << "inactive, mode " << c.Mode;
        dxf.Active = true;
        dxf.Line("a b", clRed, 1, 2, 3.5, -4);
        EXPECT_EQ(dxf.Text(), c.Expected) << "mode " << c.Mode;
    }
}

TEST(DxfText, SolidCircleAndDocument) {
    TDXF dxf;
    dxf.Active = true;
    dxf.FilledRect("bars", clBlue, 1, 2, 3, 4.5);
    EXPECT_EQ(dxf.Text(),
              "  0\nSOLID\n  8\nBARS\n 62\n     5\n 10\n1\n 20\n4.5\n 11\n1\n 21\n2\n 12\n3\n 22\n4.5\n"
              " 13\n3\n 23\n2\n");
    dxf.Circle("", clWhite, 10, 20, 2);
    EXPECT_NE(
        dxf.Text().find("0\nCIRCLE\n8\n0\n 62\n     7\n10\n10.0000\n20\n20.0000\n30\n0.0000\n40\n2.0000\n"),
        std::string::npos);
    const std::string document = DxfDocument(dxf);
    EXPECT_TRUE(document.starts_with("0\nSECTION\n2\nHEADER\n"));
    EXPECT_TRUE(document.ends_with(dxf.Text() + "0\nENDSEC\n0\nEOF\n"));
    EXPECT_NE(document.find("$EXTMIN\n10\n1.0000\n20\n2.0000\n"), std::string::npos);
    EXPECT_NE(document.find("$EXTMAX\n10\n12.0000\n20\n22.0000\n"), std::string::npos);
    EXPECT_NE(document.find("2\nLAYER\n70\n2\n0\nLAYER\n2\nBARS\n"), std::string::npos);
}

TEST(LayerTextTest, HeaderRoundTripAndFaults) {
    const TLayerHeader header{"TSeries", clBlue, true, 3, true, 0.7, false, "f(x) = a b "};
    std::string text;
    WriteLayerHeader(text, header);
    EXPECT_EQ(text, "TSeries\n16711680 1 3 1 0.7 0 f(x) = a b \nTSeries\n");
    TLayerTextReader reader(text);
    TLayerHeader read = ReadLayerHeader(reader);
    CheckLayerClass(reader, "TSeries");
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(read.Name, "f(x) = a b");
    read.Name = header.Name;
    EXPECT_EQ(read, header);
    std::string broken;
    WriteLayerHeader(broken, {"TSeries", 0, true, 0, false, 0, false, "two\nlines"});
    EXPECT_EQ(broken, "TSeries\n0 1 0 0 0 0 two lines\nTSeries\n");

    struct TCase {
        const char* Text;
        int Line;
    };
    const TCase faults[] = {
        {"TSeries\n1 1 3 1 x 0 name\nTSeries\n", 2},
        {"TSeries\n1 1 3\nTSeries\n", 2},
        {"TSeries\n1 1 3 1 0 0 n\nTContour\n", 3},
        {"TSeries\n", 2},
    };
    for (const TCase& c : faults) {
        TLayerTextReader bad(c.Text);
        try {
            ReadLayerHeader(bad);
            CheckLayerClass(bad, "TSeries");
            ADD_FAILURE() << c.Text;
        } catch (const TLayerTextError& error) {
            EXPECT_EQ(error.Line(), c.Line) << c.Text;
        }
    }
}

} // namespace
} // namespace mirla
