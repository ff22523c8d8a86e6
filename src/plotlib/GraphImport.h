#pragma once

#include "plotlib/core/DataText.h"

#include <QDialog>

#include <string>
#include <string_view>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QTableView;

namespace mirla {

class TColorButton;
class TGraph;
class TImportGridModel;
class TSeries;
class TTextLinesModel;

/// "Links Fields": links each required field ("X", "Y") to one of the fields named in the first
/// line of the pasted text.
class TfmFields : public QDialog {
    Q_OBJECT
public:
    TfmFields(const std::vector<std::string>& inputNames, QWidget* parent = nullptr);
    /// The links made.
    const TFieldLinks& Links() const { return m_links; }
    /// "&Link": links the selected required field to the selected input field and shows the links;
    /// "Select both fields" when one side has no selection.
    void btLinkClick();

private:
    std::vector<std::string> m_inputNames;
    std::vector<std::string> m_requiredNames{"X", "Y"};
    TFieldLinks m_links;
    QListWidget* lbRequired = nullptr;
    QListWidget* lbInput = nullptr;
    QPlainTextEdit* meLinks = nullptr;
};

/// "Show data": the lines of an ASCII file, with the columns of X and Y and the delimiters.
class TfmFileData : public QDialog {
    Q_OBJECT
public:
    /// Shows `lines` (kept by the caller while the dialog lives) with the ticks of `delimiters`.
    TfmFileData(std::vector<std::string_view> lines, const TDelimiterSet& delimiters,
                QWidget* parent = nullptr);
    int XColumn() const { return m_xColumn; }
    int YColumn() const { return m_yColumn; }
    const TDelimiterSet& Delimiters() const { return m_delimiters; }
    /// Takes the choices, or shows what is wrong with them and stays open.
    void accept() override;

private:
    TTextLinesModel* m_lines = nullptr;
    QLineEdit* edXColumn = nullptr;
    QLineEdit* edYColumn = nullptr;
    QCheckBox* cbSpace = nullptr;
    QCheckBox* cbComma = nullptr;
    QCheckBox* cbTab = nullptr;
    QCheckBox* cbSlash = nullptr;
    QCheckBox* cbUser = nullptr;
    QLineEdit* edUser = nullptr;
    int m_xColumn = 1;
    int m_yColumn = 2;
    TDelimiterSet m_delimiters;
};

/// "Paste Series from Clipboard": fills a grid of X and Y texts from the clipboard or an ASCII
/// file and makes a series of it, or refills a target series, with the settings chosen here.
class TfmGraphImport : public QDialog {
    Q_OBJECT
public:
    /// The dialog on `graph`, filling `target` (a new series when nullptr); `delimiters` is the
    /// set kept between uses, which a file choice changes.
    TfmGraphImport(TGraph& graph, TSeries* target, TDelimiterSet& delimiters, QWidget* parent = nullptr);
    ~TfmGraphImport() override;
    /// Whether a series was made or changed.
    bool SeriesChanged() const { return m_changed; }
    /// The grid as it stands.
    const TImportGrid& Grid() const;

    /// "&Paste": the clipboard's lines split into the grid.
    void btPasteClick();
    /// "Paste by &Field Name": the clipboard's first line names the fields, "Links Fields" links
    /// them to X and Y, and the following lines fill the grid.
    void btPasteByNameClick();
    /// "Open": asks for an ASCII file and reads it.
    void btOpenClick();
    /// Reads the file at `path`, shows it in "Show data" and fills the grid with the chosen columns.
    void LoadFile(const QString& path);
    /// "&OK": the grid becomes the series; without a single row of two numbers nothing changes.
    void accept() override;

private:
    void BuildSettings();
    void ShowSettingsOf(const TSeries& series);
    void ApplySettings(TSeries& series) const;
    /// Splits many lines with a progress bar that appears after a second and offers "Stop";
    /// false when stopped (the grid is then emptied).
    template <typename Split> bool SplitWithProgress(const QString& what, Split split);

    TGraph& m_graph;
    TSeries* m_target;
    TDelimiterSet& m_delimiters;
    bool m_changed = false;
    std::string m_text;
    TImportGridModel* m_grid = nullptr;
    QTableView* sgData = nullptr;
    QLineEdit* edName = nullptr;
    QComboBox* cbStyle = nullptr;
    QComboBox* cbLineStyle = nullptr;
    TColorButton* btColor = nullptr;
    QSpinBox* udWidth = nullptr;
    QSpinBox* udMarker = nullptr;
    QCheckBox* cbShowInLegend = nullptr;
};

} // namespace mirla
