#include "app/GraphicsPage.h"

#include "app/core/CalcSettings.h"
#include "app/core/PlotSampling.h"
#include "engine/Engine.h"
#include "engine/EngineText.h"
#include "engine/InputPreparation.h"
#include "numbers/ComplexEvaluator.h"
#include "numbers/RealFormat.h"
#include "plotlib/Contour.h"
#include "plotlib/FunctionCurve.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"
#include "plots/ContourPlotWindow.h"
#include "plots/Plot2DWindow.h"
#include "plots/PolarWindow.h"
#include "plots/SurfaceWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>
#include <memory>

namespace mirla {

namespace {

constexpr std::uint8_t MapIntegralAgreement = 7;
constexpr std::uint8_t DefaultIntegralAgreement = 9;
constexpr int DefaultContourCount = 10;

const char* const RealTypeCaptions[] = {"Plot f(X)", "Contour Plot f(X,Y)", "Color Shading f(X,Y)", "Surface",
                                        "Polar"};
const char* const ComplexTypeCaptions[] = {"Plot f(X)", "Contour Plot Z=|f(X+Yi)|",
                                           "Color Shading Z=|f(X+Yi)|", "Surface Z=|f(X+Yi)|", "Polar"};
const char* const Prompts[] = {
    "To plot F(X) type you function in input line and click OK",
    "To plot contours Z:=F(X,Y) type you function in input line and click OK",
    "To plot color shade Z:=F(X,Y) type you function in input line and click OK",
    "To plot Z:=F(X,Y) type you function in input line and click OK",
    "To plot F(X) type you function in input line and click OK",
};
/// Help topics of plot types 0 to 3; polar curves have none.
const int HelpTopics[] = {10, 18, 19, 20};

bool IsMap(int type) {
    return type >= TGraphicsPage::PlotContour && type <= TGraphicsPage::SurfacePlot;
}

TFieldValidator Coordinate(const char* name) {
    return TFieldValidator(name, TFieldKind::Real, -MaxPlotCoordinate, MaxPlotCoordinate);
}

/// Holds the main window busy for one plot request: the page control is disabled, and the plot
/// window too, so that nothing can change its layers while the request fills one of them.
class TPlotRequestGuard {
public:
    TPlotRequestGuard(TGraphicsShell& shell, QWidget& plotWindow) : m_shell(shell), m_plotWindow(plotWindow) {
        m_shell.SetPlotting(true);
        m_plotWindow.setEnabled(false);
    }
    ~TPlotRequestGuard() {
        m_plotWindow.setEnabled(true);
        m_shell.SetPlotting(false);
    }
    TPlotRequestGuard(const TPlotRequestGuard&) = delete;
    TPlotRequestGuard& operator=(const TPlotRequestGuard&) = delete;

private:
    TGraphicsShell& m_shell;
    QWidget& m_plotWindow;
};

/// The hourglass for as long as a chart request samples.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace

TGraphicsPage::TGraphicsPage(TGraphicsShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    BuildControls();
    FillStepFields();
}

void TGraphicsPage::BuildControls() {
    auto* plotBox = new QGroupBox("Plot ", this);
    plotBox->setObjectName("rgPlot");
    auto* plotLayout = new QVBoxLayout(plotBox);
    m_plotGroup = new QButtonGroup(this);
    for (int type = 0; type < 5; ++type) {
        auto* button = new QRadioButton(RealTypeCaptions[type], plotBox);
        button->setObjectName(QString("rbPlot%1").arg(type));
        m_plotGroup->addButton(button, type);
        plotLayout->addWidget(button);
        m_plotButtons[static_cast<std::size_t>(type)] = button;
    }
    plotLayout->addStretch();
    m_plotButtons[0]->setChecked(true);
    connect(m_plotGroup, &QButtonGroup::idClicked, this, &TGraphicsPage::rgPlotClick);

    auto* gbX = new QGroupBox("X range", this);
    gbX->setObjectName("gbX");
    auto* xLayout = new QFormLayout(gbX);
    xLayout->addRow("min", AddCheckedField(FromX, "edFromX", Coordinate("Minimum X-coordinate")));
    xLayout->addRow("max", AddCheckedField(ToX, "edToX", Coordinate("Maximum X-coordinate")));
    xLayout->addRow("Num.of Steps", AddCheckedField(StepsX, "edStepsX",
                                                    TFieldValidator("Number of Steps", TFieldKind::Integer, 2,
                                                                    MaxPlotSteps)));
    gbY = new QGroupBox("Y range", this);
    gbY->setObjectName("gbY");
    auto* yLayout = new QFormLayout(gbY);
    yLayout->addRow("min", AddCheckedField(FromY, "edFromY", Coordinate("Minimum Y-coordinate")));
    yLayout->addRow("max", AddCheckedField(ToY, "edToY", Coordinate("Maximum Y-coordinate")));
    yLayout->addRow("Num.of Steps", AddCheckedField(StepsY, "edStepsY",
                                                    TFieldValidator("Number of Steps", TFieldKind::Integer, 0,
                                                                    MaxPlotSteps)));

    auto* names = new QGridLayout;
    auto addRow = [&](QLabel* label, QWidget* field) {
        const int row = names->rowCount();
        names->addWidget(label, row, 0);
        names->addWidget(field, row, 1);
    };
    auto makeLabel = [this](const char* text, const char* objectName) {
        auto* label = new QLabel(text, this);
        label->setObjectName(objectName);
        return label;
    };
    auto makeEdit = [this](const char* objectName) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(objectName);
        return edit;
    };
    edX = makeEdit("edX");
    edY = makeEdit("edY");
    edTitle = makeEdit("edTitle");
    edLegend = makeEdit("edLegend");
    lbYAxis = makeLabel(" Y axis", "lbYAxis");
    lbTitle = makeLabel("Title ", "lbTitle");
    lbLegend = makeLabel("Legend", "lbLegend");
    lbNumCont = makeLabel("Number of Contours", "lbNumCont");
    lbExaggerate = makeLabel("Exaggerate (0-maximize graphic area)", "lbExaggerate");
    addRow(makeLabel(" X axis", "lbXAxis"), edX);
    addRow(lbYAxis, edY);
    addRow(lbTitle, edTitle);
    addRow(lbLegend, edLegend);
    addRow(lbNumCont, AddCheckedField(NumCont, "edNumCont",
                                      TFieldValidator(" Number of Cntours", TFieldKind::Integer, 1, 1000)));
    addRow(lbExaggerate, AddCheckedField(Exaggerate, "edExaggerate",
                                         TFieldValidator("Vertical exaggerate", TFieldKind::Real, 0, 1e30)));
    names->setRowStretch(names->rowCount(), 1);

