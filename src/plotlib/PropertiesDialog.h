#pragma once

#include "plotlib/PropertiesControls.h"

#include <QDialog>

#include <array>
#include <vector>

class QTabWidget;

namespace mirla {

class TOperationsPage;
class TPlot;
class TSeriesPage;

/// Page indices of the properties dialog, as the plot remembers the last one shown. Indices 4
/// ("Color Map") and 7 ("Contour") belong to pages of contour maps.
enum TPropertiesPageIndex {
    AxisPage = 0,
    TitlesPage = 1,
    SeriesPage = 2,
    LegendsPage = 3,
    ColorMapPage = 4,
    OperationsPage = 5,
    SettingsPage = 6,
    ContourPage = 7,
    Axis2Page = 8,
    InfoPage = 9
};

/// The plot's properties dialog: pages "Axis", "Titles", "Series", "Legends", "Operations",
/// "Settings", "Axis (2)" and "Info", and "Color Map" and "Contour" when the plot holds a contour
/// map; page indices are those of the settings: 0 "Axis", 1 "Titles", 2 "Series", 3 "Legends",
/// 4 "Color Map", 5 "Operations", 6 "Settings", 7 "Contour", 8 "Axis (2)", 9 "Info".
class TPlotPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    /// A dialog on `plot` showing page `page`; the first page when that page is hidden or missing.
    /// The plot's `PropertiesControl` decides which controls and pages are offered.
    TPlotPropertiesDialog(TPlot& plot, int page, QWidget* parent = nullptr);
    /// The page index (0..9 numbering) shown when the dialog closed.
    int CurrentPage() const;
    /// Copies the controls into the plot (OK and Apply call it); changes nothing when a field is
    /// invalid (see `Validate`).
    void Apply();
    /// Whether every field of the shown pages can be applied; otherwise `message` names the first
    /// field that cannot.
    bool Validate(QString& message);

    /// Number of page indices, including those of pages not built yet.
    static constexpr int PageCount = 10;

private:
    void AddPage(int index, const QString& caption, TPropertiesPage* page);
    void LinkSeriesLists(TSeriesPage& seriesPage, TOperationsPage* operations);
    std::optional<TFieldProblem> FirstProblem();
    bool ApplyIfValid();
    void ApplyPages();

    TPlot& m_plot;
    QTabWidget* m_tabs;
    std::array<TPropertiesPage*, PageCount> m_pages{};
    /// The pages in the order they copy into the plot.
    std::vector<TPropertiesPage*> m_applyOrder;
};

} // namespace mirla
