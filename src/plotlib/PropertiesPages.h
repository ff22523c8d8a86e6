#pragma once

#include "plotlib/Axis.h"
#include "plotlib/PropertiesControls.h"

#include <QGroupBox>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace mirla {

class TAbstractLegend;
class TGraph;
class TPlot;
class TSeries;
struct TGraphTitle;

/// One axis the axis page offers, with the switches the host set for it.
struct TAxisChoice {
    TAxis* Axis = nullptr;
    QString Caption; ///< radio button caption with its & accelerator
    bool LogDisabled = false;
    bool InvertDisabled = false;
};

/// Edits two axes (X and Y, or the second X and Y): the radio buttons choose which one the controls
/// show; the edits of both are kept until Apply.
class TAxisPage : public TPropertiesPage {
public:
    /// A page for the two axes of `choices`; `graph` gives the current limits of automatic axes.
    TAxisPage(const TGraph& graph, const std::array<TAxisChoice, 2>& choices, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override;
    void Apply() override;

private:
    /// The edits of one axis; limits and position stay text until they are checked.
    struct TDraft {
        QString Name;
        QString MinimumText;
        QString MaximumText;
        QString PositionText;
        bool AutoMin = true;
        bool AutoMax = true;
        bool Log = false;
        bool Invert = false;
        bool Grid = false;
        bool Visible = true;
        bool MajorLineVisible = true;
        TColor Color = clBlack;
        TColor GridColor = clSilver;
        TFontSpec Font;
        TFontSpec NameFont;
        TAxisTicks Ticks;
        TAxisLabelStyle LabelStyle = asFloat;
        TAxisLabelDirection LabelDirection = adHorizontal;
        TAxisLocation Location = alOutside;
        int TickFrequency = 1;
    };
    static TDraft DraftOf(const TGraph& graph, const TAxis& axis);
    void BuildControls();
    void ShowDraft(int index);
    void KeepShownDraft();
    void SelectAxis(int index);
    void UpdateEnabled();
    std::optional<TFieldProblem> CheckDraft(int index);
    void ApplyDraft(const TDraft& draft, TAxis& axis) const;

    std::array<TAxisChoice, 2> m_choices;
    std::array<TDraft, 2> m_drafts;
    int m_shown = 0;
    std::array<QRadioButton*, 2> m_axisButtons{};
    QLineEdit* m_name = nullptr;
    QLineEdit* m_minimum = nullptr;
    QLineEdit* m_maximum = nullptr;
    QCheckBox* m_autoMin = nullptr;
    QCheckBox* m_autoMax = nullptr;
    QCheckBox* m_log = nullptr;
    QCheckBox* m_invert = nullptr;
    QCheckBox* m_grid = nullptr;
    TColorButton* m_gridColor = nullptr;
    QCheckBox* m_visible = nullptr;
    QCheckBox* m_majorLine = nullptr;
    TColorButton* m_color = nullptr;
    TFontButton* m_font = nullptr;
    TFontButton* m_nameFont = nullptr;
    QComboBox* m_tickDirection = nullptr;
    QSpinBox* m_majorLength = nullptr;
    QSpinBox* m_minorLength = nullptr;
    QCheckBox* m_majorVisible = nullptr;
    QCheckBox* m_minorVisible = nullptr;
    QComboBox* m_labelStyle = nullptr;
    QComboBox* m_labelDirection = nullptr;
    QSpinBox* m_tickFrequency = nullptr;
    QComboBox* m_location = nullptr;
    QLineEdit* m_position = nullptr;
};

/// The controls of one title (the title above or the foot below the plot).
class TTitleBox : public QGroupBox {
public:
    /// A group box captioned `caption` showing `title`.
    TTitleBox(const QString& caption, const TGraphTitle& title, QWidget* parent = nullptr);
    /// Copies the controls into `title`.
    void ApplyTo(TGraphTitle& title) const;

private:
    QLineEdit* m_text;
    TFontButton* m_font;
    QComboBox* m_alignment;
    QComboBox* m_style;
    QCheckBox* m_visible;
};

/// The title and the foot of the plot.
class TTitlesPage : public TPropertiesPage {
public:
    explicit TTitlesPage(TGraph& graph, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override { return std::nullopt; }
    void Apply() override;

private:
    TGraph& m_graph;
    TTitleBox* m_title;
    TTitleBox* m_foot;
};

/// The series of the graph: the look of each, and deleting them. Edits and deletions wait for Apply.
class TSeriesPage : public TPropertiesPage {
public:
    /// A page listing the series of `graph`; `styleDisabled` locks the style list.
    TSeriesPage(TGraph& graph, bool styleDisabled, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override { return std::nullopt; }
    void Apply() override;
    /// Lists a series added to the graph while the page is open.
    void AddSeries(TSeries& series);
    /// Locks the derivative button.
    void DisableDerivative();

    /// Told of the derivative the page added, after the page listed it.
    std::function<void(TSeries&)> SeriesAdded;

private:
    /// The edits of one series.
    struct TDraft {
        TSeries* Series = nullptr;
        QString Name;
        bool Visible = true;
        TColor Color = clBlack;
        int Style = ssLine;
        TMarkerStyle MarkerStyle = msNone;
        int MarkerSize = 4;
        int MarkerStep = 1;
        TColor MarkerColor = clBlack;
        TColor MarkerFillColor = clWhite;
        bool MarkersVisible = true;
        TPenStyle LineStyle = psSolid;
        int LineWidth = 1;
    };
    static TDraft DraftOf(TSeries& series);
    void BuildControls();
    void ShowDraft(int row);
    void KeepShownDraft();
    void DeleteShown();
    void ApplyDraft(const TDraft& draft) const;
    void DeleteSeries(TSeries* series) const;

    TGraph& m_graph;
    bool m_styleDisabled;
    std::vector<TDraft> m_drafts;
    std::vector<TSeries*> m_deleted;
    int m_shown = -1;
    QListWidget* m_list = nullptr;
    QPushButton* m_derivative = nullptr;
    QWidget* m_editors = nullptr;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_visible = nullptr;
    TColorButton* m_color = nullptr;
    QComboBox* m_style = nullptr;
    QComboBox* m_markerStyle = nullptr;
    QSpinBox* m_markerSize = nullptr;
    QSpinBox* m_markerStep = nullptr;
    TColorButton* m_markerColor = nullptr;
    TColorButton* m_markerFillColor = nullptr;
    QCheckBox* m_markersVisible = nullptr;
    QComboBox* m_lineStyle = nullptr;
    QSpinBox* m_lineWidth = nullptr;
};

/// The controls of one legend (the line legend or the colour legend).
class TLegendBox : public QGroupBox {
public:
    /// A group box captioned `caption` showing `legend`.
    TLegendBox(const QString& caption, const TAbstractLegend& legend, QWidget* parent = nullptr);
    /// Copies the controls into `legend`.
    void ApplyTo(TAbstractLegend& legend) const;

private:
    QCheckBox* m_visible;
    QComboBox* m_style;
    TColorButton* m_backColor;
    QCheckBox* m_transparent;
    QCheckBox* m_shadowVisible;
    TColorButton* m_shadowColor;
    QSpinBox* m_shadowThickness;
    QCheckBox* m_frameVisible;
    TColorButton* m_frameColor;
    QSpinBox* m_frameThickness;
    QComboBox* m_frameStyle;
    TFontButton* m_font;
};

/// The line legend and the colour legend.
class TLegendsPage : public TPropertiesPage {
public:
    explicit TLegendsPage(TGraph& graph, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override { return std::nullopt; }
    void Apply() override;

private:
    TGraph& m_graph;
    TLegendBox* m_legend;
    TLegendBox* m_colorLegend;
};

/// Colours, 3-D look, marker clipping, bar arrangement, logarithm floor, frame, gradient and status
/// bar of the plot.
class TSettingsPage : public TPropertiesPage {
public:
    /// A page for `plot`; `view3DDisabled` locks the 3-D field.
    TSettingsPage(TPlot& plot, bool view3DDisabled, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override;
    void Apply() override;

private:
    TPlot& m_plot;
    double m_view3D = 0;
    double m_minimumLogValue = 0;
    TColorButton* m_color;
    TColorButton* m_backColor;
    QLineEdit* m_view3DField;
    QCheckBox* m_clipMarkers;
    QComboBox* m_barStyle;
    QLineEdit* m_minimumLogField;
    TColorButton* m_frameColor;
    QSpinBox* m_frameWidth;
    QCheckBox* m_frameVisible;
    QComboBox* m_gradientStyle;
    TColorButton* m_gradientStart;
    TColorButton* m_gradientEnd;
    QCheckBox* m_gradientVisible;
    QCheckBox* m_statusBarVisible;
};

/// The info bubble: its look and what it shows.
class TInfoPage : public TPropertiesPage {
public:
    /// A page for the bubble of `graph`; `showPanelHidden` hides the panel of what it shows.
    TInfoPage(TGraph& graph, bool showPanelHidden, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override { return std::nullopt; }
    void Apply() override;

private:
    TGraph& m_graph;
    QComboBox* m_style;
    QComboBox* m_position;
    TColorButton* m_color;
    QCheckBox* m_visible;
    QSpinBox* m_digits;
    TFontButton* m_font;
    QGroupBox* m_showPanel;
    QCheckBox* m_pointVisible;
    QLineEdit* m_pointName;
    QCheckBox* m_seriesVisible;
    QLineEdit* m_seriesName;
    QLineEdit* m_formatX;
    QLineEdit* m_formatY;
};

} // namespace mirla