    edX->setText("X");
    edY->setText("Y");
    const TCalcSettings defaults;
    m_fields[FromX].Edit->setText(QString::fromStdString(defaults.XMin));
    m_fields[ToX].Edit->setText(QString::fromStdString(defaults.XMax));
    m_fields[FromY].Edit->setText(QString::fromStdString(defaults.YMin));
    m_fields[ToY].Edit->setText(QString::fromStdString(defaults.YMax));
    m_fields[NumCont].Edit->setText("10");
    m_fields[Exaggerate].Edit->setText("0");

    auto* help = new QPushButton("Help", this);
    help->setObjectName("btHelp");
    connect(help, &QPushButton::clicked, this, &TGraphicsPage::btHelpClick);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("bbOK");
    connect(ok, &QPushButton::clicked, this, &TGraphicsPage::bbOKClick);
    sbColor = new QPushButton("&Color", this);
    sbColor->setObjectName("sbColor");
    sbColor->setEnabled(false);
    sbColor->setToolTip("Curve colours can be chosen once the plot windows are available");

    auto* ranges = new QVBoxLayout;
    ranges->addWidget(gbX);
    ranges->addWidget(gbY);
    ranges->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(sbColor);
    buttons->addWidget(ok);
    auto* top = new QHBoxLayout;
    top->addWidget(plotBox);
    top->addLayout(ranges);
    top->addLayout(names, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top, 1);
    page->addLayout(buttons);

