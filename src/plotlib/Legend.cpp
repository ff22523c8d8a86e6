#include "plotlib/Legend.h"

#include "plotlib/Graph.h"
#include "plotlib/core/ColorChoice.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>
#include <cmath>

namespace mirla {
namespace {

/// Pixels between a legend and the plot area it stands beside.
constexpr int LegendGap = 8;
/// How many values the colour bar writes beside it.
constexpr int ColorLabelCount = 5;
/// Width of the colour bar in text units.
constexpr double ColorBarUnits = 12;
/// Least width of the colour bar's label band, in font sizes.
constexpr double ColorLabelBandSizes = 1.5;

/// Whether a series style shows markers on the curve (and so in its sample).
bool StyleShowsMarkers(int code) {
    return code == ssPoints || code == ssLineAndPoint || code == ssVolume || code == ssMatrix ||
           code == ssPerPoint;
}

/// Whether a series style paints filled shapes (its sample is a filled box).
bool StyleFills(int code) {
    return code == ssVolume || code == ssArea || code == ssBar;
}

QString LabelText(double value) {
    return QString::number(value, 'g', 4);
}

} // namespace

// ---- entries

void TLegend::DrawSample(QPainter& painter, const QRect& area) const {
    painter.save();
    const QPoint centre = area.center();
    if (StyleFills(StyleCode)) {
        painter.setPen(QPen(ToQColor(Darkened(Color, 64)), 1));
        painter.setBrush(ToQColor(Color));
        painter.drawRect(
            QRect(area.left() + 2, area.top() + area.height() / 4, area.width() - 4, area.height() / 2));
    } else if (StyleCode != ssPoints && StyleCode != ssMatrix) {
        painter.setPen(QPen(ToQColor(Color), std::max(LineWidth, 1), ToQtPenStyle(LineStyle), Qt::FlatCap));
        painter.drawLine(area.left() + 2, centre.y(), area.right() - 2, centre.y());
    }
    if (ShowMarker && StyleShowsMarkers(StyleCode))
        Marker.Draw(painter, centre.x(), centre.y());
    painter.restore();
}

void TContourLegend::DrawSample(QPainter& painter, const QRect& area) const {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    const QPointF centre = QRectF(area).center();
    const double rx = std::max(area.width() / 2.0 - 2, 1.0);
    const double ry = std::max(area.height() / 2.0 - 2, 1.0);
    const std::array<TColor, 3> colors{clBlue, clGreen, clRed}; // outer to inner
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const double scale = static_cast<double>(colors.size() - i) / static_cast<double>(colors.size());
        painter.setPen(QPen(ToQColor(colors[i]), std::max(LineWidth, 1), ToQtPenStyle(LineStyle)));
        painter.drawEllipse(centre, rx * scale, ry * scale);
    }
    painter.restore();
}

// ---- box

void TAbstractLegend::DrawBox(QPainter& painter) const {
    painter.save();
    painter.setPen(Qt::NoPen);
    if (ShadowVisible && ShadowThickness > 0) {
        painter.setBrush(ToQColor(ShadowColor));
        painter.drawRect(Rect.translated(ShadowThickness, ShadowThickness));
    }
    if (!TransparentBackGround) {
        painter.setBrush(ToQColor(BackColor));
        painter.drawRect(Rect);
    }
    if (FrameVisible && FrameThickness > 0 && FrameStyle != psClear) {
        QPen pen(ToQColor(FrameColor), FrameThickness, ToQtPenStyle(FrameStyle));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        // A pen straddles its path: draw the frame half a width inside the rectangle.
        const double half = FrameThickness / 2.0;
        painter.drawRect(QRectF(Rect).adjusted(half, half, -half, -half));
    }
    painter.restore();
}

// ---- line legend

TWLegend::TWLegend(TGraph& graph) : TAbstractLegend(graph) {
    SetName("Legend");
}

TWLegend::~TWLegend() {
    Clear();
}

int TWLegend::Add(std::unique_ptr<TLegend> entry) {
    if (!entry)
        return -1;
    entry->Caption = entry->Caption.substr(0, 255);
    m_entries.push_back(std::move(entry));
    return Count() - 1;
}

