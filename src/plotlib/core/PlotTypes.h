#pragma once

#include <cstdint>
#include <string>

namespace mirla {

/// A colour as the settings files store it: an integer $00BBGGRR (red in the low byte).
/// -1 stands for "no colour" (what `FreeColor` gives when every colour is taken).
using TColor = std::int32_t;

/// Builds a colour from its red, green and blue parts (0 to 255 each).
constexpr TColor RgbColor(int red, int green, int blue) { return red | (green << 8) | (blue << 16); }
/// The red part of a colour.
constexpr int RedOf(TColor color) { return color & 0xFF; }
/// The green part of a colour.
constexpr int GreenOf(TColor color) { return (color >> 8) & 0xFF; }
/// The blue part of a colour.
constexpr int BlueOf(TColor color) { return (color >> 16) & 0xFF; }

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
/// The face colour of buttons and dialogs, the default surface around the plot area.
inline constexpr TColor clBtnFace = 0xF0F0F0;

/// A limit that is not set; also what a value that cannot be computed becomes.
inline constexpr double MissingValue = 1234321.0;

/// A rectangle in world units of one axis pair.
struct TWorldRect {
    double XMin = 0;
    double YMin = 0;
    double XMax = 1;
    double YMax = 1;
    bool operator==(const TWorldRect&) const = default;
};

/// A rectangle in pixels of the drawing surface (Right and Bottom are the last column and row).
struct TPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TPixelRect&) const = default;
};

/// Font styles as the letters B, I, U, S of the settings files.
enum TFontStyleFlag : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

/// A font as the plot keeps and stores it.
struct TFontSpec {
    std::string Name = "Arial";
    int Size = 8;
    TColor Color = clBlack;
    int CharSet = 1;
    unsigned Style = 0; ///< a combination of TFontStyleFlag
    bool operator==(const TFontSpec&) const = default;
};

/// Pen styles of lines, frames and series, in the order the settings files store them.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

/// Text alignment of titles.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
/// Look of a title.
enum TTitleStyle { tsNormal, tsLowered, tsRaised };
/// Shape of the info bubble.
enum TInfoStyle { isRoundRect, isRectangle, isNoBubble };
/// Where the info bubble sits.
enum TInfoPosition { ipRightTop, ipTopCenter, ipLeftTop, ipRightBottom, ipBottomCenter, ipLeftBottom };
/// How the background picture is placed.
enum TPictureStyle { psStretch, psFix, psTile, psAsIsInside };
/// Direction of the animated zoom.
enum TZoomStyle { zsIn, zsOut };
/// Where a legend is placed.
enum TLegendStyle { lsRight, lsLeft, lsBottom, lsTop, lsInside };
/// Background gradient direction.
enum TGradientStyle { gsNone, gsLeftRight, gsTopBottom };
/// Arrangement of several bar series.
enum TBarStyle { bsClustered, bsZOrdered, bsStacked, bs100Stacked };
/// How axis labels are written.
enum TAxisLabelStyle { asFloat, asDate, asInteger };
/// Direction of axis label text.
enum TAxisLabelDirection { adHorizontal, adVertical };
/// An axis at the edge of the plot area or crossing it.
enum TAxisLocation { alOutside, alInside };
/// Ticks pointing out of or into the plot area.
enum TTicksDirection { tdOut, tdIN };
/// Entries of the graph's own popup menu.
enum TPopupMenuItem { piProperties, piCopyToClipboard, piPrint, piSaveAs, piHelp, piZoomIn, piZoomOut };

/// The 53 marker shapes; the second 26 (suffix 1) are the filled twins of the first.
enum TMarkerStyle {
    msNone,
    msRect,
    msCircle,
    msTriangleUp,
    msTriangleDn,
    msCrest,
    msCross,
    msStar,
    msDiamond,
    msRectDiag,
    msConcaveRect,
    msCircleCircle,
    msCircleDiamond,
    msHalfCircle,
    msCircleCrest,
    msCrestCircle,
    ms4Star,
    ms5Star,
    ms6Star,
    ms4StarCircle,
    ms5StarCircle,
    ms6StarCircle,
    msCircle4Star,
    msCircle5Star,
    msCircle6Star,
    msWell,
    msWisker,
    msRect1,
    msCircle1,
    msTriangleUp1,
    msTriangleDn1,
    msCrest1,
    msCross1,
    msStar1,
    msDiamond1,
    msRectDiag1,
    msConcaveRect1,
    msCircleCircle1,
    msCircleDiamond1,
    msHalfCircle1,
    msCircleCrest1,
    msCrestCircle1,
    ms4Star1,
    ms5Star1,
    ms6Star1,
    ms4StarCircle1,
    ms5StarCircle1,
    ms6StarCircle1,
    msCircle4Star1,
    msCircle5Star1,
    msCircle6Star1,
    msWell1,
    msWisker1
};
/// Number of marker shapes, msNone included.
inline constexpr int MarkerStyleCount = 53;

/// Style codes of a series.
enum TSeriesStyle {
    ssPoints = 1,
    ssLine = 2,
    ssLineAndPoint = 3,
    ssVolume = 4,
    ssPiecewiseConstant = 5,
    ssArea = 6,
    ssBar = 7,
    ssMatrix = 8,
    ssPerPoint = 9
};

} // namespace mirla
