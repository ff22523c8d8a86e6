#include "plotlib/Axis.h"

#include "plotlib/Graph.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace mirla {

namespace {

/// Pixels between the end of a tick and its label.
constexpr double LabelGap = 2;
/// How far a tick may lie outside the plot area and still be drawn (rounding of the mapping).
constexpr double ToleranceAtStart = 2;
constexpr double ToleranceAtEnd = 3;
/// How far a centred label may pass the end of the plot area before it is aligned to its tick.
constexpr double LabelOverhang = 6;
/// The widest label the layout makes room for.
const QString WidestLabel = QStringLiteral("3.333333E200");
/// Day 0 of date-time numbers.
const QDate DateOrigin(1899, 12, 30);
constexpr double MillisecondsPerDay = 86400000;

QFontMetricsF Metrics(const QFont& font, QPainter& painter) {
    return QFontMetricsF(font, painter.device());
}

/// The axis's length unit: the width of "a" in the font's family at size 1 on the device, at least a
/// pixel, so tick lengths grow with the device's resolution. It is measured on a large size and scaled
/// down, because the metrics of a tiny font are rounded to whole pixels.
double TextUnitOf(const TFontSpec& spec, QPainter& painter) {
    constexpr double measuredSize = 100;
    QFont font = ToQFont(spec);
    font.setPointSizeF(measuredSize);
    return std::max(1.0,
                    std::round(Metrics(font, painter).horizontalAdvance(QLatin1Char('a')) / measuredSize));
}

/// The font of a logarithmic label's exponent: two points smaller.
QFont ExponentFont(const TFontSpec& spec) {
    QFont font = ToQFont(spec);
    font.setPointSizeF(std::max(1.0, font.pointSizeF() - 2));
    return font;
}

/// Draws `text` (and a raised `exponent` after it, when not empty) centred in `box`, turned by 90 degrees
/// to read upwards when `rotated`.
void DrawLabelText(QPainter& painter, const QRectF& box, const QFont& font, const QString& text,
                   const QFont& exponentFont, const QString& exponent, bool rotated) {
    const QFontMetricsF metrics = Metrics(font, painter);
    const double width =
        metrics.horizontalAdvance(text) +
        (exponent.isEmpty() ? 0 : Metrics(exponentFont, painter).horizontalAdvance(exponent));
    painter.save();
    painter.translate(box.center());
    if (rotated)
        painter.rotate(-90);
    const double left = -width / 2;
    const double baseline = -metrics.height() / 2 + metrics.ascent();
    painter.setFont(font);
    painter.drawText(QPointF(left, baseline), text);
    if (!exponent.isEmpty()) {
        painter.setFont(exponentFont);
        painter.drawText(QPointF(left + metrics.horizontalAdvance(text), baseline - metrics.ascent() * 0.4),
                         exponent);
    }
    painter.restore();
}

bool IsWhole(double value) {
    return std::abs(value - std::round(value)) <= 1e-9 * std::max(1.0, std::abs(value));
}

} // namespace

TAxis::TAxis(TGraph& graph, std::string componentName, TAxisSide side)
    : m_graph(graph), m_componentName(std::move(componentName)), m_side(side) {}

void TAxis::SetLog(bool log) {
    if (log == m_log)
        return;
    if (BeforeLogChange)
        BeforeLogChange(m_graph, log);
    m_log = log;
    if (m_graph.Legend().Style == lsInside)
        m_graph.Legend().Style = lsRight;
    if (AfterLogChange)
        AfterLogChange(m_graph);
}

void TAxis::SetMin(double value) {
    m_minimum = value;
    StoreLimits = m_minimum != MissingValue || m_maximum != MissingValue;
}

void TAxis::SetMax(double value) {
    m_maximum = value;
    StoreLimits = m_minimum != MissingValue || m_maximum != MissingValue;
}