int TWLegend::IndexOfSeries(const TSeries* series) const {
    for (int i = 0; i < Count(); ++i)
        if (series && m_entries[static_cast<std::size_t>(i)]->Series == series)
            return i;
    return -1;
}

int TWLegend::IndexOfCaption(const std::string& caption) const {
    for (int i = 0; i < Count(); ++i)
        if (m_entries[static_cast<std::size_t>(i)]->Caption == caption)
            return i;
    return -1;
}

void TWLegend::Delete(int index) {
    if (index < 0 || index >= Count())
        return;
    const auto position = m_entries.begin() + index;
    TLegend& entry = **position;
    if (entry.Series && entry.Series->Legend() == &entry)
        entry.Series->AttachLegend(nullptr);
    entry.Series = nullptr;
    m_entries.erase(position);
}

void TWLegend::Clear() {
    while (!m_entries.empty())
        Delete(Count() - 1);
}

bool TWLegend::Listed(const TLegend& entry) {
    return entry.Visible && (!entry.Series || (entry.Series->Visible() && entry.Series->ShowInLegend()));
}

int TWLegend::ListedCount() const {
    return static_cast<int>(
        std::count_if(m_entries.begin(), m_entries.end(), [](const auto& entry) { return Listed(*entry); }));
}

int TWLegend::Inset() const {
    return std::max(FrameThickness, 0) + Margin;
}

TWLegend::TMetrics TWLegend::Measure(QPainter& painter) const {
    const QFontMetrics metrics(ToQFont(Font), painter.device());
    TMetrics sizes;
    sizes.RowHeight = static_cast<int>(std::lround(1.3 * metrics.height()));
    sizes.SampleWidth = metrics.horizontalAdvance(QStringLiteral("-----------"));
    int widest = 0;
    for (const auto& entry : m_entries)
        if (Listed(*entry))
            widest = std::max(widest, sizes.SampleWidth +
                                          metrics.horizontalAdvance(QString::fromStdString(entry->Caption)));
    sizes.ColumnWidth = widest + 3;
    return sizes;
}

void TWLegend::StackEntries(QPoint corner, int width) {
    const int quarter = m_metrics.RowHeight / 4;
    int top = corner.y() + quarter;
    for (const auto& entry : m_entries) {
        if (!Listed(*entry))
            continue;
        entry->Left = corner.x() + Inset();
        entry->Top = top;
        top += m_metrics.RowHeight;
    }
    Rect = QRect(corner, QPoint(corner.x() + width - 1, top + quarter - 1));
}

void TWLegend::RowEntries(QPoint corner, int perRow) {
    const int quarter = m_metrics.RowHeight / 4;
    int placed = 0;
    for (const auto& entry : m_entries) {
        if (!Listed(*entry))
            continue;
        entry->Left = corner.x() + Inset() + (placed % perRow) * m_metrics.ColumnWidth;
        entry->Top = corner.y() + quarter + (placed / perRow) * m_metrics.RowHeight;
        ++placed;
    }
    const int rows = (placed + perRow - 1) / perRow;
    const int width = std::min(placed, perRow) * m_metrics.ColumnWidth + 2 * Inset();
    Rect = QRect(corner.x(), corner.y(), width, rows * m_metrics.RowHeight + 2 * quarter);
}

