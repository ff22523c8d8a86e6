#include "plots/ChartWindow.h"

#include "app/core/CalcSettings.h"
#include "plotlib/PictureFiles.h"
#include "plots/ScreenPlacement.h"
#include "runtime/SettingsFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QToolBar>
#include <QToolButton>

namespace mirla {

TfmChartWindow::TfmChartWindow(TVtChart::TKind kind, const char* formName, const std::string& settingsFile,
                               QWidget* parent)
    : QMainWindow(parent), m_formName(formName), m_settingsFile(settingsFile) {
    setObjectName(QString::fromLatin1(formName));
    m_chart = new TVtChart(kind, this);
    m_chart->setObjectName(QStringLiteral("Chart"));
    setCentralWidget(m_chart);
    BuildCommands();
    m_toolBar = addToolBar(QStringLiteral("Chart"));
    m_toolBar->setObjectName(QStringLiteral("tbChart"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(PlotToolIconSize, PlotToolIconSize));
    m_toolBar->addActions({acPrint, acSaveAs, acShowLegend, acCopy, acPaste, acData});
    m_toolBar->addSeparator();
    // "Save As..." offers its formats in a menu that drops from the button at once.
    if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(acSaveAs)))
        button->setPopupMode(QToolButton::InstantPopup);
}

QAction* TfmChartWindow::AddCommand(const char* name, const QIcon& icon, const QString& menuText,
                                    const QString& hint) {
    QAction* action = AddEntry(name, menuText);
    action->setIcon(icon);
    action->setToolTip(hint);
    return action;
}

QAction* TfmChartWindow::AddEntry(const char* name, const QString& menuText) {
    auto* action = new QAction(menuText, this);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void TfmChartWindow::BuildCommands() {
    acPrint = AddCommand("acPrint", PlotToolIcon(TPlotTool::Print), QStringLiteral("&Print"),
                         QStringLiteral("Print"));
    acPrint->setShortcut(QKeySequence::Print);
    connect(acPrint, &QAction::triggered, m_chart, &TVtChart::Print);
    miPrintSetup = AddEntry("miPrintSetup", QStringLiteral("Print &Setup"));
    connect(miPrintSetup, &QAction::triggered, m_chart, &TVtChart::PrintSetup);

    pmSave = new QMenu(this);
    pmSave->setObjectName(QStringLiteral("pmSave"));
    QAction* pmBmp = pmSave->addAction(QStringLiteral("&Save as BMP..."), this, &TfmChartWindow::SaveAsBmp);
    pmBmp->setObjectName(QStringLiteral("pmSaveBmp"));
    QAction* pmWmf =
        pmSave->addAction(QStringLiteral("Save as &Metafile..."), this, &TfmChartWindow::SaveAsWmf);
    pmWmf->setObjectName(QStringLiteral("pmSaveMetafile"));
    QAction* pmPicture =
        pmSave->addAction(QStringLiteral("Save as &Picture..."), this, &TfmChartWindow::SaveAsPicture);
    pmPicture->setObjectName(QStringLiteral("pmSavePicture"));
    acSaveAs = AddCommand("acSaveAs", PlotToolIcon(TPlotTool::SaveAs), QStringLiteral("Save &As"),
                          QStringLiteral("Save As..."));
    acSaveAs->setMenu(pmSave);
    miSaveBmp = AddEntry("miSaveBmp", QStringLiteral("Save as BMP..."));
    connect(miSaveBmp, &QAction::triggered, this, &TfmChartWindow::SaveAsBmp);
    miSaveWmf = AddEntry("miSaveWmf", QStringLiteral("Save as &WMF..."));
    connect(miSaveWmf, &QAction::triggered, this, &TfmChartWindow::SaveAsWmf);
    miSavePicture = AddEntry("miSavePicture", QStringLiteral("Save as P&icture..."));
    miSavePicture->setShortcut(QKeySequence::Save);
    connect(miSavePicture, &QAction::triggered, this, &TfmChartWindow::SaveAsPicture);

    acShowLegend = AddCommand("acShowLegend", PlotToolIcon(TPlotTool::Legend), QStringLiteral("Show &Legend"),
                              QStringLiteral("Show legend"));
    connect(acShowLegend, &QAction::triggered, this, &TfmChartWindow::ShowLegendClick);
    acCopy = AddCommand("acCopy", PlotToolIcon(TPlotTool::Copy), QStringLiteral("&Copy"),
                        QStringLiteral("Copy to clipbord"));
    acCopy->setShortcut(QKeySequence::Copy);
    connect(acCopy, &QAction::triggered, m_chart, &TVtChart::CopyToClipboard);
    acPaste = AddCommand("acPaste",
                         QIcon::fromTheme(QStringLiteral("edit-paste"), PlotToolIcon(TPlotTool::ImportData)),
                         QStringLiteral("&Paste"), QStringLiteral("Paste from clipboard"));
    acPaste->setShortcut(QKeySequence::Paste);
    connect(acPaste, &QAction::triggered, m_chart, &TVtChart::PasteFromClipboard);
    acData = AddCommand("acData", PlotToolIcon(TPlotTool::ExportData), QStringLiteral("&Data"),
                        QStringLiteral("Edit data"));
    connect(acData, &QAction::triggered, m_chart, &TVtChart::EditData);
    miProperties = AddEntry("miProperties", QStringLiteral("&Chart Properties"));
    connect(miProperties, &QAction::triggered, m_chart, &TVtChart::ShowProperties);
    miWizard = AddEntry("miWizard", QStringLiteral("&Wisard"));
    connect(miWizard, &QAction::triggered, m_chart, &TVtChart::ShowWizard);
    miExit = AddEntry("miExit", QStringLiteral("E&xit"));
    connect(miExit, &QAction::triggered, this, &QWidget::close);
}

void TfmChartWindow::BuildFileAndEditMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addActions({acPrint, miPrintSetup});
    file->addSeparator();
    file->addActions({miSaveBmp, miSaveWmf, miSavePicture});
    file->addSeparator();
    file->addAction(miExit);
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->addActions({acCopy, acPaste, acData});
}

