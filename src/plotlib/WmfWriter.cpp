#include "plotlib/WmfWriter.h"

namespace mirla {

namespace {

// Record function codes of the 16-bit format.
constexpr quint16 MetaEof = 0x0000;
constexpr quint16 MetaSaveDC = 0x001E;
constexpr quint16 MetaSetBkMode = 0x0102;
constexpr quint16 MetaSetMapMode = 0x0103;
constexpr quint16 MetaSetPolyFillMode = 0x0106;
constexpr quint16 MetaRestoreDC = 0x0127;
constexpr quint16 MetaSelectObject = 0x012D;
constexpr quint16 MetaSetTextAlign = 0x012E;
constexpr quint16 MetaDeleteObject = 0x01F0;
constexpr quint16 MetaSetTextColor = 0x0209;
constexpr quint16 MetaSetWindowOrg = 0x020B;
constexpr quint16 MetaSetWindowExt = 0x020C;
constexpr quint16 MetaCreatePenIndirect = 0x02FA;
constexpr quint16 MetaCreateFontIndirect = 0x02FB;
constexpr quint16 MetaCreateBrushIndirect = 0x02FC;
constexpr quint16 MetaPolygon = 0x0324;
constexpr quint16 MetaPolyline = 0x0325;
constexpr quint16 MetaIntersectClipRect = 0x0416;
constexpr quint16 MetaEllipse = 0x0418;
constexpr quint16 MetaRectangle = 0x041B;
constexpr quint16 MetaExtTextOut = 0x0A32;
constexpr quint16 MetaStretchDib = 0x0F43;

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr quint16 UnitsPerInch = 96;
constexpr quint16 MapModeAnisotropic = 8;
constexpr quint16 BkModeTransparent = 1;
constexpr quint16 TextAlignBaseline = 24;
constexpr quint32 RasterSourceCopy = 0x00CC0020;
constexpr int RecordHeaderBytes = 6;
constexpr int FaceNameBytes = 32;
// Points per Polyline record; longer lines continue in the next record from the last point.
constexpr int MaxPointsPerRecord = 8000;

// One byte per UTF-16 unit: Latin-1 as it is, the minus sign as a hyphen, anything else as '?'.
QByteArray Latin1Of(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t unit = c.unicode();
        bytes.append(unit == u'\u2212' ? '-' : unit <= 0xFF ? char(unit) : '?');
    }
    return bytes;
}

} // namespace

TWmfWriter::TWmfWriter(QSize size) : TMetafileWriter(size, 0) {
    Emit(MetaSetMapMode, TFields().U16(MapModeAnisotropic));
    Emit(MetaSetWindowOrg, TFields().I16(0).I16(0));
    Emit(MetaSetWindowExt, TFields().I16(size.height()).I16(size.width()));
    Emit(MetaSetBkMode, TFields().U16(BkModeTransparent));
    Emit(MetaSetTextAlign, TFields().U16(TextAlignBaseline));
}

QByteArray TWmfWriter::Record(quint16 function, const TFields& fields) {
    QByteArray params = fields.Data();
    if (params.size() % 2 != 0)
        params.append('\0');
    TFields record;
    record.U32(quint32((RecordHeaderBytes + params.size()) / 2)).U16(function).Raw(params);
    return record.Data();
}

void TWmfWriter::Emit(quint16 function, const TFields& fields) {
    AddRecord(Record(function, fields));
}

void TWmfWriter::PointList(quint16 function, const QPolygon& points) {
    TFields fields;
    fields.U16(quint16(points.size()));
    for (const QPoint& point : points)
        fields.I16(point.x()).I16(point.y());
    Emit(function, fields);
}

void TWmfWriter::Box(quint16 function, const QRect& box) {
    Emit(function,
         TFields().I16(box.y() + box.height()).I16(box.x() + box.width()).I16(box.y()).I16(box.x()));
}

void TWmfWriter::Polyline(const QPolygon& points) {
    for (qsizetype start = 0; start + 1 < points.size(); start += MaxPointsPerRecord - 1)
        PointList(MetaPolyline, points.mid(start, MaxPointsPerRecord));
}

void TWmfWriter::Polygon(const QPolygon& points) {
    if (points.size() >= 2)
        PointList(MetaPolygon, points.mid(0, 0xFFFF));
}

void TWmfWriter::Rectangle(const QRect& box) {
    Box(MetaRectangle, box);
}

void TWmfWriter::Ellipse(const QRect& box) {
    Box(MetaEllipse, box);
}