void TWLegend::Reserve(QPainter& painter, QRect& plotArea) {
    if (Style == lsInside)
        return;
    Rect = QRect();
    if (!Visible() || ListedCount() == 0)
        return;
    m_metrics = Measure(painter);
    const int shadow = ShadowVisible ? std::max(ShadowThickness, 0) : 0;
    const int columnWidth = static_cast<int>(std::lround(m_metrics.ColumnWidth * 1.05)) + 2 * Inset();
    switch (Style) {
    case lsRight:
        StackEntries(QPoint(plotArea.right() + 1 - shadow - columnWidth, plotArea.top()), columnWidth);
        plotArea.setRight(Rect.left() - LegendGap - 1);
        break;
    case lsLeft:
        StackEntries(plotArea.topLeft(), columnWidth);
        plotArea.setLeft(Rect.right() + shadow + LegendGap + 1);
        break;
    case lsTop:
    case lsBottom: {
        const int room = plotArea.width() - 2 * Inset() - shadow;
        const int perRow = std::max(1, room / std::max(m_metrics.ColumnWidth, 1));
        const int width = std::min(ListedCount(), perRow) * m_metrics.ColumnWidth + 2 * Inset();
        // The band is centred over the plot area; a bottom band is moved down once its height is known.
        const int left = plotArea.left() + std::max(0, (plotArea.width() - shadow - width) / 2);
        RowEntries(QPoint(left, plotArea.top()), perRow);
        if (Style == lsBottom)
            RowEntries(QPoint(left, plotArea.bottom() + 1 - shadow - Rect.height()), perRow);
        if (Style == lsTop)
            plotArea.setTop(Rect.bottom() + shadow + LegendGap + 1);
        else
            plotArea.setBottom(Rect.top() - LegendGap - 1);
        break;
    }
    case lsInside:
        break;
    }
}

void TWLegend::PlaceInside(QPainter& painter) {
    if (ListedCount() == 0) {
        Rect = QRect();
        return;
    }
    m_metrics = Measure(painter);
    const TGraph& graph = Graph();
    // The anchor is in world units; on a logarithmic axis these are powers of ten of the data.
    const double x = graph.XAxis().Log() ? std::pow(10.0, AnchorX) : AnchorX;
    const double y = graph.YAxis().Log() ? std::pow(10.0, AnchorY) : AnchorY;
    const double column = graph.DataXToScreen(x);
    const double row = graph.DataYToScreen(y);
    QPoint corner = Rect.topLeft();
    if (std::isfinite(column) && std::abs(column) < 1e9)
        corner.setX(static_cast<int>(std::lround(column)));
    if (std::isfinite(row) && std::abs(row) < 1e9)
        corner.setY(static_cast<int>(std::lround(row)));
    const QRect& area = graph.PlotArea();
    if (corner.x() < area.left() || corner.x() > area.right())
        corner.setX(area.left());
    if (corner.y() < area.top() || corner.y() > area.bottom())
        corner.setY(area.top());
    StackEntries(corner, static_cast<int>(std::lround(m_metrics.ColumnWidth * 1.05)));
}

void TWLegend::Draw(QPainter& painter) {
    if (!Visible() || ListedCount() == 0)
        return;
    if (Style == lsInside)
        PlaceInside(painter);
    DrawBox(painter);
    painter.save();
    painter.setFont(ToQFont(Font));
    painter.setBrush(Qt::NoBrush);
    for (const auto& entry : m_entries) {
        if (!Listed(*entry))
            continue;
        entry->DrawSample(painter,
                          QRect(entry->Left, entry->Top, m_metrics.SampleWidth, m_metrics.RowHeight));
        painter.setPen(ToQColor(Font.Color));
        const QRect caption(entry->Left + m_metrics.SampleWidth, entry->Top + m_metrics.RowHeight / 8,
                            m_metrics.ColumnWidth, m_metrics.RowHeight);
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdString(entry->Caption));
    }
    painter.restore();
}

// ---- colour legend

TColorLegend::TColorLegend(TGraph& graph) : TAbstractLegend(graph) {
    SetName("ColorLegend");
}

bool TColorLegend::Shown() const {
    // The source may have left the graph since it was set: only a layer still listed counts.
    return Source && Graph().IndexOf(Source) >= 0 && Source->ShowsColorScale();
}

std::vector<double> TColorLegend::LabelValues() const {
    std::vector<double> values;
    const double low = Source->MinZ();
    const double high = Source->MaxZ();
    for (int i = 0; i < ColorLabelCount; ++i)
        values.push_back(low + (high - low) * i / (ColorLabelCount - 1));
    return values;
}