double TAxis::ComputeTicks(double lo, double hi) {
    TTickRequest request;
    request.Min = lo;
    request.Max = hi;
    request.LabelStyle = LabelStyle;
    request.AutoMax = AutoMax;
    request.Zoomed = m_graph.Zoomed();
    request.GraphHasData = m_graph.HasDataPoints();
    m_layout = mirla::ComputeTicks(request);
    // Logarithmic ticks sit at whole powers and their multiples whatever the limits, so the limit stays.
    return m_log ? std::max(lo, hi) : m_layout.RoundedMax;
}

std::vector<TAxis::TTick> TAxis::TickValues() const {
    const auto [lo, hi] = m_graph.AxisRange(*this);
    const int frequency = std::max(1, TickFrequency);
    int majors = 0;
    std::vector<TTick> ticks;
    if (m_log) {
        for (const TLogTick& tick : LogTicks(lo, hi)) {
            const bool labelled = tick.Decade && majors++ % frequency == 0;
            ticks.push_back({std::log10(tick.Value), tick.Decade, labelled});
        }
        return ticks;
    }
    const double first = m_layout.IntegerLabels ? RoundHalfEven(lo - 0.5) : m_layout.First;
    const int minorPerMajor = std::max(1, m_layout.MinorPerMajor);
    for (int i = 0; i < m_layout.Count; ++i) {
        const bool major = i % minorPerMajor == 0;
        const bool labelled = major && majors++ % frequency == 0;
        ticks.push_back({first + i * m_layout.Step, major, labelled});
    }
    return ticks;
}

std::string TAxis::LabelText(double value) const {
    if (m_log)
        return std::to_string(static_cast<long long>(RoundHalfEven(value)));
    if (LabelStyle != asDate)
        return AxisLabelText(value, m_layout.Digits, m_layout.Step, true);
    double days = std::floor(value);
    double milliseconds = std::round((value - days) * MillisecondsPerDay);
    if (milliseconds >= MillisecondsPerDay) {
        days += 1;
        milliseconds = 0;
    }
    const QDate date = DateOrigin.addDays(static_cast<qint64>(days));
    const QLocale locale;
    // A whole day number names a day; a fraction adds the time of day.
    if (milliseconds == 0)
        return locale.toString(date, QLocale::ShortFormat).toStdString();
    const QTime time = QTime(0, 0).addMSecs(static_cast<int>(milliseconds));
    return locale.toString(QDateTime(date, time), QLocale::ShortFormat).toStdString();
}

int TAxis::ReservedSpace(QPainter& painter) const {
    if (!Visible)
        return 0;
    double space = 0;
    if (!Name.empty())
        space += 1.2 * Metrics(ToQFont(NameFont), painter).height();
    if (Location == alOutside) {
        const QFontMetricsF labels = Metrics(ToQFont(Font), painter);
        const bool textAlongAxis = Horizontal() == (LabelDirection == adHorizontal);
        if (textAlongAxis)
            space += 1.1 * labels.height();
        else
            space += labels.horizontalAdvance(Horizontal() ? QLatin1Char(' ') + WidestLabel + QLatin1Char(' ')
                                                           : WidestLabel);
        space += LabelGap;
        if (Ticks.Direction == tdOut)
            space += TextUnitOf(Font, painter) * Ticks.MajorLength;
    }
    return static_cast<int>(std::ceil(space));
}

int TAxis::Outward() const {
    return m_side == TAxisSide::Bottom || m_side == TAxisSide::Right ? 1 : -1;
}

double TAxis::PlotEdge() const {
    const QRect& area = m_graph.PlotArea();
    switch (m_side) {
    case TAxisSide::Bottom:
        return area.bottom();
    case TAxisSide::Top:
        return area.top();
    case TAxisSide::Left:
        return area.left();
    case TAxisSide::Right:
        return area.right();
    }
    return 0;
}

double TAxis::BaseLine() const {
    if (Location == alOutside)
        return PlotEdge();
    const TAxis& crossing = m_side == TAxisSide::Bottom ? m_graph.YAxis()
                            : m_side == TAxisSide::Top  ? m_graph.YAxis2()
                            : m_side == TAxisSide::Left ? m_graph.XAxis()
                                                        : m_graph.XAxis2();
    return m_graph.AxisToScreen(crossing, crossing.Log() ? m_graph.LogValue(Position) : Position);
}

