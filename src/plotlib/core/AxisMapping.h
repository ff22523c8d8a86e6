#pragma once

namespace mirla {

/// pixel = Offset + Scale * world value, for one axis.
struct TAxisMapping {
    double Offset = 0; ///< pixel of world value 0
    double Scale = 1;  ///< pixels per world unit (negative when the axis runs against the pixels)
    /// The pixel coordinate of a world value.
    double ToScreen(double value) const { return Offset + Scale * value; }
    /// The world value at a pixel coordinate (infinite when the axis has no pixel extent).
    double FromScreen(double pixel) const { return (pixel - Offset) / Scale; }
};

/// Column mapping: scale = (left-right)/(xMin-xMax), offset = (right*xMin - left*xMax)/(xMin-xMax);
/// xMin lands on `left`, xMax on `right`; equal ends are widened first (see `WidenDegenerateRange`).
TAxisMapping MapX(int left, int right, double xMin, double xMax);
/// Row mapping: scale = (top-bottom)/(yMax-yMin), offset = bottom - scale*yMin; yMin lands on `bottom`,
/// yMax on `top`; equal ends are widened first (see `WidenDegenerateRange`).
TAxisMapping MapY(int top, int bottom, double yMin, double yMax);
/// log10(max(value, minimumLogValue)): where a value sits on a logarithmic axis.
double LogValue(double value, double minimumLogValue);
/// A range whose ends are equal (one point, or a constant curve) would map with a zero denominator: widen
/// it to value-1..value+1 when value is 0, else value -/+ |value|*0.1. Ends that differ are left alone.
void WidenDegenerateRange(double& low, double& high);

} // namespace mirla