void TColorLegend::Reserve(QPainter& painter, QRect& plotArea) {
    Rect = QRect();
    if (!Visible() || !Shown())
        return;
    const QFontMetrics metrics(ToQFont(Font), painter.device());
    const double unit = Graph().TextUnit();
    m_barThickness = std::max(1, static_cast<int>(std::lround(ColorBarUnits * unit)));
    // The band holds the values: at least 1.5 font sizes, and wide (or tall) enough for the longest.
    int labels = static_cast<int>(std::lround(ColorLabelBandSizes * Font.Size * unit));
    for (double value : LabelValues())
        labels =
            std::max(labels, Horizontal() ? metrics.height() : metrics.horizontalAdvance(LabelText(value)));
    const int inset = std::max(FrameThickness, 0) + Margin + 2;
    const int thickness = m_barThickness + labels + 3 * inset;
    const int shadow = ShadowVisible ? std::max(ShadowThickness, 0) : 0;
    switch (Style) {
    case lsLeft:
        Rect = QRect(plotArea.left(), plotArea.top(), thickness, plotArea.height());
        plotArea.setLeft(Rect.right() + shadow + LegendGap + 1);
        break;
    case lsTop:
        Rect = QRect(plotArea.left(), plotArea.top(), plotArea.width(), thickness);
        plotArea.setTop(Rect.bottom() + shadow + LegendGap + 1);
        break;
    case lsBottom:
        Rect =
            QRect(plotArea.left(), plotArea.bottom() + 1 - shadow - thickness, plotArea.width(), thickness);
        plotArea.setBottom(Rect.top() - LegendGap - 1);
        break;
    case lsRight:
    case lsInside:
        Rect = QRect(plotArea.right() + 1 - shadow - thickness, plotArea.top(), thickness, plotArea.height());
        plotArea.setRight(Rect.left() - LegendGap - 1);
        break;
    }
}

void TColorLegend::Draw(QPainter& painter) {
    if (!Visible() || !Shown() || Rect.isEmpty())
        return;
    DrawBox(painter);
    painter.save();
    const QFont font = ToQFont(Font);
    const QFontMetrics metrics(font, painter.device());
    const int inset = std::max(FrameThickness, 0) + Margin + 2;
    const int half = metrics.height() / 2;
    // The bar leaves half a text line at its ends so the end values fit inside the box.
    const QRect bar = Horizontal() ? QRect(Rect.left() + inset + half * 4, Rect.top() + inset,
                                           Rect.width() - 2 * inset - half * 8, m_barThickness)
                                   : QRect(Rect.left() + inset, Rect.top() + inset + half, m_barThickness,
                                           Rect.height() - 2 * inset - 2 * half);
    if (bar.width() < 1 || bar.height() < 1) {
        painter.restore();
        return;
    }
    const int length = Horizontal() ? bar.width() : bar.height();
    for (int i = 0; i < length; ++i) {
        const double fraction = length > 1 ? static_cast<double>(i) / (length - 1) : 0;
        painter.setPen(Source->ScaleColor(fraction));
        if (Horizontal())
            painter.drawLine(bar.left() + i, bar.top(), bar.left() + i, bar.bottom());
        else
            painter.drawLine(bar.left(), bar.bottom() - i, bar.right(), bar.bottom() - i);
    }
    painter.setPen(ToQColor(clBlack));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    painter.setFont(font);
    painter.setPen(ToQColor(Font.Color));
    const std::vector<double> values = LabelValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double fraction = static_cast<double>(i) / static_cast<double>(values.size() - 1);
        const QString text = LabelText(values[i]);
        if (Horizontal()) {
            const int x = bar.left() + static_cast<int>(std::lround(fraction * (bar.width() - 1)));
            const int width = metrics.horizontalAdvance(text);
            painter.drawText(QPoint(x - width / 2, bar.bottom() + inset + metrics.ascent()), text);
        } else {
            const int y = bar.bottom() - static_cast<int>(std::lround(fraction * (bar.height() - 1)));
            painter.drawText(QPoint(bar.right() + inset, y - half + metrics.ascent()), text);
        }
    }
    painter.restore();
}

} // namespace mirla
