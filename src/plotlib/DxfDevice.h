#pragma once

#include "plotlib/core/Dxf.h"

#include <QPaintDevice>
#include <QSize>
#include <QString>

#include <memory>
#include <string>

class QPainter;

namespace mirla {

class TDxfPaintEngine;
class TGraph;

/// A paint device that records QPainter drawing as DXF entities: lines, the outlines of polygons,
/// paths and text, axis-parallel filled rectangles as solids, and circles. One drawing unit is one
/// pixel, with Y running upwards; drawing outside the painter's clip rectangle is cut away.
class TDxfDevice : public QPaintDevice {
public:
    explicit TDxfDevice(QSize sizeInPixels);
    ~TDxfDevice() override;
    /// The recording (active while the device lives).
    const TDXF& Dxf() const;
    /// The layer later drawing goes to; an empty name is DXF's base layer "0".
    void SetLayer(const std::string& name);
    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<TDxfPaintEngine> m_engine;
};

/// Whether `painter` records into a DXF drawing.
bool RecordingDxf(const QPainter& painter);
/// Puts later drawing of `painter` on layer `name` when it records into a DXF drawing.
void SetDxfLayer(QPainter& painter, const std::string& name);

/// The graph drawn at `size` pixels as a complete DXF file, each layer of the graph on a DXF layer
/// of its name and the rest (frame, axes, titles, legends) on layer "0".
std::string GraphDxf(TGraph& graph, QSize size);
/// Writes `GraphDxf` to `path` (through a temporary); false with a message when it cannot.
bool WriteGraphDxf(TGraph& graph, QSize size, const QString& path, QString& error);

} // namespace mirla
