#pragma once

#include <QCursor>
#include <QString>

namespace mirla {

/// Cursors of the plot's interaction modes, with the numbers the component registers them under.
enum class TPlotCursor {
    ZoomIn = 100,
    AniZoom = 106,
    MoveIt = 101,
    SerAdd = 102,
    SerDel = 103,
    SerSel = 104,
    SerInf = 109,
    Transform = 105,
    PanRea = 107,
    PanPro = 108,
    AnTextCr = 113,
    RectCr = 116,
    LineCr = 115,
    CircleCr = 117,
    CrArrowAn = 114,
    ShapeAnCr = 118,
    AnPencil = 119,
    Aim = 11,
    ZoomInWindow = 10,
    Eraze = 12
};

/// Side length in pixels of the square picture of every plot cursor.
inline constexpr int PlotCursorSize = 32;

/// The cursor for a mode, drawn once into a 32x32 pixmap with a mask and its hot spot, then cached;
/// an unknown number gives the arrow cursor.
QCursor PlotCursor(TPlotCursor id);

/// The resource name of a cursor ("ZOOM_IN", "ANIZOOM", ... "AIM", "ZOOMIN", "ERAZE"); empty for an unknown
/// number.
QString PlotCursorName(TPlotCursor id);

} // namespace mirla
