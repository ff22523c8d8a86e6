#include "plotlib/PlotCursors.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <set>

namespace mirla {
namespace {

struct TCursorCase {
    TPlotCursor Id;
    const char* Name;
};

const TCursorCase CursorCases[] = {
    {TPlotCursor::ZoomIn, "ZOOM_IN"},      {TPlotCursor::AniZoom, "ANIZOOM"},
    {TPlotCursor::MoveIt, "MOVEIT"},       {TPlotCursor::SerAdd, "SERADD"},
    {TPlotCursor::SerDel, "SERDEL"},       {TPlotCursor::SerSel, "SERSEL"},
    {TPlotCursor::SerInf, "SERINF"},       {TPlotCursor::Transform, "TRANSFORM"},
    {TPlotCursor::PanRea, "PANREA"},       {TPlotCursor::PanPro, "PANPRO"},
    {TPlotCursor::AnTextCr, "ANTEXTCR"},   {TPlotCursor::RectCr, "RECTCR"},
    {TPlotCursor::LineCr, "LINECR"},       {TPlotCursor::CircleCr, "CIRCLECR"},
    {TPlotCursor::CrArrowAn, "CRARROWAN"}, {TPlotCursor::ShapeAnCr, "SHAPEANCR"},
    {TPlotCursor::AnPencil, "ANPENCIL"},   {TPlotCursor::Aim, "AIM"},
    {TPlotCursor::ZoomInWindow, "ZOOMIN"}, {TPlotCursor::Eraze, "ERAZE"},
};

TEST(PlotCursors, NamesAreTheResourceNames) {
    std::set<QString> names;
    for (const TCursorCase& cursor : CursorCases) {
        EXPECT_EQ(PlotCursorName(cursor.Id), cursor.Name);
        EXPECT_TRUE(names.insert(PlotCursorName(cursor.Id)).second) << cursor.Name;
    }
    EXPECT_EQ(static_cast<int>(TPlotCursor::ZoomIn), 100);
    EXPECT_EQ(static_cast<int>(TPlotCursor::Eraze), 12);
    EXPECT_TRUE(PlotCursorName(static_cast<TPlotCursor>(999)).isEmpty());
}

TEST(PlotCursors, EachCursorIsADrawnPictureWithItsHotSpotOnTheDrawing) {
    for (const TCursorCase& cursor : CursorCases) {
        SCOPED_TRACE(cursor.Name);
        const QCursor shape = PlotCursor(cursor.Id);
        EXPECT_EQ(shape.shape(), Qt::BitmapCursor);
        const QPixmap pixmap = shape.pixmap();
        ASSERT_FALSE(pixmap.isNull());
        EXPECT_EQ(pixmap.size(), QSize(PlotCursorSize, PlotCursorSize));
        EXPECT_FALSE(pixmap.mask().isNull());

        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        QRect drawn;
        int black = 0;
        int white = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor colour = image.pixelColor(x, y);
                if (colour.alpha() == 0)
                    continue;
                drawn |= QRect(x, y, 1, 1);
                black += colour == QColor(Qt::black) ? 1 : 0;
                white += colour == QColor(Qt::white) ? 1 : 0;
            }
        EXPECT_GT(black, 0);
        EXPECT_GT(white, 0);
        EXPECT_TRUE(drawn.contains(shape.hotSpot()))
            << "hot spot " << shape.hotSpot().x() << "," << shape.hotSpot().y();
    }
}

TEST(PlotCursors, CursorsDifferAndAreDrawnOnce) {
    std::set<QByteArray> pictures;
    for (const TCursorCase& cursor : CursorCases) {
        const QImage image = PlotCursor(cursor.Id).pixmap().toImage();
        const QByteArray bytes(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        EXPECT_TRUE(pictures.insert(bytes).second) << cursor.Name << " looks like another cursor";
        EXPECT_EQ(PlotCursor(cursor.Id).pixmap().cacheKey(), PlotCursor(cursor.Id).pixmap().cacheKey())
            << cursor.Name;
    }
}

TEST(PlotCursors, UnknownNumberGivesTheArrow) {
    EXPECT_EQ(PlotCursor(static_cast<TPlotCursor>(999)).shape(), Qt::ArrowCursor);
}

} // namespace
} // namespace mirla