std::pair<double, double> TAxis::PixelRange() const {
    const QRect& area = m_graph.PlotArea();
    return Horizontal() ? std::pair<double, double>(area.left(), area.right())
                        : std::pair<double, double>(area.top(), area.bottom());
}

QPointF TAxis::At(double along, double across) const {
    return Horizontal() ? QPointF(along, across) : QPointF(across, along);
}

QRectF TAxis::LabelBox(double tickPixel, QSizeF textSize, bool rotated, double labelStart,
                       bool alignAtEnd) const {
    const QSizeF screen = rotated ? textSize.transposed() : textSize;
    const double alongSize = Horizontal() ? screen.width() : screen.height();
    const double acrossSize = Horizontal() ? screen.height() : screen.width();
    const auto [start, end] = PixelRange();
    double along = tickPixel - alongSize / 2;
    if (alignAtEnd) {
        // A label that would stick out far past the end of the axis ends at its tick instead.
        if (Horizontal() && tickPixel + alongSize / 2 > end + LabelOverhang)
            along = tickPixel - alongSize;
        if (!Horizontal() && tickPixel - alongSize / 2 < start - LabelOverhang)
            along = tickPixel;
    }
    const double across = Outward() > 0 ? labelStart : labelStart - acrossSize;
    return Horizontal() ? QRectF(along, across, alongSize, acrossSize)
                        : QRectF(across, along, acrossSize, alongSize);
}

void TAxis::Draw(QPainter& painter) const {
    if (!Visible)
        return;
    painter.save();
    const double unit = TextUnitOf(Font, painter);
    QPen pen(ToQColor(Color));
    pen.setWidthF(unit);
    painter.setPen(pen);
    double major = unit * Ticks.MajorLength;
    double minor = unit * Ticks.MinorLength;
    if (Ticks.Direction == tdIN) {
        major = -major;
        minor = -minor;
    }
    const double base = BaseLine();
    const int out = Outward();
    const double labelStart = base + out * (std::max(major, 0.0) + LabelGap);
    const auto [start, end] = PixelRange();

    if (MajorLineVisible) {
        const double shortening = m_graph.View3D() != 0 ? m_graph.Frame.Width : 0;
        painter.drawLine(At(start + shortening, base), At(end - shortening, base));
    }

    const bool userLabels = !RegularLabelsVisible && !UserLabels.empty();
    const bool wholeMinorsOnly = LabelStyle == asDate && !m_graph.Zoomed();
    const bool rotated = LabelDirection == adVertical;
    const QFont font = ToQFont(Font);
    const QFont exponentFont = ExponentFont(Font);
    const QFontMetricsF metrics = Metrics(font, painter);
    const QFontMetricsF exponentMetrics = Metrics(exponentFont, painter);
    std::optional<QRectF> previous;
    painter.setPen(ToQColor(Font.Color));
    for (const TTick& tick : TickValues()) {
        const double p = m_graph.AxisToScreen(*this, tick.Value);
        if (p < start - ToleranceAtStart || p > end + ToleranceAtEnd)
            continue;
        painter.setPen(pen);
        if (tick.Major && Ticks.MajorVisible)
            painter.drawLine(At(p, base), At(p, base + out * major));
        if (!tick.Major && Ticks.MinorVisible && (!wholeMinorsOnly || IsWhole(tick.Value)))
            painter.drawLine(At(p, base), At(p, base + out * minor));
        if (!tick.Labelled || userLabels)
            continue;
        // A logarithmic label is "10" with the decade's exponent raised after it.
        const QString labelText = QString::fromStdString(LabelText(tick.Value));
        const QString text = m_log ? QStringLiteral("10") : labelText;
        const QString exponent = m_log ? labelText : QString();
        const QSizeF size(metrics.horizontalAdvance(text) +
                              (exponent.isEmpty() ? 0 : exponentMetrics.horizontalAdvance(exponent)),
                          metrics.height());
        const QRectF box = LabelBox(p, size, rotated, labelStart, true);
        // Labels that would run into the previous one are left out; the first always shows.
        if (previous && !Invert && box.intersects(*previous))
            continue;
        previous = box;
        painter.setPen(ToQColor(Font.Color));
        DrawLabelText(painter, box, font, text, exponentFont, exponent, rotated);
    }
    if (userLabels)
        DrawUserLabels(painter, base, major, labelStart);
    DrawName(painter);
    painter.restore();
}

