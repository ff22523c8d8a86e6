#pragma once

#include "app/GraphicsShell.h"
#include "app/PageBase.h"
#include "app/core/CalcSettings.h"
#include "app/core/FieldValidator.h"
#include "app/core/PlotSampling.h"
#include "engine/Extended.h"
#include "plotlib/core/ContourGrid.h"
#include "plotlib/core/PlotTypes.h"

#include <QString>

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace mirla {

class TPlot;
class TSeries;

/// The "Graphics" page: the plot type, the X and Y ranges with their step counts, axis names,
/// title, legend, contour count and exaggeration, each numeric field guarded by a validator.
/// "&OK" checks the fields and samples the input line for the plot window of the chosen type.
class TGraphicsPage : public TShellPage<TGraphicsShell> {
    Q_OBJECT
public:
    /// The five plot types, in the order of the radio group.
    enum TPlotType { PlotFx = 0, PlotContour = 1, PlotShading = 2, SurfacePlot = 3, PolarPlot = 4 };

    TGraphicsPage(TGraphicsShell& shell, QWidget* parent);

    /// Pre-sets legend and title from the input line, then applies the current plot type.
    void Activate() override;
    /// Fills the fields and the step table from the settings and applies the plot type.
    void Load() override;
    /// Puts the plot type, the field texts as typed and the step table into the settings.
    void Save() override;
    /// Mirrors "f(" + line + ")" into the legend (f(X), surface, polar) or the title (maps).
    void InputLineChanged(const QString& text) override;

    /// The selected plot type, 0 to 4.
    int PlotType() const { return m_plotType; }
    /// Selects a plot type and applies its captions, fields and prompt (as a click would).
    void SetPlotType(int type);
    /// Complex mode: types 1 to 3 plot |f(X+Yi)| and f(X) and polar cannot be chosen.
    void SetComplexMode(bool complex);
    /// The exaggeration of the last accepted request (0 before any).
    Extended LastExaggeration() const { return m_lastExaggeration; }

private:
    /// The validated fields, in the order of the checks of "&OK".
    enum TField { StepsX, FromX, ToX, Exaggerate, StepsY, FromY, ToY, NumCont, FieldCount };

    /// One numeric field with its validator and its last text that passed while typing.
    struct TCheckedField {
        QLineEdit* Edit = nullptr;
        TFieldValidator Validator{"", TFieldKind::Integer, 0, 0};
        QString Accepted;
    };

    void BuildControls();
    QLineEdit* AddCheckedField(TField field, const char* objectName, TFieldValidator validator);
    void FieldEdited(TCheckedField& field, const QString& text);
    void StepsChanged(int tableOffset, TField field);
    void rgPlotClick(int type);
    void FixAxisNames();
    void FillStepFields();
    QString FunctionText();
    void btHelpClick();
    void bbOKClick();
    void btGraphFxClick();
    /// The X and Y sample points of the fields.
    TSampleGrid RequestedGrid() const;
    void PlotSurface();
    void PlotPolar();
    /// Prepares the input line (blanks removed, parentheses checked) as the engine's input text.
    void PrepareSampledText(const QString& line);
    /// Shows why a sampling stopped: the error in the result box and, unless the user broke
    /// off, "Cann't calculate this function"; the progress returns to 0.
    void ReportSamplingFailure();
    void btGraphFxyClick(bool shading);
    Extended ExtendedValue(TField field) const;
    bool CheckField(TField field);
    bool CheckOrder(TField low, TField high, const QString& message);
    void ShowError(const QString& message);
    double FieldValue(TField field) const;

    std::array<TCheckedField, FieldCount> m_fields;
    QButtonGroup* m_plotGroup = nullptr;
    std::array<QRadioButton*, 5> m_plotButtons{};
    QGroupBox* gbY = nullptr;
    QLineEdit* edX = nullptr;
    QLineEdit* edY = nullptr;
    QLineEdit* edTitle = nullptr;
    QLineEdit* edLegend = nullptr;
    QLabel* lbYAxis = nullptr;
    QLabel* lbTitle = nullptr;
    QLabel* lbLegend = nullptr;
    QLabel* lbNumCont = nullptr;
    QLabel* lbExaggerate = nullptr;
    QPushButton* sbColor = nullptr;

    int m_plotType = PlotFx;
    std::array<int, 2 * PlotTypeCount> m_stepTable = TCalcSettings().StepTable;
    Extended m_lastExaggeration = 0;
    bool m_complexMode = false;
    /// The grid of the last contour or shading request, kept until the next one.
    TContourGrid m_grid;
};

} // namespace mirla
