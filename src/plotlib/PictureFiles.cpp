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

void DrawOn(TGraph& graph, QPaintDevice& device, QSize size) {
    QPainter painter(&device);
    graph.Draw(painter, QRect(QPoint(0, 0), size), TDrawTarget::Export);
}

QByteArray ImageData(TGraph& graph, QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    DrawOn(graph, image, size);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, format) ? bytes : QByteArray();
}

QByteArray MetafileData(TGraph& graph, QSize size, TMetafileFormat format) {
    TMetafileDevice device(format, size);
    DrawOn(graph, device, size);
    return device.Bytes();
}

QByteArray SvgData(TGraph& graph, QSize size) {
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
    DrawOn(graph, clipped, size);
    return bytes;
}

QByteArray PdfData(TGraph& graph, QSize size) {
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
        DrawOn(graph, writer, size);
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

QByteArray PictureData(TGraph& graph, QSize size, TPictureFormat format) {
    if (size.isEmpty()) {
        return {};
    }
    switch (format) {
    case TPictureFormat::Bmp:
        return ImageData(graph, size, "BMP");
    case TPictureFormat::Png:
        return ImageData(graph, size, "PNG");
    case TPictureFormat::Wmf:
        return MetafileData(graph, size, TMetafileFormat::Wmf);
    case TPictureFormat::Emf:
        return MetafileData(graph, size, TMetafileFormat::Emf);
    case TPictureFormat::Svg:
        return SvgData(graph, size);
    case TPictureFormat::Pdf:
        return PdfData(graph, size);
    }
    return {};
}

bool WritePicture(TGraph& graph, QSize size, const QString& path, TPictureFormat format, QString& error) {
    const QByteArray bytes = PictureData(graph, size, format);
    QSaveFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
        !file.commit()) {
        error = QStringLiteral("Can't create file ") + path;
        return false;
    }
    return true;
}

} // namespace mirla