void TAxis::DrawUserLabels(QPainter& painter, double base, double major, double labelStart) const {
    const auto [lo, hi] = m_graph.AxisRange(*this);
    const bool rotated = LabelDirection == adVertical;
    const QFont font = ToQFont(Font);
    const QFontMetricsF metrics = Metrics(font, painter);
    const double minimumDistance = metrics.horizontalAdvance(QLatin1Char('1')) - 4;
    const QPen tickPen = painter.pen();
    double previous = std::numeric_limits<double>::quiet_NaN();
    for (const TUserLabel& label : UserLabels) {
        const double value = m_log ? m_graph.LogValue(label.Value) : label.Value;
        if (value < lo || value > hi)
            continue;
        const double p = m_graph.AxisToScreen(*this, value);
        if (rotated && std::abs(p - previous) < minimumDistance)
            continue;
        previous = p;
        painter.setPen(ToQColor(Color));
        if (Ticks.MajorVisible)
            painter.drawLine(At(p, base), At(p, base + Outward() * major));
        const QString text = QString::fromStdString(label.Text);
        const QRectF box = LabelBox(p, QSizeF(metrics.horizontalAdvance(text), metrics.height()), rotated,
                                    labelStart, false);
        painter.setPen(ToQColor(Font.Color));
        DrawLabelText(painter, box, font, text, font, QString(), rotated);
    }
    painter.setPen(tickPen);
}

void TAxis::DrawName(QPainter& painter) const {
    if (Name.empty())
        return;
    const QFont font = ToQFont(NameFont);
    const QFontMetricsF metrics = Metrics(font, painter);
    const QString text = QString::fromStdString(Name);
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    // The name sits in the outer part of the band the axis reserved at its edge of the plot area.
    const double outer = PlotEdge() + Outward() * ReservedSpace(painter);
    const auto [start, end] = PixelRange();
    const double acrossSize = size.height() * 1.2;
    const double across = Outward() > 0 ? outer - acrossSize : outer;
    const double along = (start + end) / 2;
    const QRectF box = Horizontal() ? QRectF(along - size.width() / 2, across, size.width(), acrossSize)
                                    : QRectF(across, along - size.width() / 2, acrossSize, size.width());
    painter.setPen(ToQColor(NameFont.Color));
    DrawLabelText(painter, box, font, text, font, QString(), !Horizontal());
}

void TAxis::DrawGrid(QPainter& painter) const {
    if (!Visible || !Grid)
        return;
    painter.save();
    painter.setPen(ToQColor(GridColor));
    const QRect& area = m_graph.PlotArea();
    const double depth = m_graph.Depth3D();
    const auto [start, end] = PixelRange();
    for (const TTick& tick : TickValues()) {
        if (!tick.Labelled)
            continue;
        const double p = m_graph.AxisToScreen(*this, tick.Value);
        if (p < start - ToleranceAtStart || p > end + ToleranceAtEnd)
            continue;
        // In the 3-D look the line runs on the back wall and a stroke joins it to the front edge.
        if (Horizontal()) {
            painter.drawLine(QPointF(p + depth, area.top() - depth),
                             QPointF(p + depth, area.bottom() - depth));
            if (depth > 0)
                painter.drawLine(QPointF(p, area.bottom()), QPointF(p + depth, area.bottom() - depth));
        } else {
            painter.drawLine(QPointF(area.left() + depth, p - depth),
                             QPointF(area.right() + depth, p - depth));
            if (depth > 0)
                painter.drawLine(QPointF(area.left(), p), QPointF(area.left() + depth, p - depth));
        }
    }
    painter.restore();
}

} // namespace mirla
