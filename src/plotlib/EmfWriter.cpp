#include "plotlib/EmfWriter.h"

#include <limits>
#include <string_view>

namespace mirla {

namespace {

// Record types of the enhanced format.
constexpr quint32 EmrHeader = 1;
constexpr quint32 EmrPolygon = 3;
constexpr quint32 EmrPolyline = 4;
constexpr quint32 EmrSetWindowExtEx = 9;
constexpr quint32 EmrSetWindowOrgEx = 10;
constexpr quint32 EmrSetViewportExtEx = 11;
constexpr quint32 EmrSetViewportOrgEx = 12;
constexpr quint32 EmrEof = 14;
constexpr quint32 EmrSetMapMode = 17;
constexpr quint32 EmrSetBkMode = 18;
constexpr quint32 EmrSetPolyFillMode = 19;
constexpr quint32 EmrSetTextAlign = 22;
constexpr quint32 EmrSetTextColor = 24;
constexpr quint32 EmrIntersectClipRect = 30;
constexpr quint32 EmrSaveDC = 33;
constexpr quint32 EmrRestoreDC = 34;
constexpr quint32 EmrSelectObject = 37;
constexpr quint32 EmrCreateBrushIndirect = 39;
constexpr quint32 EmrDeleteObject = 40;
constexpr quint32 EmrEllipse = 42;
constexpr quint32 EmrRectangle = 43;
constexpr quint32 EmrStretchDiBits = 81;
constexpr quint32 EmrExtCreateFontIndirectW = 82;
constexpr quint32 EmrExtTextOutW = 84;
constexpr quint32 EmrPolygon16 = 86;
constexpr quint32 EmrPolyline16 = 87;
constexpr quint32 EmrExtCreatePen = 95;

constexpr quint32 Signature = 0x464D4520; // " EMF"
constexpr quint32 FormatVersion = 0x00010000;
constexpr quint32 MapModeAnisotropic = 8;
constexpr quint32 BkModeTransparent = 1;
constexpr quint32 TextAlignBaseline = 24;
constexpr quint32 GraphicsModeCompatible = 1;
constexpr quint32 PenGeometric = 0x00010000;
constexpr quint32 CharsetDefault = 1;
constexpr quint32 RasterSourceCopy = 0x00CC0020;
constexpr int RecordHeaderBytes = 8;
constexpr int FaceNameChars = 32;
// A font record carries a LogFontPanose: the 92-byte LogFont followed by names and PANOSE data left zero.
constexpr int LogFontBytes = 92;
constexpr int LogFontPanoseBytes = 320;
// The reference device: 1920 x 1440 pixels on 508 x 381 mm is exactly 96 pixels per inch.
constexpr int DevicePixelsX = 1920, DevicePixelsY = 1440;
constexpr int DeviceMillimetresX = 508, DeviceMillimetresY = 381;
constexpr double HundredthsMmPerPixel = 2540.0 / 96.0;
// The description: the program, the picture, each ended by a null, then a final null.
constexpr std::u16string_view Description{u"Mirla\0Plot\0", 12};

int PaddedTo4(qsizetype bytes) {
    return int((bytes + 3) / 4 * 4);
}

// A RECTL with inclusive corners of the pixels in `covered`.
void AddRectl(TMetafileWriter::TFields& fields, const QRect& covered) {
    fields.I32(covered.left()).I32(covered.top()).I32(covered.right()).I32(covered.bottom());
}

// A RECTL with the corners of a box as the drawing records take it: right and bottom at x + width, y +
// height.
void AddBox(TMetafileWriter::TFields& fields, const QRect& box) {
    fields.I32(box.x()).I32(box.y()).I32(box.x() + box.width()).I32(box.y() + box.height());
}

bool FitsIn16Bits(const QPolygon& points) {
    for (const QPoint& point : points)
        if (point.x() < std::numeric_limits<qint16>::min() ||
            point.x() > std::numeric_limits<qint16>::max() ||
            point.y() < std::numeric_limits<qint16>::min() || point.y() > std::numeric_limits<qint16>::max())
            return false;
    return true;
}

QByteArray Utf16Of(QStringView text) {
    TMetafileWriter::TFields fields;
    for (QChar c : text)
        fields.U16(c.unicode());
    return fields.Data();
}

} // namespace

TEmfWriter::TEmfWriter(QSize size) : TMetafileWriter(size, 1) {
    Emit(EmrSetMapMode, TFields().U32(MapModeAnisotropic));
    Emit(EmrSetWindowOrgEx, TFields().I32(0).I32(0));
    Emit(EmrSetWindowExtEx, TFields().I32(size.width()).I32(size.height()));
    Emit(EmrSetViewportOrgEx, TFields().I32(0).I32(0));
    Emit(EmrSetViewportExtEx, TFields().I32(size.width()).I32(size.height()));
    Emit(EmrSetBkMode, TFields().U32(BkModeTransparent));
    Emit(EmrSetTextAlign, TFields().U32(TextAlignBaseline));
}

QByteArray TEmfWriter::Record(quint32 type, const TFields& fields) {
    const QByteArray& params = fields.Data();
    const int padded = PaddedTo4(params.size());
    TFields record;
    record.U32(type).U32(quint32(RecordHeaderBytes + padded)).Raw(params).Zeros(padded - params.size());
    return record.Data();
}

void TEmfWriter::Emit(quint32 type, const TFields& fields) {
    AddRecord(Record(type, fields));
}

void TEmfWriter::PointList(quint32 type16, quint32 type32, const QPolygon& points) {
    const bool short16 = FitsIn16Bits(points);
    TFields fields;
    AddRectl(fields, points.boundingRect());
    fields.U32(quint32(points.size()));
    for (const QPoint& point : points) {
        if (short16)
            fields.I16(point.x()).I16(point.y());
        else
            fields.I32(point.x()).I32(point.y());
    }
    Emit(short16 ? type16 : type32, fields);
}

void TEmfWriter::Polyline(const QPolygon& points) {
    if (points.size() >= 2)
        PointList(EmrPolyline16, EmrPolyline, points);
}

void TEmfWriter::Polygon(const QPolygon& points) {
    if (points.size() >= 2)
        PointList(EmrPolygon16, EmrPolygon, points);
}

void TEmfWriter::Rectangle(const QRect& box) {
    TFields fields;
    AddBox(fields, box);
    Emit(EmrRectangle, fields);
}

void TEmfWriter::Ellipse(const QRect& box) {
    TFields fields;
    AddBox(fields, box);
    Emit(EmrEllipse, fields);
}

void TEmfWriter::Text(const TGdiText& text) {
    // Fixed part: record header, bounds, graphics mode, two scales, then the EmrText fields up to offDx.
    constexpr int StringOffset = 76;
    const QByteArray string = Utf16Of(text.text);
    const int dxOffset = StringOffset + PaddedTo4(string.size());
    TFields fields;
    AddRectl(fields, text.bounds);
    fields.U32(GraphicsModeCompatible)
        .F32(float(HundredthsMmPerPixel))
        .F32(float(HundredthsMmPerPixel))
        .I32(text.origin.x())
        .I32(text.origin.y())
        .U32(quint32(text.text.size()))
        .U32(StringOffset)
        .U32(0) // no clipping or opaque rectangle
        .Zeros(16)
        .U32(quint32(dxOffset))
        .Raw(string)
        .Zeros(PaddedTo4(string.size()) - string.size());
    for (qsizetype i = 0; i < text.text.size(); ++i)
        fields.I32(i < qsizetype(text.advances.size()) ? text.advances[i] : 0);
    Emit(EmrExtTextOutW, fields);
}

void TEmfWriter::Image(const QRect& target, const QImage& picture) {
    // Fixed part before the bitmap information: record header, bounds and fourteen 32-bit fields.
    constexpr int InfoOffset = 80;
    const TDib dib = DibOf(picture);
    TFields fields;
    AddRectl(fields, target);
    fields.I32(target.x())
        .I32(target.y())
        .I32(0)
        .I32(0)
        .I32(picture.width())
        .I32(picture.height())
        .U32(InfoOffset)
        .U32(quint32(dib.info.size()))
        .U32(quint32(InfoOffset + dib.info.size()))
        .U32(quint32(dib.bits.size()))
        .U32(0) // colours are RGB values
        .U32(RasterSourceCopy)
        .I32(target.width())
        .I32(target.height())
        .Raw(dib.info)
        .Raw(dib.bits);
    Emit(EmrStretchDiBits, fields);
}

void TEmfWriter::WriteCreatePen(int index, const TGdiPen& pen) {
    Emit(EmrExtCreatePen, TFields()
                              .U32(quint32(index))
                              .U32(0) // no pattern bitmap
                              .U32(0)
                              .U32(0)
                              .U32(0)
                              .U32(PenGeometric | pen.style)
                              .U32(quint32(pen.width))
                              .U32(0) // solid brush
                              .U32(pen.color)
                              .U32(0)
                              .U32(0)   // no custom dash entries
                              .U32(0)); // room for one entry, which some readers expect in every pen record
}

void TEmfWriter::WriteCreateBrush(int index, const TGdiBrush& brush) {
    Emit(EmrCreateBrushIndirect,
         TFields().U32(quint32(index)).U32(brush.style).U32(brush.color).U32(brush.hatch));
}

void TEmfWriter::WriteCreateFont(int index, const TGdiFont& font) {
    const QByteArray face = Utf16Of(font.face.left(FaceNameChars - 1));
    Emit(EmrExtCreateFontIndirectW, TFields()
                                        .U32(quint32(index))
                                        .I32(font.height)
                                        .I32(0)
                                        .I32(font.escapement)
                                        .I32(font.escapement)
                                        .I32(font.weight)
                                        .U8(font.italic)
                                        .U8(font.underline)
                                        .U8(font.strikeOut)
                                        .U8(CharsetDefault)
                                        .U32(0) // default precision, clipping, quality, pitch and family
                                        .Raw(face)
                                        .Zeros(FaceNameChars * 2 - face.size())
                                        .Zeros(LogFontPanoseBytes - LogFontBytes));
}

void TEmfWriter::WriteSelect(int index) {
    Emit(EmrSelectObject, TFields().U32(quint32(index)));
}

void TEmfWriter::WriteDelete(int index) {
    Emit(EmrDeleteObject, TFields().U32(quint32(index)));
}

void TEmfWriter::WriteTextColor(quint32 color) {
    Emit(EmrSetTextColor, TFields().U32(color));
}

void TEmfWriter::WritePolyFillMode(bool winding) {
    Emit(EmrSetPolyFillMode, TFields().U32(winding ? 2 : 1));
}

void TEmfWriter::WriteSaveDC() {
    Emit(EmrSaveDC, TFields());
}

void TEmfWriter::WriteRestoreDC() {
    Emit(EmrRestoreDC, TFields().I32(-1));
}

void TEmfWriter::WriteIntersectClip(const QRect& clip) {
    TFields fields;
    AddBox(fields, clip);
    Emit(EmrIntersectClipRect, fields);
}

QByteArray TEmfWriter::Header(int recordCount, qsizetype bodyBytes, qsizetype largestRecord) const {
    Q_UNUSED(largestRecord)
    // The header ends with both extensions (pixel format, micrometres); the description follows it.
    constexpr int DescriptionOffset = 108;
    const QByteArray description = Utf16Of(Description);
    const int headerBytes = DescriptionOffset + PaddedTo4(description.size());
    const QSize size = PictureSize();
    TFields header;
    header.U32(EmrHeader).U32(quint32(headerBytes));
    AddRectl(header, QRect(QPoint(0, 0), size));
    AddBox(header, QRect(0, 0, qRound(size.width() * HundredthsMmPerPixel),
                         qRound(size.height() * HundredthsMmPerPixel)));
    header.U32(Signature)
        .U32(FormatVersion)
        .U32(quint32(headerBytes + bodyBytes))
        .U32(quint32(recordCount + 1))
        .U16(quint16(ObjectTableSize()))
        .U16(0)
        .U32(quint32(Description.size()))
        .U32(DescriptionOffset)
        .U32(0) // no palette
        .I32(DevicePixelsX)
        .I32(DevicePixelsY)
        .I32(DeviceMillimetresX)
        .I32(DeviceMillimetresY)
        .U32(0) // no pixel format
        .U32(0)
        .U32(0) // not OpenGL
        .U32(DeviceMillimetresX * 1000)
        .U32(DeviceMillimetresY * 1000)
        .Raw(description)
        .Zeros(PaddedTo4(description.size()) - description.size());
    return header.Data();
}

QByteArray TEmfWriter::EndRecord() const {
    // No palette entries; the palette offset points just past the fixed fields, and the last field repeats
    // the size.
    constexpr quint32 EofBytes = 20;
    return Record(EmrEof, TFields().U32(0).U32(16).U32(EofBytes));
}

} // namespace mirla
