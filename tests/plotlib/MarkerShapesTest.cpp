#include "plotlib/MarkerShapes.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace mirla {
namespace {

constexpr int ImageSide = 40;
constexpr int CentrePixel = 20;
const QColor LineColor(0, 0, 255);
const QColor FillColor(255, 0, 0);
const QColor Background(255, 255, 255);

/// The first outline shape, the last outline shape and the offset of a filled twin from its outline twin.
constexpr int FirstShape = msRect;
constexpr int LastOutlineShape = msWisker;
constexpr int TwinOffset = msRect1 - msRect;

QImage DrawMarker(int style, double size) {
    QImage image(ImageSide, ImageSide, QImage::Format_RGB32);
    image.fill(Background);
    QPainter painter(&image);
    DrawMarkerShape(painter, static_cast<TMarkerStyle>(style), QPointF(CentrePixel, CentrePixel), size,
                    LineColor, FillColor);
    return image;
}

/// The smallest pixel rectangle holding every pixel for which `select` holds; empty when there is none.
template <typename Select> QRect PixelBounds(const QImage& image, Select select) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (select(image.pixelColor(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int CountPixels(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

TEST(MarkerShapes, EveryStyleStaysInItsBoxAndReachesItsEdge) {
    for (double size : {4.0, 8.0, 12.0}) {
        const int half = static_cast<int>(size);
        // One pixel of slack on each side for the rounding of aliased edges.
        const QRect box(CentrePixel - half - 1, CentrePixel - half - 1, 2 * half + 3, 2 * half + 3);
        for (int style = FirstShape; style < MarkerStyleCount; ++style) {
            SCOPED_TRACE(MarkerStyleName(static_cast<TMarkerStyle>(style)).toStdString() + " size " +
                         std::to_string(half));
            const QImage image = DrawMarker(style, size);
            const QRect painted = PixelBounds(image, [](const QColor& c) { return c != Background; });
            const QRect lines = PixelBounds(image, [](const QColor& c) { return c == LineColor; });
            ASSERT_FALSE(lines.isEmpty());
            EXPECT_TRUE(box.contains(painted)) << "painted " << painted.left() << ".." << painted.right()
                                               << ", " << painted.top() << ".." << painted.bottom();
            // The five-pointed stars are a little narrower than their box (1.9 times the size).
            EXPECT_GE(std::max(lines.width(), lines.height()), 1.8 * size);
        }
    }
}

TEST(MarkerShapes, SizeFourSquareAndCircleSpanNinePixels) {
    for (int style : {msRect, msCircle, msRect1, msCircle1}) {
        SCOPED_TRACE(MarkerStyleName(static_cast<TMarkerStyle>(style)).toStdString());
        const QRect lines = PixelBounds(DrawMarker(style, 4), [](const QColor& c) { return c == LineColor; });
        EXPECT_EQ(lines.width(), 9);
        EXPECT_EQ(lines.height(), 9);
        EXPECT_EQ(lines.center(), QPoint(CentrePixel, CentrePixel));
    }
}

TEST(MarkerShapes, NoneAndUnknownStylesDrawNothing) {
    for (int style : {static_cast<int>(msNone), -1, MarkerStyleCount, 1000}) {
        SCOPED_TRACE(style);
        EXPECT_EQ(CountPixels(DrawMarker(style, 8), Background), ImageSide * ImageSide);
    }
}

TEST(MarkerShapes, OnlyFilledTwinsUseTheFillColour) {
    for (int style = FirstShape; style <= LastOutlineShape; ++style) {
        SCOPED_TRACE(MarkerStyleName(static_cast<TMarkerStyle>(style)).toStdString());
        EXPECT_EQ(CountPixels(DrawMarker(style, 8), FillColor), 0);
        EXPECT_GT(CountPixels(DrawMarker(style + TwinOffset, 8), FillColor), 0);
    }
}

/// A pixel inside each shape (offset from the centre at size 8) that the outline twin leaves clear.
struct TFillProbe {
    TMarkerStyle Style;
    int Dx;
    int Dy;
};

// The centre itself is inside the closed shapes; shapes with lines through the centre are probed
// between their lines: Crest between the arms, Cross and Star beside the centre, RectDiag between the
// diagonals, CircleCrest in a quarter of the circle, Wisker beside its upright line inside the filled box.
const TFillProbe FillProbes[] = {
    {msRect, 0, 0},        {msCircle, 0, 0},      {msTriangleUp, 0, 0},   {msTriangleDn, 0, 0},
    {msCrest, 1, 1},       {msCross, 0, 1},       {msStar, 2, 0},         {msDiamond, 0, 0},
    {msRectDiag, 0, 4},    {msConcaveRect, 0, 0}, {msCircleCircle, 0, 0}, {msCircleDiamond, 0, 0},
    {msHalfCircle, 0, 0},  {msCircleCrest, 3, 3}, {msCrestCircle, 0, 0},  {ms4Star, 0, 0},
    {ms5Star, 0, 0},       {ms6Star, 0, 0},       {ms4StarCircle, 0, 0},  {ms5StarCircle, 0, 0},
    {ms6StarCircle, 0, 0}, {msCircle4Star, 0, 0}, {msCircle5Star, 0, 0},  {msCircle6Star, 0, 0},
    {msWell, 0, 0},        {msWisker, 2, 0},
};

TEST(MarkerShapes, FilledTwinFillsWhereOutlineTwinIsClear) {
    for (const TFillProbe& probe : FillProbes) {
        SCOPED_TRACE(MarkerStyleName(probe.Style).toStdString());
        const QPoint pixel(CentrePixel + probe.Dx, CentrePixel + probe.Dy);
        EXPECT_EQ(DrawMarker(probe.Style, 8).pixelColor(pixel), Background);
        EXPECT_EQ(DrawMarker(probe.Style + TwinOffset, 8).pixelColor(pixel), FillColor);
    }
}

TEST(MarkerShapes, PainterStateIsLeftAsFound) {
    QImage image(ImageSide, ImageSide, QImage::Format_RGB32);
    QPainter painter(&image);
    const QPen pen(Qt::green, 3, Qt::DashLine);
    const QBrush brush(Qt::yellow, Qt::Dense4Pattern);
    painter.setPen(pen);
    painter.setBrush(brush);
    for (int style = FirstShape; style < MarkerStyleCount; ++style) {
        DrawMarkerShape(painter, static_cast<TMarkerStyle>(style), QPointF(CentrePixel, CentrePixel), 8,
                        LineColor, FillColor);
        ASSERT_EQ(painter.pen(), pen) << style;
        ASSERT_EQ(painter.brush(), brush) << style;
    }
}

TEST(MarkerShapes, EveryStyleHasItsOwnName) {
    std::set<QString> names;
    for (int style = msNone; style < MarkerStyleCount; ++style) {
        const QString name = MarkerStyleName(static_cast<TMarkerStyle>(style));
        EXPECT_FALSE(name.isEmpty()) << style;
        EXPECT_TRUE(names.insert(name).second) << style << " repeats " << name.toStdString();
    }
    EXPECT_EQ(MarkerStyleName(msRect), "Rect");
    EXPECT_EQ(MarkerStyleName(msTriangleUp), "Triangle up");
    EXPECT_EQ(MarkerStyleName(msWisker1), "Wisker filled");
    EXPECT_TRUE(MarkerStyleName(static_cast<TMarkerStyle>(MarkerStyleCount)).isEmpty());
}

} // namespace
} // namespace mirla
