#pragma once

#include "plotlib/PrintPage.h"

#include <QDialog>
#include <QPrinter>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPrintPreviewWidget;
class QSpinBox;
class QTabWidget;

namespace mirla {

/// The print preview "Print Preview": the page drawn by the same routine as the printer's, with
/// zoom commands.
class TPreView : public QDialog {
    Q_OBJECT
public:
    /// A preview of what `paint` draws on `printer`.
    TPreView(QPrinter& printer, std::function<void(QPrinter&)> paint, QWidget* parent = nullptr);
    /// The preview widget, for zooming and for tests.
    QPrintPreviewWidget* Preview() const { return m_preview; }

private:
    QPrintPreviewWidget* m_preview;
};

/// The print dialog "Print": the page layout (margins in millimetres or tenths of an inch,
/// orientation, copies, frames, which title blocks) on the "Page Layout" page, the contents of the
/// company and project blocks on the "Title Blocks" page, and the commands that print, preview,
/// print to PDF, save the settings and set up the printer.
class TPrintDlg : public QDialog {
    Q_OBJECT
public:
    /// A dialog that edits `setup` and prints `graphs`; margins and blocks are read from `iniFile`.
    TPrintDlg(TPageSetup& setup, std::vector<TGraph*> graphs, std::string iniFile, const TPrintTexts& texts,
              QWidget* parent = nullptr);
    ~TPrintDlg() override;

    /// Prints the page into a PDF file; false, with a message, when it cannot be written.
    bool PrintToPdf(const QString& path);
    /// Stores the margins and the stored title blocks in the settings file; false with a message.
    bool SaveSettings();
    /// The printer the page goes to.
    QPrinter& Printer() { return m_printer; }

    void done(int result) override;

private:
    QWidget* BuildLayoutPage();
    QWidget* BuildBlocksPage();
    void ShowMargins();
    void MarginChanged();
    void UnitsChanged();
    void ShowBlock(int block);
    void BlockEdited();
    /// Asks "New Logo not saved!" for an edited block and stores it on Yes.
    void ConfirmBlockSaved();
    void BlockChosen(int index);
    void BrowseClick();
    void FontClick();
    void PrintClick();
    void PreviewClick();
    void PdfClick();
    void SetupClick();
    bool WriteSettings(const std::function<void(TIniFile&)>& change);
    void Fail(const QString& message);

    TPageSetup& m_setup;
    std::vector<TGraph*> m_graphs;
    std::string m_iniFile;
    QPrinter m_printer{QPrinter::HighResolution};
    int m_shownBlock = static_cast<int>(TTitleBlock::CompanyLogo);
    bool m_blockEdited = false;
    bool m_filling = false;

    QTabWidget* pcPages = nullptr;
    std::array<QSpinBox*, 4> m_marginEdits{}; ///< left, right, top, bottom
    QButtonGroup* rgUnits = nullptr;
    QButtonGroup* rgOrientation = nullptr;
    QSpinBox* edCopies = nullptr;
    std::array<QCheckBox*, TitleBlockCount> m_blockChecks{};
    QCheckBox* cbPlotBorders = nullptr;
    QPlainTextEdit* mmDescription = nullptr;
    QComboBox* cbLogo = nullptr;
    QLineEdit* edImage = nullptr;
    QPlainTextEdit* mmLines = nullptr;
    QLineEdit* edFont = nullptr;
    QButtonGroup* rgJustify = nullptr;
};

} // namespace mirla
