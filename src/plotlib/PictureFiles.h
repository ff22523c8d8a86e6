#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;
class QRect;

namespace mirla {

class TGraph;

/// The picture formats the plot saves.
enum class TPictureFormat { Bmp, Wmf, Emf, Png, Svg, Pdf };

/// The save dialog's filter, one entry per format in `TPictureFormat` order.
QString PictureFilter();
/// The format of a filter entry index (0 = BMP).
TPictureFormat FormatOfFilterIndex(int index);
/// The upper-case extension of a format with its dot (".BMP").
QString PictureExtension(TPictureFormat format);
/// `path` with the format's extension appended in lower case when it has none.
QString WithPictureExtension(const QString& path, TPictureFormat format);
/// The format a path's extension names (any case), or `chosen` when it names none of them.
TPictureFormat FormatOfPath(const QString& path, TPictureFormat chosen);
/// The graph drawn at `size` pixels as the bytes of a picture file of `format`; empty when it
/// cannot be drawn.
QByteArray PictureData(TGraph& graph, QSize size, TPictureFormat format);
/// Draws a picture into `target` with painter calls, whatever the device the format needs.
using TPictureDrawing = std::function<void(QPainter& painter, const QRect& target)>;
/// A drawing of `size` pixels as the bytes of a picture file of `format`; empty when it cannot be
/// drawn.
QByteArray PictureData(const TPictureDrawing& draw, QSize size, TPictureFormat format);
/// Writes a drawing of `size` pixels into a picture file of `format` (written to a temporary and
/// renamed); false with a message when the file cannot be written.
bool WritePicture(const TPictureDrawing& draw, QSize size, const QString& path, TPictureFormat format,
                  QString& error);
/// Draws the graph at `size` pixels into a picture file of `format` (written to a temporary and
/// renamed); false with a message when the file cannot be written.
bool WritePicture(TGraph& graph, QSize size, const QString& path, TPictureFormat format, QString& error);

} // namespace mirla
