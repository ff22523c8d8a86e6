#pragma once

#include "plotlib/core/PlotTypes.h"

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QString>

namespace mirla {

/// Draws marker `style` centred on `centre`, `size` pixels from centre to edge (a size-4 marker spans about
/// 9 pixels), outlined in `line`; the filled twins fill with `fill`, the outline shapes leave the inside
/// clear. msNone draws nothing. Uses only lines, polygons and ellipses with solid pens and brushes, so it
/// works on any painter device; the painter's state is left as found.
void DrawMarkerShape(QPainter& painter, TMarkerStyle style, QPointF centre, double size, const QColor& line,
                     const QColor& fill);

/// The caption of a marker style for lists ("None", "Rect", "Circle", ... "Wisker filled").
QString MarkerStyleName(TMarkerStyle style);

} // namespace mirla