void TfmChartWindow::ShowLegendClick() {
    TVtChartData& model = m_chart->Model();
    model.ShowLegend = !model.ShowLegend;
    m_chart->Refresh();
}

void TfmChartWindow::SaveAsBmp() {
    SavePicture(QStringLiteral("Save to file as BMP"), {QStringLiteral("BMP files (*.BMP)")},
                QStringLiteral("BMP"));
}

void TfmChartWindow::SaveAsWmf() {
    SavePicture(QStringLiteral("Save to file as WMF"), {QStringLiteral("WMF files (*.WMF)")},
                QStringLiteral("WMF"));
}

void TfmChartWindow::SaveAsPicture() {
    SavePicture(QStringLiteral("Save to file"), PictureFilter().split(QStringLiteral(";;")),
                QStringLiteral("BMP"));
}

void TfmChartWindow::SavePicture(const QString& title, const QStringList& filters,
                                 const QString& defaultSuffix) {
    // The picture goes straight to the file: the user's clipboard is left as it is.
    QFileDialog dialog(this, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const TPictureFormat chosen =
        FormatOfPath(QLatin1Char('.') + dialog.defaultSuffix(), TPictureFormat::Bmp);
    const TPictureFormat format =
        filters.size() > 1
            ? FormatOfFilterIndex(static_cast<int>(filters.indexOf(dialog.selectedNameFilter())))
            : chosen;
    const QString path = WithPictureExtension(dialog.selectedFiles().constFirst(), format);
    const auto draw = [this](QPainter& painter, const QRect& target) {
        m_chart->DrawPicture(painter, target);
    };
    QString error;
    if (!WritePicture(draw, m_chart->size(), path, FormatOfPath(path, format), error))
        QMessageBox::critical(this, QStringLiteral("Error"), error);
}

void TfmChartWindow::ReadSettings(const TIniFile& ini) {
    const TWindowPlacement placement = TWindowPlacement::Read(ini, m_formName);
    RestoreOnVisibleScreen(*this, QRect(placement.Left, placement.Top, placement.Width, placement.Height));
}

void TfmChartWindow::WriteSettings(TIniFile& ini) const {
    const TWindowPlacement placement{x(), y(), width(), height()};
    placement.Write(ini, m_formName);
}

void TfmChartWindow::LoadSettings() {
    TIniFile ini;
    std::string message;
    if (m_settingsFile.empty() || !ini.Load(m_settingsFile, message))
        return;
    ReadSettings(ini);
}

void TfmChartWindow::SaveSettings() {
    if (m_settingsFile.empty() || !m_savesSettings)
        return;
    std::string message;
    if (!UpdateSettingsFile(
            m_settingsFile, [this](TIniFile& ini) { WriteSettings(ini); }, message))
        QMessageBox::critical(this, QStringLiteral("Error"), QString::fromStdString(message));
}

void TfmChartWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_shown = true;
    emit Shown();
}

void TfmChartWindow::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QMainWindow::closeEvent(event);
}

} // namespace mirla
