#include "app/GraphicsPage.h"

#include "app/core/CalcSettings.h"
#include "engine/Engine.h"
#include "engine/EngineText.h"
#include "engine/InputPreparation.h"
#include "numbers/ComplexEvaluator.h"
#include "numbers/RealFormat.h"
#include "plotlib/Contour.h"
#include "plotlib/Legend.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"
#include "plots/ContourPlotWindow.h"
#include "plots/Plot2DWindow.h"

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

constexpr double CoordinateLimit = 115425.2;
constexpr std::uint8_t MapIntegralAgreement = 7;
constexpr std::uint8_t DefaultIntegralAgreement = 9;
constexpr int DefaultContourCount = 10;
constexpr int VariableX = 1;
constexpr int VariableY = 2;
constexpr int MarkersPerCurve = 20;

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
    return type >= TGraphicsPage::PlotContour && type <= TGraphicsPage::PlotSurface;
}

TFieldValidator Coordinate(const char* name) {
    return TFieldValidator(name, TFieldKind::Real, -CoordinateLimit, CoordinateLimit);
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

/// Shows the hourglass while it lives.
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
    if (type < 0 || type > PlotPolar)
        return;
    m_plotButtons[static_cast<std::size_t>(type)]->setChecked(true);
    rgPlotClick(type);
}

void TGraphicsPage::rgPlotClick(int type) {
    m_plotType = type;
    const bool surface = type == PlotSurface;
    lbLegend->setText(surface ? "Title" : "Legend");
    lbTitle->setText(surface ? " Z axis" : "Title ");
    m_fields[StepsY].Validator.SetLow(IsMap(type) ? 2 : 0);
    FillStepFields();

    if (type <= PlotShading)
        FixAxisNames();
    if (type == PlotPolar)
        lbYAxis->clear();
    sbColor->setVisible(type == PlotFx || type == PlotPolar);
    gbY->setEnabled(IsMap(type));
    lbNumCont->setVisible(type == PlotContour);
    m_fields[NumCont].Edit->setVisible(type == PlotContour);
    const bool legendShown = type == PlotFx || type == PlotSurface || type == PlotPolar;
    lbLegend->setVisible(legendShown);
    edLegend->setVisible(legendShown);
    if (legendShown)
        edLegend->setText(FunctionText());
    if (type == PlotFx || type == PlotPolar)
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
    m_plotButtons[PlotPolar]->setEnabled(!complex);
    if (complex && m_plotType == PlotFx)
        SetPlotType(PlotContour);
    else if (complex && m_plotType == PlotPolar)
        SetPlotType(PlotSurface);
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
        settings.PlotType >= PlotFx && settings.PlotType <= PlotPolar ? settings.PlotType : PlotFx;
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
    if (m_plotType < PlotPolar)
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

    const TColor colour = plot.FreeColor();
    auto series =
        std::make_unique<TSeries>(plot.Graph(), edLegend->text().toStdString(), ssLineAndPoint, colour);
    series->SetMarkerStyle(plot.FreeMarker());
    series->SetMarkerColor(colour);
    plot.YAxis().Name = edY->text().toStdString();
    plot.XAxis().Name = edX->text().toStdString();
    plot.Title().Text = edTitle->text().toStdString();

    const Extended a = ExtendedValue(FromX);
    const Extended b = ExtendedValue(ToX);
    const int steps = static_cast<int>(FieldValue(StepsX));
    const Extended h = (b - a) / (steps - 1);
    // Blanks go and the parentheses are checked as for the calculator's own evaluation.
    engine.ClearError();
    PrepareInput(engine, EngineTextFromUtf8(line.toStdString()));
    TSeries& curve = *series;
    plot.Graph().AddLayer(std::move(series));
    curve.SetName("f(" + QString(line).remove(QLatin1Char(' ')).toStdString() + ")");
    curve.SetMarkerStep(steps / MarkersPerCurve);

    if (!SampleCurve(curve, colour, a, h, steps)) {
        const int code = engine.ErrorCode;
        Shell().ReturnClick();
        if (code != ErrUserBreak)
            ShowError("Cann't calculate this function");
        Shell().ShowProgress(0);
        plot.Graph().DeleteLayer(plot.Graph().LayerCount() - 1);
        return;
    }
    auto entry = std::make_unique<TLineLegend>(plot.Graph());
    curve.AttachLegend(entry.get());
    plot.Legend().Add(std::move(entry));
    plot.Title().Text = edTitle->text().toStdString();
    window.show();
    plot.Refresh();
    Shell().ShowProgress(0);
    Shell().MoveToHistoryTop();
}

