#include "plotlib/Series.h"
#include "plotlib/core/DataText.h"

#include <string>
#include <vector>

namespace mirla {

namespace {

/// Values of the look line, in the order written.
enum TLookField {
    lfLineStyle,
    lfLineWidth,
    lfMarkerStyle,
    lfMarkerSize,
    lfMarkerColor,
    lfMarkerFillColor,
    lfMarkersVisible,
    lfMarkerStep,
    lfUsesXAxis2,
    lfUsesYAxis2,
    LookFieldCount
};

} // namespace

void TSeries::SaveToText(std::string& out) const {
    WriteLayerHeader(out, TextHeader(m_style, m_showInLegend, m_barWidth));
    out += std::to_string(m_lineStyle) + ' ' + std::to_string(m_lineWidth) + ' ' +
           std::to_string(m_marker.Style) + ' ' + std::to_string(m_marker.Size) + ' ' +
           std::to_string(m_marker.Color) + ' ' + std::to_string(m_marker.FillColor) + ' ' +
           FlagText(m_markersVisible) + ' ' + std::to_string(m_markerStep) + ' ' + FlagText(UsesXAxis2()) +
           ' ' + FlagText(UsesYAxis2()) + '\n';
    out += std::to_string(Count()) + '\n';
    for (int i = 0; i < Count(); ++i) {
        out += ExactNumberText(X(i)) + ' ' + ExactNumberText(Y(i)) + ' ' + std::to_string(PointColor(i));
        const std::string& name = PointName(i);
        out += name.empty() ? "\n" : ' ' + OneLine(name) + '\n';
    }
}

void TSeries::LoadFromText(const TLayerHeader& header, TLayerTextReader& reader) {
    TLayer::LoadFromText(header, reader);
    if (header.Option < ssPoints || header.Option > ssPerPoint)
        reader.Fail("style " + std::to_string(header.Option) + " is out of range");
    SetStyle(header.Option);
    m_showInLegend = header.Flag;
    m_barWidth = header.Parameter;

    const std::vector<std::string> look = reader.Fields(LookFieldCount);
    m_lineStyle = static_cast<TPenStyle>(reader.BoundedOf(look[lfLineStyle], psSolid, psClear, "line style"));
    m_lineWidth = reader.BoundedOf(look[lfLineWidth], 0, 100, "line width");
    m_marker.Style =
        static_cast<TMarkerStyle>(reader.BoundedOf(look[lfMarkerStyle], msNone, msWisker1, "marker"));
    m_marker.Size = reader.BoundedOf(look[lfMarkerSize], 0, 1000, "marker size");
    m_marker.Color = static_cast<TColor>(reader.IntegerOf(look[lfMarkerColor]));
    m_marker.FillColor = static_cast<TColor>(reader.IntegerOf(look[lfMarkerFillColor]));
    m_markersVisible = reader.IntegerOf(look[lfMarkersVisible]) == 1;
    m_markerStep = reader.BoundedOf(look[lfMarkerStep], 0, 1 << 30, "marker step");
    SetUsesXAxis2(reader.IntegerOf(look[lfUsesXAxis2]) == 1);
    SetUsesYAxis2(reader.IntegerOf(look[lfUsesYAxis2]) == 1);

    const long long count = reader.Integer();
    if (count < 0)
        reader.Fail("a negative point count");
    Clear();
    for (long long i = 0; i < count; ++i) {
        const std::vector<std::string> point = reader.Fields(4, true);
        AddPoint(static_cast<TColor>(reader.IntegerOf(point[2])), point[3], reader.NumberOf(point[0]),
                 reader.NumberOf(point[1]));
    }
}

} // namespace mirla
