#pragma once

#include "plotlib/MetafileDevice.h"

namespace mirla {

/// Writes a 16-bit Windows metafile with the placeable header: one logical unit is one pixel at 96 dpi,
/// coordinates are clamped to 16 bits and text is stored as Latin-1.
class TWmfWriter : public TMetafileWriter {
public:
    /// Starts a picture of `size` pixels: anisotropic mapping over the picture, transparent text on the
    /// baseline.
    explicit TWmfWriter(QSize size);
    void Polyline(const QPolygon& points) override;
    void Polygon(const QPolygon& points) override;
    void Rectangle(const QRect& box) override;
    void Ellipse(const QRect& box) override;
    void Text(const TGdiText& text) override;
    void Image(const QRect& target, const QImage& picture) override;

protected:
    void WriteCreatePen(int index, const TGdiPen& pen) override;
    void WriteCreateBrush(int index, const TGdiBrush& brush) override;
    void WriteCreateFont(int index, const TGdiFont& font) override;
    void WriteSelect(int index) override;
    void WriteDelete(int index) override;
    void WriteTextColor(quint32 color) override;
    void WritePolyFillMode(bool winding) override;
    void WriteSaveDC() override;
    void WriteRestoreDC() override;
    void WriteIntersectClip(const QRect& clip) override;
    QByteArray Header(int recordCount, qsizetype bodyBytes, qsizetype largestRecord) const override;
    QByteArray EndRecord() const override;

private:
    static QByteArray Record(quint16 function, const TFields& fields);
    void Emit(quint16 function, const TFields& fields);
    void PointList(quint16 function, const QPolygon& points);
    void Box(quint16 function, const QRect& box);
};

} // namespace mirla
