#pragma once

#include "plotlib/MetafileDevice.h"

namespace mirla {

/// Writes an enhanced metafile whose reference device has 96 pixels per inch, so one logical unit is one
/// pixel; text is stored as UTF-16.
class TEmfWriter : public TMetafileWriter {
public:
    /// Starts a picture of `size` pixels: anisotropic mapping over the picture, transparent text on the
    /// baseline.
    explicit TEmfWriter(QSize size);
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
    static QByteArray Record(quint32 type, const TFields& fields);
    void Emit(quint32 type, const TFields& fields);
    void PointList(quint32 type16, quint32 type32, const QPolygon& points);
};

} // namespace mirla
