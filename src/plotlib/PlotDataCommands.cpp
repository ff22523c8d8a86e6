// The plot's data commands: importing and exporting series, DXF drawings and layer text files.
#include "plotlib/DataFiles.h"
#include "plotlib/DxfDevice.h"
#include "plotlib/GraphExport.h"
#include "plotlib/GraphImport.h"
#include "plotlib/LayerFiles.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace mirla {

namespace {

/// A file name chosen in a save dialog of `title` with `filter`, with `extension` appended when
/// it has none; empty when the user cancelled.
QString AskSaveFile(QWidget* parent, const QString& title, const QString& filter, const QString& extension) {
    QString path = QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                                QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += extension;
    return path;
}

const QString LayerFilter = QStringLiteral("Layer text files (*.TXT *.txt);;All files (*)");

} // namespace

bool TPlot::PasteSeries(TSeries* target) {
    TfmGraphImport dialog(*m_graph, target, ImportDelimiters, this);
    dialog.exec();
    if (!dialog.SeriesChanged())
        return false;
    Refresh();
    return true;
}

void TPlot::AddPasteEntry(QMenu& menu, TSeries& series) {
    QAction* paste = menu.addAction(QStringLiteral("&Paste"));
    paste->setObjectName(QStringLiteral("miPaste"));
    connect(paste, &QAction::triggered, this, [this, &series] { PasteSeries(&series); });
}

void TPlot::ExportSeries() {
    TfmExports dialog(*m_graph, this);
    dialog.exec();
}

void TPlot::SaveAsDxf() {
    const QString path = AskSaveFile(this, QStringLiteral("Save as DXF"),
                                     QStringLiteral("DXF files (*.DXF *.dxf)"), QStringLiteral(".DXF"));
    if (!path.isEmpty())
        SaveDxfTo(path);
}

bool TPlot::SaveDxfTo(const QString& path) {
    QString error;
    if (WriteGraphDxf(*m_graph, PictureSize(), path, error))
        return true;
    QMessageBox::critical(this, QApplication::applicationName(), error);
    return false;
}

void TPlot::SaveLayers() {
    const QString path =
        AskSaveFile(this, QStringLiteral("Save Layers"), LayerFilter, QStringLiteral(".TXT"));
    if (!path.isEmpty())
        SaveLayersTo(path);
}

bool TPlot::SaveLayersTo(const QString& path) {
    QString error;
    if (WriteDataFile(path, LayersText(*m_graph), error))
        return true;
    QMessageBox::critical(this, QApplication::applicationName(), error);
    return false;
}

void TPlot::LoadLayers(bool replaceByName) {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Load Layers"), QString(),
                                                      LayerFilter, nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        LoadLayersFrom(path, replaceByName);
}

bool TPlot::LoadLayersFrom(const QString& path, bool replaceByName) {
    std::string text;
    QString error;
    std::string fault;
    if (!ReadDataFile(path, text, error)) {
        QMessageBox::critical(this, QApplication::applicationName(), error);
        return false;
    }
    if (!LoadLayersText(*m_graph, text, replaceByName, fault)) {
        QMessageBox::critical(this, QApplication::applicationName(),
                              QStringLiteral("Cannot load %1, %2").arg(path, QString::fromStdString(fault)));
        return false;
    }
    Refresh();
    return true;
}

} // namespace mirla