bool TGraphicsPage::SampleCurve(TSeries& curve, TColor colour, Extended a, Extended h, int steps) {
    EvalContext& engine = Shell().Engine();
    if (engine.ErrorFlag) // the parentheses did not match
        return false;
    Extended x = a;
    engine.Variable(VariableX).Value = x;
    for (int i = 1; i <= steps; ++i) {
        Shell().ShowProgress(static_cast<int>(std::lround(100.0 * i / (steps + 1))));
        PumpMessages(engine);
        // Stop is honoured at every point, not only inside the engine's own long loops.
        if (CheckBreak(engine))
            return false;
        const Extended y = Evaluate(engine);
        if (engine.ErrorFlag)
            return false;
        // The series keeps doubles: a value beyond their range would turn into infinity there.
        if (!std::isfinite(static_cast<double>(y))) {
            RaiseEvalError(engine, ErrOverflow);
            return false;
        }
        curve.AddPoint(colour, "", static_cast<double>(x), static_cast<double>(y));
        x = a + i * h;
        engine.Variable(VariableX).Value = x;
    }
    return true;
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
    SetMapAxes(plot);
    m_grid = TContourGrid();

    const QString line = Shell().InputLineText();
    engine.ClearError();
    PrepareInput(engine, EngineTextFromUtf8(line.toStdString()));
    window.Clear();
    const std::string text = m_complexMode ? "abs(" + engine.Input + ")" : engine.Input;
    if (!SampleGrid(text)) {
        const int code = engine.ErrorCode;
        Shell().ReturnClick();
        if (code != ErrUserBreak)
            ShowError("Cann't calculate this function");
        Shell().ShowProgress(0);
        engine.IntegralAgreement = DefaultIntegralAgreement;
        return;
    }
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

void TGraphicsPage::SetMapAxes(TPlot& plot) {
    const auto fix = [](TAxis& axis, double low, double high) {
        axis.AutoMin = false;
        axis.AutoMax = false;
        axis.SetMin(low);
        axis.SetMax(high);
    };
    fix(plot.XAxis(), FieldValue(FromX), FieldValue(ToX));
    fix(plot.YAxis(), FieldValue(FromY), FieldValue(ToY));
    plot.Graph().ClipMarkers = false;
}

bool TGraphicsPage::SampleGrid(const std::string& text) {
    EvalContext& engine = Shell().Engine();
    if (engine.ErrorFlag) // the parentheses did not match
        return false;
    const Extended a = ExtendedValue(FromX);
    const Extended p = ExtendedValue(FromY);
    const int nx = static_cast<int>(FieldValue(StepsX));
    const int ny = static_cast<int>(FieldValue(StepsY));
    const Extended hx = (ExtendedValue(ToX) - a) / (nx - 1);
    const Extended hy = (ExtendedValue(ToY) - p) / (ny - 1);
    std::vector<double> xs(static_cast<std::size_t>(nx));
    std::vector<double> ys(static_cast<std::size_t>(ny));
    std::vector<double> zs(xs.size() * ys.size());
    for (int i = 1; i <= nx; ++i) {
        const Extended x = a + (i - 1) * hx;
        engine.Variable(VariableX).Value = x;
        xs[static_cast<std::size_t>(i - 1)] = static_cast<double>(x);
        // Stop is honoured at every column, not only inside the engine's own long loops.
        PumpMessages(engine);
        if (CheckBreak(engine))
            return false;
        for (int j = 1; j <= ny; ++j) {
            const Extended y = p + (j - 1) * hy;
            engine.Variable(VariableY).Value = y;
            ys[static_cast<std::size_t>(j - 1)] = static_cast<double>(y);
            const double z = static_cast<double>(SampleValue(text));
            if (engine.ErrorFlag)
                return false;
            // The grid keeps doubles: a value beyond their range would turn into infinity there.
            if (!std::isfinite(z)) {
                RaiseEvalError(engine, ErrOverflow);
                return false;
            }
            zs[static_cast<std::size_t>((i - 1) * ny + (j - 1))] = z;
            Shell().ShowProgress(
                static_cast<int>(std::lround(100.0 * (j + (i - 1) * (ny + 1)) / ((ny + 1.0) * (nx + 1.0)))));
        }
    }
    m_grid = TContourGrid(std::move(xs), std::move(ys), std::move(zs));
    return true;
}

Extended TGraphicsPage::SampleValue(const std::string& text) {
    EvalContext& engine = Shell().Engine();
    if (!m_complexMode)
        return Evaluate(engine);
    std::string sampled = text;
    bool failed = false;
    int errorPos = 0;
    int errorLength = 0;
    ComplexValue value;
    Shell().ComplexEvaluator().EvaluateComplex(sampled, failed, errorPos, value, errorLength);
    return value.X;
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
