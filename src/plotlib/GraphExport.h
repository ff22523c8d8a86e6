#pragma once

#include "plotlib/core/ExportText.h"

#include <QDialog>

#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListView;
class QListWidget;

namespace mirla {

class TGraph;
class TSeries;
class TTextLinesModel;

/// "Export": one series of the plot as delimited text, previewed, to the clipboard or a file.
class TfmExports : public QDialog {
    Q_OBJECT
public:
    /// Lists the series of `graph`, the last layer first, and previews the first of them.
    explicit TfmExports(TGraph& graph, QWidget* parent = nullptr);
    ~TfmExports() override;
    /// The preview lines.
    const std::vector<std::string>& Lines() const { return m_text.Lines; }
    /// Rebuilds the preview from the options; refused column numbers are reported and the
    /// focus goes to "X column".
    void RebuildPreview();
    /// "Copy to &Clipboard": the preview lines, each ended by a line feed.
    void btClipboardClick();
    /// "Copy to &file": asks for a file and writes the preview lines to it.
    void btFileClick();
    /// Writes the preview lines to `path`; reports a file that cannot be created.
    bool WriteTo(const QString& path);

private:
    void BuildOptions();
    void DelimiterClick(int id);
    void UserDelimiterDone();
    TSeries* SelectedSeries() const;
    TExportOptions Options() const;

    TGraph& m_graph;
    std::vector<TSeries*> m_series;
    std::vector<double> m_x;
    std::vector<double> m_y;
    TExportText m_text;
    char m_userDelimiter = ' ';
    TTextLinesModel* m_preview = nullptr;
    QListWidget* lbSeries = nullptr;
    QCheckBox* cbName = nullptr;
    QCheckBox* cbTitle = nullptr;
    QCheckBox* cbXAxis = nullptr;
    QCheckBox* cbYAxis = nullptr;
    QCheckBox* cbFoot = nullptr;
    QLineEdit* edXColumn = nullptr;
    QLineEdit* edYColumn = nullptr;
    QButtonGroup* rgDelimiters = nullptr;
    QLineEdit* edUserDelimiters = nullptr;
    QListView* lbPreview = nullptr;
    QCheckBox* cbClearClipboard = nullptr;
};

} // namespace mirla
