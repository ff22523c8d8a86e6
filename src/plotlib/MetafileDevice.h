#pragma once

#include <QByteArray>
#include <QImage>
#include <QPaintDevice>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace mirla {

/// A metric of a picture device of `size` pixels at 96 dpi in 24-bit colour (0 for metrics it does not know).
int PictureDeviceMetric(QPaintDevice::PaintDeviceMetric metric, QSize size);

/// Which metafile flavour a TMetafileDevice writes.
enum class TMetafileFormat { Wmf, Emf };

class TMetafilePaintEngine;

/// A paint device that records QPainter drawing as metafile records of the given size in pixels
/// (96 dpi). Paint on it with QPainter, end the painter, then Save.
class TMetafileDevice : public QPaintDevice {
public:
    /// Makes an empty picture; a size below 1 pixel becomes 1 (and the 16-bit format keeps at most 32767).
    TMetafileDevice(TMetafileFormat format, QSize sizeInPixels);
    ~TMetafileDevice() override;
    /// Writes the recorded picture; false with a message in `error` when the file cannot be written or
    /// a painter is still active on the device.
    bool Save(const QString& path, QString& error) const;
    /// The file bytes of the recorded picture.
    QByteArray Bytes() const;
    /// The engine that turns painter calls into records.
    QPaintEngine* paintEngine() const override;

protected:
    /// Size, resolution (96 dpi) and colour depth of the picture.
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<TMetafilePaintEngine> m_engine;
};

/// Metafile pen styles and the end-cap and join bits that go with them.
namespace GdiPenStyle {
constexpr quint32 Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Null = 5;
constexpr quint32 EndCapRound = 0x0000, EndCapSquare = 0x0100, EndCapFlat = 0x0200;
constexpr quint32 JoinRound = 0x0000, JoinBevel = 0x1000, JoinMiter = 0x2000;
constexpr quint32 LineStyleMask = 0x000F;
} // namespace GdiPenStyle

/// Metafile brush styles and hatch codes.
namespace GdiBrushStyle {
constexpr quint32 Solid = 0, Null = 1, Hatched = 2;
constexpr quint32 HatchHorizontal = 0, HatchVertical = 1, HatchForwardDiagonal = 2, HatchBackwardDiagonal = 3,
                  HatchCross = 4, HatchDiagonalCross = 5;
} // namespace GdiBrushStyle

/// A pen as the metafile formats describe it.
struct TGdiPen {
    quint32 style = GdiPenStyle::Solid; ///< line style with end-cap and join bits
    int width = 1;                      ///< width in pixels, at least 1
    quint32 color = 0;                  ///< colour as $00BBGGRR
    bool operator==(const TGdiPen&) const = default;
};

/// A brush as the metafile formats describe it.
struct TGdiBrush {
    quint32 style = GdiBrushStyle::Solid; ///< solid, null or hatched
    quint32 color = 0;                    ///< colour as $00BBGGRR
    quint32 hatch = 0;                    ///< hatch code of a hatched brush
    bool operator==(const TGdiBrush&) const = default;
};

/// A logical font as the metafile formats describe it.
struct TGdiFont {
    int height = -12;   ///< negative: character height in pixels without internal leading
    int escapement = 0; ///< baseline angle in tenths of a degree, counter-clockwise
    int weight = 400;   ///< 100 (thin) to 900 (black), 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face; ///< family name
    bool operator==(const TGdiFont&) const = default;
};

/// One run of text placed with its baseline start at `origin`.
struct TGdiText {
    QPoint origin;             ///< baseline start in pixels
    QString text;              ///< the characters (UTF-16)
    std::vector<int> advances; ///< advance in pixels after each UTF-16 unit along the baseline
    QRect bounds;              ///< the box the text covers, in pixels
};

/// Writes drawing as the records of one metafile format. This base keeps the object table (each pen,
/// brush and font replaced is deleted, so the table never grows), the text colour and fill mode, and the
/// rectangular clip (a SaveDC/IntersectClipRect section closed by RestoreDC); the formats spell the records.
class TMetafileWriter {
public:
    /// Appends little-endian fields to a record under construction.
    class TFields {
    public:
        TFields& U8(quint8 value);
        TFields& U16(quint16 value);
        TFields& I16(int value); ///< clamped to -32768..32767
        TFields& U32(quint32 value);
        TFields& I32(qint32 value);
        TFields& F32(float value);
        TFields& Raw(const QByteArray& bytes);
        TFields& Zeros(qsizetype count);
        const QByteArray& Data() const { return m_data; }