    connect(m_fields[StepsX].Edit, &QLineEdit::textChanged, this, [this] { StepsChanged(0, StepsX); });
    connect(m_fields[StepsY].Edit, &QLineEdit::textChanged, this,
            [this] { StepsChanged(PlotTypeCount, StepsY); });
}

QLineEdit* TGraphicsPage::AddCheckedField(TField field, const char* objectName, TFieldValidator validator) {
    TCheckedField& checked = m_fields[field];
    checked.Edit = new QLineEdit(this);
    checked.Edit->setObjectName(objectName);
    checked.Validator = std::move(validator);
    connect(checked.Edit, &QLineEdit::textChanged, this, [&checked](const QString& text) {
        if (!checked.Validator.FirstRefused(text.toStdString()))
            checked.Accepted = text;
    });
    connect(checked.Edit, &QLineEdit::textEdited, this,
            [this, &checked](const QString& text) { FieldEdited(checked, text); });
    return checked.Edit;
}

void TGraphicsPage::FieldEdited(TCheckedField& field, const QString& text) {
    // Everything before the first refused character is plain ASCII, so the byte index of the
    // UTF-8 text is also the character index.
    const auto refused = field.Validator.FirstRefused(text.toStdString());
    if (!refused)
        return;
    field.Edit->setText(field.Accepted);
    field.Edit->setCursorPosition(
        std::min(static_cast<int>(*refused), static_cast<int>(field.Accepted.size())));
}

void TGraphicsPage::StepsChanged(int tableOffset, TField field) {
    const TCheckedField& steps = m_fields[field];
    const std::string text = steps.Edit->text().toStdString();
    if (steps.Validator.Check(text).empty())
        m_stepTable[static_cast<std::size_t>(tableOffset + m_plotType)] =
            static_cast<int>(*steps.Validator.Value(text));
}

void TGraphicsPage::FillStepFields() {
    const auto type = static_cast<std::size_t>(m_plotType);
    m_fields[StepsX].Edit->setText(QString::number(m_stepTable[type]));
    m_fields[StepsY].Edit->setText(QString::number(m_stepTable[type + PlotTypeCount]));
}

QString TGraphicsPage::FunctionText() {
    return "f(" + QString::fromStdString(Utf8FromEngineText(Shell().Engine().Input)) + ")";
}

void TGraphicsPage::SetPlotType(int type) {
    if (type < 0 || type > PolarPlot)
        return;
    m_plotButtons[static_cast<std::size_t>(type)]->setChecked(true);
    rgPlotClick(type);
}

void TGraphicsPage::rgPlotClick(int type) {
    m_plotType = type;
    const bool surface = type == SurfacePlot;
    lbLegend->setText(surface ? "Title" : "Legend");
    lbTitle->setText(surface ? " Z axis" : "Title ");
    m_fields[StepsY].Validator.SetLow(IsMap(type) ? 2 : 0);
    FillStepFields();

    if (type <= PlotShading)
        FixAxisNames();
    if (type == PolarPlot)
        lbYAxis->clear();
    sbColor->setVisible(type == PlotFx || type == PolarPlot);
    gbY->setEnabled(IsMap(type));
    lbNumCont->setVisible(type == PlotContour);
    m_fields[NumCont].Edit->setVisible(type == PlotContour);
    const bool legendShown = type == PlotFx || type == SurfacePlot || type == PolarPlot;
    lbLegend->setVisible(legendShown);
    edLegend->setVisible(legendShown);
    if (legendShown)
        edLegend->setText(FunctionText());
    if (type == PlotFx || type == PolarPlot)
        edTitle->clear();
    else
        edTitle->setText(surface ? "Z" : FunctionText());
    const bool exaggerationShown = type <= PlotShading;
    lbExaggerate->setVisible(exaggerationShown);
    m_fields[Exaggerate].Edit->setVisible(exaggerationShown);
    if (type == PlotContour)
        m_fields[Exaggerate].Edit->setText(
            QString::fromStdString(RealToText(Shell().Engine(), 8, m_lastExaggeration)));
    if (IsMap(type))
        Shell().Engine().IntegralAgreement = MapIntegralAgreement;
    Shell().ShowAssistantText(Prompts[type]);
}

void TGraphicsPage::FixAxisNames() {
    if (edY->text() == "Z" || edY->text().isEmpty())
        edY->setText("Y");
    if (edX->text().isEmpty())
        edX->setText("X");
    lbYAxis->setText(" Y axis");
}

void TGraphicsPage::SetComplexMode(bool complex) {
    m_complexMode = complex;
    const auto& captions = complex ? ComplexTypeCaptions : RealTypeCaptions;
    for (int type = 0; type < 5; ++type)
        m_plotButtons[static_cast<std::size_t>(type)]->setText(captions[type]);
    m_plotButtons[PlotFx]->setEnabled(!complex);
    m_plotButtons[PolarPlot]->setEnabled(!complex);
    if (complex && m_plotType == PlotFx)
        SetPlotType(PlotContour);
    else if (complex && m_plotType == PolarPlot)
        SetPlotType(SurfacePlot);
}

void TGraphicsPage::Activate() {
    const QString text = "f(" + Shell().InputLineText() + ")";
    edLegend->setText(text);
    edTitle->setText(text);
    rgPlotClick(m_plotType);
}

void TGraphicsPage::InputLineChanged(const QString& text) {
    QLineEdit* target = m_plotType == PlotContour || m_plotType == PlotShading ? edTitle : edLegend;
    target->setText("f(" + text + ")");
}

void TGraphicsPage::Load() {
    const TCalcSettings& settings = Shell().Settings();
    m_stepTable = settings.StepTable;
    m_fields[FromX].Edit->setText(QString::fromStdString(settings.XMin));
    m_fields[ToX].Edit->setText(QString::fromStdString(settings.XMax));
    m_fields[FromY].Edit->setText(QString::fromStdString(settings.YMin));
    m_fields[ToY].Edit->setText(QString::fromStdString(settings.YMax));
    edLegend->setText(QString::fromStdString(settings.Legend));
    edTitle->setText(QString::fromStdString(settings.Title));
    edX->setText(QString::fromStdString(settings.XAxis));
    edY->setText(QString::fromStdString(settings.YAxis));
    const int type =
        settings.PlotType >= PlotFx && settings.PlotType <= PolarPlot ? settings.PlotType : PlotFx;
    SetPlotType(type);
}

void TGraphicsPage::Save() {
    TCalcSettings& settings = Shell().Settings();
    settings.PlotType = m_plotType;
    settings.XMin = m_fields[FromX].Edit->text().toStdString();
    settings.XMax = m_fields[ToX].Edit->text().toStdString();
    settings.YMin = m_fields[FromY].Edit->text().toStdString();
    settings.YMax = m_fields[ToY].Edit->text().toStdString();
    settings.Legend = edLegend->text().toStdString();
    settings.Title = edTitle->text().toStdString();
    settings.XAxis = edX->text().toStdString();
    settings.YAxis = edY->text().toStdString();
    settings.StepTable = m_stepTable;
}

void TGraphicsPage::btHelpClick() {
    if (m_plotType < PolarPlot)
        Shell().ShowHelp(HelpTopics[m_plotType]);
}

void TGraphicsPage::bbOKClick() {
    // Fields are checked in this order, and only those the plot type shows and lets the user
    // edit: a hidden or disabled field that the user cannot correct must not block a request.
    const bool map = IsMap(m_plotType);
    for (TField field : {StepsX, FromX, ToX, Exaggerate, StepsY, FromY, ToY, NumCont}) {
        QLineEdit* edit = m_fields[field].Edit;
        if (edit->isVisibleTo(this) && edit->isEnabledTo(this) && !CheckField(field))
            return;
    }
    if (!CheckOrder(FromX, ToX, "Maximum X-coordinate must be more than minimum one"))
        return;
    if (map && !CheckOrder(FromY, ToY, "Maximum Y-coordinate must be more than minimum one"))
        return;
    m_lastExaggeration = FieldValue(Exaggerate);
    if (m_plotType == PlotFx && Shell().Plot2D()) {
        btGraphFxClick();
        return;
    }
    if (m_plotType == SurfacePlot && Shell().Surface()) {
        PlotSurface();
        return;
    }
    if (m_plotType == PolarPlot && Shell().Polar()) {
        PlotPolar();
        return;
    }
    if ((m_plotType == PlotContour || m_plotType == PlotShading) && Shell().ContourPlot()) {
        btGraphFxyClick(m_plotType == PlotShading);
        return;
    }
    Shell().ShowAssistantText("The fields are valid; plotting arrives with the plot windows");
}

void TGraphicsPage::btGraphFxClick() {
    TfmPlot2D& window = *Shell().Plot2D();
    const TPlotRequestGuard busy(Shell(), window);
    TPlot& plot = window.Chart();
    EvalContext& engine = Shell().Engine();
    engine.BreakRequested = false;
    const QString line = Shell().InputLineText();
    edLegend->setText("f(" + line + ")");

    const int steps = static_cast<int>(FieldValue(StepsX));
    auto series = NewFunctionCurve(plot.Graph(), edLegend->text().toStdString(), steps);
    const TColor colour = series->Color();
    plot.YAxis().Name = edY->text().toStdString();
    plot.XAxis().Name = edX->text().toStdString();
    plot.Title().Text = edTitle->text().toStdString();

    const Extended a = ExtendedValue(FromX);
    const Extended b = ExtendedValue(ToX);
    PrepareSampledText(line);
    TSeries& curve = *series;
    plot.Graph().AddLayer(std::move(series));
    curve.SetName("f(" + QString(line).remove(QLatin1Char(' ')).toStdString() + ")");

    const bool sampled = SampleCurve(
        engine, TSampleAxis::Spanning(a, b, steps), [this](int percent) { Shell().ShowProgress(percent); },
        [&curve, colour](double x, double y) { curve.AddPoint(colour, "", x, y); });
    if (!sampled) {
        ReportSamplingFailure();
        plot.Graph().DeleteLayer(plot.Graph().LayerCount() - 1);
        return;
    }
    AddLineLegend(plot.Graph(), curve);
    plot.Title().Text = edTitle->text().toStdString();
    window.show();
    plot.Refresh();
    Shell().ShowProgress(0);
    Shell().MoveToHistoryTop();
}

TSampleGrid TGraphicsPage::RequestedGrid() const {
    return {
        TSampleAxis::Spanning(ExtendedValue(FromX), ExtendedValue(ToX), static_cast<int>(FieldValue(StepsX))),
        TSampleAxis::Spanning(ExtendedValue(FromY), ExtendedValue(ToY),
                              static_cast<int>(FieldValue(StepsY)))};
}

void TGraphicsPage::PrepareSampledText(const QString& line) {
    // Blanks go and the parentheses are checked as for the calculator's own evaluation.
    EvalContext& engine = Shell().Engine();
    engine.ClearError();
    PrepareInput(engine, EngineTextFromUtf8(line.toStdString()));
}

void TGraphicsPage::ReportSamplingFailure() {
    const int code = Shell().Engine().ErrorCode;
    Shell().ReturnClick();
    if (code != ErrUserBreak)
        ShowError("Cann't calculate this function");
    Shell().ShowProgress(0);
}

void TGraphicsPage::PlotSurface() {
    TfmSurface& window = *Shell().Surface();
    // Hidden rather than closed: closing writes the placement, which is kept for the user's close.
    window.hide();
    const TPlotRequestGuard busy(Shell(), window);
    const TWaitCursor hourglass;
    EvalContext& engine = Shell().Engine();
    // A break asked for before this request must not stop it.
    engine.BreakRequested = false;

    // The surface is sampled into a copy, so that a failed request leaves the shown one whole.
    TVtChartData data = window.Chart().Model();
    const std::string legend = edLegend->text().toStdString();
    data.Axes[0].Title = edX->text().toStdString();
    data.TitleText = m_complexMode ? "|" + legend + "|" : legend;
    data.Axes[1].Title = data.Axes[2].Title = edTitle->text().toStdString();
    data.Axes[3].Title = edY->text().toStdString();
    const TSampleGrid grid = RequestedGrid();
    const QString line = Shell().InputLineText();
    PrepareSampledText(m_complexMode ? "abs(" + line + ")" : line);
    TComplexEvaluator* complex = m_complexMode ? &Shell().ComplexEvaluator() : nullptr;
    if (!SampleSurface(engine, complex, grid, data, [this](int percent) { Shell().ShowProgress(percent); })) {
        ReportSamplingFailure();
        return;
    }
    window.Chart().Model() = std::move(data);
    window.Chart().Refresh();
    window.show();
    Shell().ShowProgress(0);
    Shell().MoveToHistoryTop();
}

void TGraphicsPage::PlotPolar() {
    TfmPolar& window = *Shell().Polar();
    const TPlotRequestGuard busy(Shell(), window);
    const TWaitCursor hourglass;
    EvalContext& engine = Shell().Engine();
    engine.BreakRequested = false;

    const int steps = static_cast<int>(FieldValue(StepsX));
    PrepareSampledText(Shell().InputLineText());
    std::vector<double> angles;
    std::vector<double> radii;
    if (!SamplePolar(engine, TSampleAxis::Spanning(ExtendedValue(FromX), ExtendedValue(ToX), steps), angles,
                     radii, [this](int percent) { Shell().ShowProgress(percent); })) {
        ReportSamplingFailure();
        return;
    }
    TVtChartData& chart = window.Chart().Model();
    chart.Axes[0].Title = edX->text().toStdString();
    chart.Axes[1].Title = edY->text().toStdString();
    // The curves share the rows: a shorter curve leaves the earlier ones whole.
    chart.SetRowCount(chart.ColumnCount() == 0 ? steps : std::max(chart.RowCount(), steps));
    chart.SetColumnCount(chart.ColumnCount() + 2);
    const int angleColumn = chart.ColumnCount() - 1;
    for (int k = 1; k <= steps; ++k) {
        chart.SetCell(k, angleColumn, angles[static_cast<std::size_t>(k - 1)]);
        chart.SetCell(k, angleColumn + 1, radii[static_cast<std::size_t>(k - 1)]);
    }
    chart.SetColumn(angleColumn);
    chart.SetColumnLabel(edLegend->text().toStdString());
    window.Chart().Refresh();
    window.show();
    Shell().ShowProgress(0);
    Shell().MoveToHistoryTop();
}

void TGraphicsPage::btGraphFxyClick(bool shading) {
    TfmContourPlot& window = *Shell().ContourPlot();
    const TPlotRequestGuard busy(Shell(), window);
    const TWaitCursor hourglass;
    TPlot& plot = window.Chart();
    EvalContext& engine = Shell().Engine();
    engine.BreakRequested = false;
    plot.Graph().Exaggerate = FieldValue(Exaggerate);
    plot.YAxis().Name = edY->text().toStdString();
    plot.XAxis().Name = edX->text().toStdString();
    const std::string title = edTitle->text().toStdString();
    plot.Title().Text = m_complexMode ? "|" + title + "|" : title;
    FixMapAxes(plot.Graph(), FieldValue(FromX), FieldValue(ToX), FieldValue(FromY), FieldValue(ToY));
    m_grid = TContourGrid();

    const QString line = Shell().InputLineText();
    PrepareSampledText(m_complexMode ? "abs(" + line + ")" : line);
    window.Clear();
    TSampledGrid sampled;
    TComplexEvaluator* complex = m_complexMode ? &Shell().ComplexEvaluator() : nullptr;
    if (!SampleGridValues(
            engine, complex, RequestedGrid(), [this](int percent) { Shell().ShowProgress(percent); },
            sampled)) {
        ReportSamplingFailure();
        engine.IntegralAgreement = DefaultIntegralAgreement;
        return;
    }
    m_grid = TContourGrid(std::move(sampled.X), std::move(sampled.Y), std::move(sampled.Z));
    window.show();
    PumpMessages(engine);
    const std::optional<double> count =
        m_fields[NumCont].Validator.Value(m_fields[NumCont].Edit->text().toStdString());
    const int levels = shading ? 1 : count ? static_cast<int>(*count) : DefaultContourCount;
    auto map = std::make_unique<TContour>(plot.Graph(), shading, levels, m_grid);
    if (!shading)
        map->SetName(line.toStdString());
    window.ShowMap(std::move(map));
    plot.Refresh();
    Shell().ShowProgress(0);
    Shell().MoveToHistoryTop();
}

bool TGraphicsPage::CheckField(TField field) {
    const TCheckedField& checked = m_fields[field];
    const std::string message = checked.Validator.Check(checked.Edit->text().toStdString());
    if (message.empty())
        return true;
    ShowError(QString::fromStdString(message));
    checked.Edit->setFocus();
    return false;
}

bool TGraphicsPage::CheckOrder(TField low, TField high, const QString& message) {
    if (FieldValue(high) > FieldValue(low))
        return true;
    ShowError(message);
    return false;
}

void TGraphicsPage::ShowError(const QString& message) {
    // The main window, not this page: the page control is disabled while a request runs.
    QMessageBox::critical(window(), "Error", message);
}

Extended TGraphicsPage::ExtendedValue(TField field) const {
    // Read with the full extended precision; the validator's reading is a double.
    const std::string text = m_fields[field].Edit->text().toStdString();
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    Extended value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last ? value : FieldValue(field);
}

double TGraphicsPage::FieldValue(TField field) const {
    const TCheckedField& checked = m_fields[field];
    return checked.Validator.Value(checked.Edit->text().toStdString()).value_or(0.0);
}

} // namespace mirla
