#include "plotlib/PictureFiles.h"

#include "plotlib/ClippingDevice.h"
#include "plotlib/Graph.h"
#include "plotlib/MetafileDevice.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <array>

namespace mirla {

namespace {

/// The formats in filter order with their extensions.
constexpr std::array<TPictureFormat, 6> Formats = {TPictureFormat::Bmp, TPictureFormat::Wmf,
                                                   TPictureFormat::Emf, TPictureFormat::Png,
                                                   TPictureFormat::Svg, TPictureFormat::Pdf};
constexpr std::array<const char*, 6> Names = {"BMP", "WMF", "EMF", "PNG", "SVG", "PDF"};

/// Screen pixels per inch: pictures keep the size they have on the screen.
constexpr int PixelsPerInch = 96;

void DrawOn(const TPictureDrawing& draw, QPaintDevice& device, QSize size) {
    QPainter painter(&device);
    draw(painter, QRect(QPoint(0, 0), size));
}

TPictureDrawing GraphDrawing(TGraph& graph) {
    return [&graph](QPainter& painter, const QRect& target) {
        graph.Draw(painter, target, TDrawTarget::Export);
    };
}

QByteArray ImageData(const TPictureDrawing& draw, QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    DrawOn(draw, image, size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format) ? bytes : QByteArray();
}

QByteArray MetafileData(const TPictureDrawing& draw, QSize size, TMetafileFormat format) {
    TMetafileDevice device(format, size);
    DrawOn(draw, device, size);
    return device.Bytes();
}

QByteArray SvgData(const TPictureDrawing& draw, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(PixelsPerInch);
    generator.setTitle(QStringLiteral("Mirla plot"));
    // The SVG writer ignores clipping: the clip is applied to the drawing before it.
    TClippingDevice clipped(generator);
    DrawOn(draw, clipped, size);
    return bytes;
}

QByteArray PdfData(const TPictureDrawing& draw, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Mirla"));
        writer.setResolution(PixelsPerInch);
        // One page exactly the size of the picture, without margins.
        const QSizeF points = QSizeF(size) * 72.0 / PixelsPerInch;
        writer.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        DrawOn(draw, writer, size);
    }
    return bytes;
}

} // namespace

QString PictureFilter() {
    QStringList entries;
    for (const char* name : Names) {
        entries << QStringLiteral("%1 files (*.%1)").arg(QLatin1String(name));
    }
    return entries.join(QStringLiteral(";;"));
}

TPictureFormat FormatOfFilterIndex(int index) {
    return index >= 0 && index < static_cast<int>(Formats.size()) ? Formats[index] : TPictureFormat::Bmp;
}

QString PictureExtension(TPictureFormat format) {
    return QLatin1Char('.') + QLatin1String(Names[static_cast<int>(format)]);
}

QString WithPictureExtension(const QString& path, TPictureFormat format) {
    if (!QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    QString bare = path;
    // "plot." has no extension either; it must not become "plot..BMP".
    while (bare.endsWith(QLatin1Char('.'))) {
        bare.chop(1);
    }
    return bare + PictureExtension(format).toLower();
}

TPictureFormat FormatOfPath(const QString& path, TPictureFormat chosen) {
    const QString suffix = QFileInfo(path).suffix().toUpper();
    for (TPictureFormat format : Formats) {
        if (suffix == QLatin1String(Names[static_cast<int>(format)])) {
            return format;
        }
    }
    return chosen;
}

QByteArray PictureData(const TPictureDrawing& draw, QSize size, TPictureFormat format) {
    if (size.isEmpty()) {
        return {};
    }
    switch (format) {
    case TPictureFormat::Bmp:
        return ImageData(draw, size, "BMP");
    case TPictureFormat::Png:
        return ImageData(draw, size, "PNG");
    case TPictureFormat::Wmf:
        return MetafileData(draw, size, TMetafileFormat::Wmf);
    case TPictureFormat::Emf:
        return MetafileData(draw, size, TMetafileFormat::Emf);
    case TPictureFormat::Svg:
        return SvgData(draw, size);
    case TPictureFormat::Pdf:
        return PdfData(draw, size);
    }
    return {};
}

QByteArray PictureData(TGraph& graph, QSize size, TPictureFormat format) {
    return PictureData(GraphDrawing(graph), size, format);
}

bool WritePicture(const TPictureDrawing& draw, QSize size, const QString& path, TPictureFormat format,
                  QString& error) {
    const QByteArray bytes = PictureData(draw, size, format);
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        error = QStringLiteral("Can't create file ") + path;
        return false;
    }
    return true;
}

bool WritePicture(TGraph& graph, QSize size, const QString& path, TPictureFormat format, QString& error) {
    return WritePicture(GraphDrawing(graph), size, path, format, error);
}

} // namespace mirla