    private:
        QByteArray m_data;
    };

    virtual ~TMetafileWriter() = default;
    /// Makes `pen` current, creating its object unless it already is.
    void SetPen(const TGdiPen& pen);
    /// Makes `brush` current, creating its object unless it already is.
    void SetBrush(const TGdiBrush& brush);
    /// Makes `font` current, creating its object unless it already is.
    void SetFont(const TGdiFont& font);
    /// Sets the text colour ($00BBGGRR) unless it is already set.
    void SetTextColor(quint32 color);
    /// Chooses the non-zero winding rule (true) or the alternate rule for filled polygons.
    void SetWindingFill(bool winding);
    /// Clips later drawing to `clip` in pixels, or stops clipping when it is empty.
    void SetClipRect(const std::optional<QRect>& clip);
    /// An open line through the points with the current pen.
    virtual void Polyline(const QPolygon& points) = 0;
    /// A closed polygon outlined with the current pen and filled with the current brush.
    virtual void Polygon(const QPolygon& points) = 0;
    /// A rectangle between the corners of `box` with the current pen and brush.
    virtual void Rectangle(const QRect& box) = 0;
    /// The ellipse inscribed in `box` with the current pen and brush.
    virtual void Ellipse(const QRect& box) = 0;
    /// Text in the current font and text colour.
    virtual void Text(const TGdiText& text) = 0;
    /// An opaque picture stretched over `target`, stored as a 24-bit bitmap.
    virtual void Image(const QRect& target, const QImage& picture) = 0;
    /// The complete file: header, the records so far and the end record.
    QByteArray Bytes() const;

protected:
    /// `firstObjectIndex` is the lowest index the format gives a new object.
    TMetafileWriter(QSize size, int firstObjectIndex);
    QSize PictureSize() const { return m_size; }
    /// Appends one finished record.
    void AddRecord(const QByteArray& record);
    /// Number of entries the object table needs (highest index used + 1).
    int ObjectTableSize() const { return m_objectTableSize; }

    /// A 24-bit bottom-up device-independent bitmap split into its information header and pixel rows.
    struct TDib {
        QByteArray info;
        QByteArray bits;
    };
    static TDib DibOf(const QImage& picture);

    virtual void WriteCreatePen(int index, const TGdiPen& pen) = 0;
    virtual void WriteCreateBrush(int index, const TGdiBrush& brush) = 0;
    virtual void WriteCreateFont(int index, const TGdiFont& font) = 0;
    virtual void WriteSelect(int index) = 0;
    virtual void WriteDelete(int index) = 0;
    virtual void WriteTextColor(quint32 color) = 0;
    virtual void WritePolyFillMode(bool winding) = 0;
    virtual void WriteSaveDC() = 0;
    virtual void WriteRestoreDC() = 0;
    virtual void WriteIntersectClip(const QRect& clip) = 0;
    /// The file header for a body of `recordCount` records taking `bodyBytes`, the largest `largestRecord`.
    virtual QByteArray Header(int recordCount, qsizetype bodyBytes, qsizetype largestRecord) const = 0;
    /// The record that ends the file.
    virtual QByteArray EndRecord() const = 0;

private:
    /// The object of one kind that is selected now, and the one that was when the clip section began.
    template <class T> struct TSelection {
        T value{};
        int index = -1;
        int savedIndex = -1;
    };
    /// Drawing state that RestoreDC brings back.
    struct TDcState {
        std::optional<quint32> textColor;
        std::optional<bool> winding;
    };
    template <class T>
    void Select(TSelection<T>& selection, const T& value, void (TMetafileWriter::*create)(int, const T&));
    template <class T> void ReselectAfterRestore(TSelection<T>& selection);
    int AllocateObject();
    void DeleteObject(int index);

    QSize m_size;
    int m_firstObjectIndex;
    std::vector<bool> m_objectUsed;
    int m_objectTableSize;
    TSelection<TGdiPen> m_pen;
    TSelection<TGdiBrush> m_brush;
    TSelection<TGdiFont> m_font;
    TDcState m_dc;
    TDcState m_savedDc;
    std::optional<QRect> m_clip;
    QByteArray m_records;
    int m_recordCount = 0;
    qsizetype m_largestRecord = 0;
};

} // namespace mirla