void TWmfWriter::Text(const TGdiText& text) {
    const QByteArray bytes = Latin1Of(text.text).left(0x7FFF);
    TFields fields;
    fields.I16(text.origin.y()).I16(text.origin.x()).U16(quint16(bytes.size())).U16(0).Raw(bytes);
    if (bytes.size() % 2 != 0)
        fields.U8(0);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        fields.I16(i < qsizetype(text.advances.size()) ? text.advances[i] : 0);
    Emit(MetaExtTextOut, fields);
}

void TWmfWriter::Image(const QRect& target, const QImage& picture) {
    const TDib dib = DibOf(picture);
    Emit(MetaStretchDib, TFields()
                             .U32(RasterSourceCopy)
                             .U16(0)
                             .I16(picture.height())
                             .I16(picture.width())
                             .I16(0)
                             .I16(0)
                             .I16(target.height())
                             .I16(target.width())
                             .I16(target.y())
                             .I16(target.x())
                             .Raw(dib.info)
                             .Raw(dib.bits));
}

void TWmfWriter::WriteCreatePen(int index, const TGdiPen& pen) {
    Q_UNUSED(index) // the 16-bit format gives each new object the lowest free index itself
    Emit(MetaCreatePenIndirect, TFields().U16(quint16(pen.style)).I16(pen.width).I16(0).U32(pen.color));
}

void TWmfWriter::WriteCreateBrush(int index, const TGdiBrush& brush) {
    Q_UNUSED(index)
    Emit(MetaCreateBrushIndirect,
         TFields().U16(quint16(brush.style)).U32(brush.color).U16(quint16(brush.hatch)));
}

void TWmfWriter::WriteCreateFont(int index, const TGdiFont& font) {
    Q_UNUSED(index)
    const QByteArray face = Latin1Of(font.face).left(FaceNameBytes - 1);
    Emit(MetaCreateFontIndirect, TFields()
                                     .I16(font.height)
                                     .I16(0)
                                     .I16(font.escapement)
                                     .I16(font.escapement)
                                     .I16(font.weight)
                                     .U8(font.italic)
                                     .U8(font.underline)
                                     .U8(font.strikeOut)
                                     .U8(0)  // ANSI character set
                                     .U32(0) // default precision, clipping, quality, pitch and family
                                     .Raw(face)
                                     .Zeros(FaceNameBytes - face.size()));
}

void TWmfWriter::WriteSelect(int index) {
    Emit(MetaSelectObject, TFields().U16(quint16(index)));
}

void TWmfWriter::WriteDelete(int index) {
    Emit(MetaDeleteObject, TFields().U16(quint16(index)));
}

void TWmfWriter::WriteTextColor(quint32 color) {
    Emit(MetaSetTextColor, TFields().U32(color));
}

void TWmfWriter::WritePolyFillMode(bool winding) {
    Emit(MetaSetPolyFillMode, TFields().U16(winding ? 2 : 1));
}

void TWmfWriter::WriteSaveDC() {
    Emit(MetaSaveDC, TFields());
}

void TWmfWriter::WriteRestoreDC() {
    Emit(MetaRestoreDC, TFields().I16(-1));
}

void TWmfWriter::WriteIntersectClip(const QRect& clip) {
    Box(MetaIntersectClipRect, clip);
}

QByteArray TWmfWriter::Header(int recordCount, qsizetype bodyBytes, qsizetype largestRecord) const {
    Q_UNUSED(recordCount)
    TFields placeable;
    placeable.U32(PlaceableKey)
        .U16(0)
        .I16(0)
        .I16(0)
        .I16(PictureSize().width())
        .I16(PictureSize().height())
        .U16(UnitsPerInch)
        .U32(0);
    quint16 checksum = 0;
    const QByteArray& words = placeable.Data();
    for (qsizetype i = 0; i < words.size(); i += 2)
        checksum ^= quint16(quint8(words[i]) | (quint8(words[i + 1]) << 8));
    placeable.U16(checksum);

    constexpr int MetaHeaderBytes = 18;
    TFields header;
    header.Raw(placeable.Data())
        .U16(1) // a metafile in memory
        .U16(MetaHeaderBytes / 2)
        .U16(0x0300)
        .U32(quint32((MetaHeaderBytes + bodyBytes) / 2))
        .U16(quint16(ObjectTableSize()))
        .U32(quint32(largestRecord / 2))
        .U16(0);
    return header.Data();
}

QByteArray TWmfWriter::EndRecord() const {
    return Record(MetaEof, TFields());
}

} // namespace mirla
