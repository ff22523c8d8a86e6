#include "plotlib/PropertiesPages.h"

#include "plotlib/Graph.h"
#include "plotlib/Legend.h"
#include "plotlib/MarkerShapes.h"
#include "plotlib/OperationsPage.h"
#include "plotlib/Plot.h"
#include "plotlib/Series.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace mirla {

namespace {

const QStringList PenStyleCaptions{"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot", "Clear"};
const QStringList LegendStyleCaptions{"Right", "Left", "Bottom", "Top", "Inside"};
/// Captions of the series style codes 1 to 7, in code order.
const QStringList SeriesStyleCaptions{"Points", "Line", "Line and Point", "Volume", "Piecewise Constant",
                                      "Area",   "Bar"};

/// Longest name an axis, a title or a series keeps.
constexpr int MaxNameLength = 255;

std::string ShortString(const QString& text) {
    return text.left(MaxNameLength).toStdString();
}

QCheckBox* MakeCheck(const QString& caption, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QSpinBox* MakeSpin(int minimum, int maximum, const QString& name, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setRange(minimum, maximum);
    spin->setObjectName(name);
    return spin;
}

QLineEdit* MakeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QComboBox* MakeNamedChoiceList(const QStringList& captions, int current, const QString& name,
                               QWidget* parent) {
    QComboBox* list = MakeChoiceList(captions, current, parent);
    list->setObjectName(name);
    return list;
}

/// Adds a row with a caption whose accelerator focuses `field`.
void AddRow(QGridLayout* grid, int row, const QString& caption, QWidget* field) {
    auto* label = new QLabel(caption);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

/// The caption of a choice without its accelerator mark ("X axis").
QString Plain(const QString& caption) {
    return QString(caption).remove('&');
}

/// The limit of the last drawing on `axis`: what an automatic limit currently shows.
double DrawnLimit(const TGraph& graph, const TAxis& axis, bool maximum) {
    const bool second = axis.Side() == TAxisSide::Top || axis.Side() == TAxisSide::Right;
    const TWorldRect& world = second ? graph.World2() : graph.World();
    const double low = axis.Horizontal() ? world.XMin : world.YMin;
    const double high = axis.Horizontal() ? world.XMax : world.YMax;
    const double limit = maximum ? std::max(low, high) : std::min(low, high);
    return axis.Log() ? std::pow(10.0, limit) : limit;
}

QString LimitText(const TGraph& graph, const TAxis& axis, bool maximum) {
    const double stored = maximum ? axis.Maximum() : axis.Minimum();
    return NumberText(stored != MissingValue ? stored : DrawnLimit(graph, axis, maximum));
}

} // namespace

// ---------------------------------------------------------------------------------------------- Axis

TAxisPage::TAxisPage(const TGraph& graph, const std::array<TAxisChoice, 2>& choices, QWidget* parent)
    : TPropertiesPage(parent),
      m_choices(choices), m_drafts{DraftOf(graph, *choices[0].Axis), DraftOf(graph, *choices[1].Axis)} {
    BuildControls();
    ShowDraft(0);
}

TAxisPage::TDraft TAxisPage::DraftOf(const TGraph& graph, const TAxis& axis) {
    TDraft draft;
    draft.Name = QString::fromStdString(axis.Name);
    draft.MinimumText = LimitText(graph, axis, false);
    draft.MaximumText = LimitText(graph, axis, true);
    draft.PositionText = NumberText(axis.Position);
    draft.AutoMin = axis.AutoMin;
    draft.AutoMax = axis.AutoMax;
    draft.Log = axis.Log();
    draft.Invert = axis.Invert;
    draft.Grid = axis.Grid;
    draft.Visible = axis.Visible;
    draft.MajorLineVisible = axis.MajorLineVisible;
    draft.Color = axis.Color;
    draft.GridColor = axis.GridColor;
    draft.Font = axis.Font;
    draft.NameFont = axis.NameFont;
    draft.Ticks = axis.Ticks;
    draft.LabelStyle = axis.LabelStyle;
    draft.LabelDirection = axis.LabelDirection;
    draft.Location = axis.Location;
    draft.TickFrequency = axis.TickFrequency;
    return draft;
}

void TAxisPage::BuildControls() {
    auto* axisRow = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        m_axisButtons[i] = new QRadioButton(m_choices[i].Caption, this);
        m_axisButtons[i]->setObjectName(i == 0 ? "rbFirstAxis" : "rbSecondAxis");
        axisRow->addWidget(m_axisButtons[i]);
        connect(m_axisButtons[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && i != m_shown) {
                KeepShownDraft();
                ShowDraft(i);
            }
        });
    }
    axisRow->addStretch();

    auto* scale = new QGroupBox("Scale", this);
    auto* scaleGrid = new QGridLayout(scale);
    m_name = MakeEdit("edName", scale);
    AddRow(scaleGrid, 0, "N&ame", m_name);
    m_minimum = MakeEdit("edMinimum", scale);
    AddRow(scaleGrid, 1, "Mi&nimum", m_minimum);
    m_autoMin = MakeCheck("A&uto", "cbAutoMin", scale);
    scaleGrid->addWidget(m_autoMin, 1, 2);
    m_maximum = MakeEdit("edMaximum", scale);
    AddRow(scaleGrid, 2, "Maxi&mum", m_maximum);
    m_autoMax = MakeCheck("Au&to", "cbAutoMax", scale);
    scaleGrid->addWidget(m_autoMax, 2, 2);
    m_log = MakeCheck("&Logarithm", "cbLog", scale);
    scaleGrid->addWidget(m_log, 3, 0);
    m_invert = MakeCheck("&Invert", "cbInvert", scale);
    scaleGrid->addWidget(m_invert, 3, 1);
    m_grid = MakeCheck("&Grid", "cbGrid", scale);
    scaleGrid->addWidget(m_grid, 4, 0);
    m_gridColor = new TColorButton("Grid c&olour", clSilver, scale);
    scaleGrid->addWidget(m_gridColor, 4, 1);
    m_visible = MakeCheck("&Visible", "cbVisible", scale);
    scaleGrid->addWidget(m_visible, 5, 0);
    m_majorLine = MakeCheck("&Base line", "cbMajorLine", scale);
    scaleGrid->addWidget(m_majorLine, 5, 1);
    m_color = new TColorButton("Axis &colour", clBlack, scale);
    scaleGrid->addWidget(m_color, 6, 0);
    m_font = new TFontButton("Label &font", {}, scale);
    scaleGrid->addWidget(m_font, 6, 1);
    m_nameFont = new TFontButton("Nam&e font", {}, scale);
    scaleGrid->addWidget(m_nameFont, 6, 2);

    auto* ticks = new QGroupBox("Ticks and labels", this);
    auto* tickGrid = new QGridLayout(ticks);
    m_tickDirection = MakeNamedChoiceList({"Out", "In"}, 0, "cbTickDirection", ticks);
    AddRow(tickGrid, 0, "Tic&k direction", m_tickDirection);
    m_majorLength = MakeSpin(0, 50, "seMajorLength", ticks);
    AddRow(tickGrid, 1, "Ma&jor length", m_majorLength);
    m_minorLength = MakeSpin(0, 50, "seMinorLength", ticks);
    AddRow(tickGrid, 2, "Minor lengt&h", m_minorLength);
    m_majorVisible = MakeCheck("Major tick&s", "cbMajorVisible", ticks);
    tickGrid->addWidget(m_majorVisible, 3, 0);
    m_minorVisible = MakeCheck("Mino&r ticks", "cbMinorVisible", ticks);
    tickGrid->addWidget(m_minorVisible, 3, 1);
    m_labelStyle = MakeNamedChoiceList({"Float", "Date", "Integer"}, 0, "cbLabelStyle", ticks);
    AddRow(tickGrid, 4, "Label t&ype", m_labelStyle);
    m_labelDirection = MakeNamedChoiceList({"Horizontal", "Vertical"}, 0, "cbLabelDirection", ticks);
    AddRow(tickGrid, 5, "Label &direction", m_labelDirection);
    m_tickFrequency = MakeSpin(1, 100, "seTickFrequency", ticks);
    AddRow(tickGrid, 6, "Tick fre&quency", m_tickFrequency);
    m_location = MakeNamedChoiceList({"Outside", "Inside"}, 0, "cbLocation", ticks);
    AddRow(tickGrid, 7, "Locatio&n", m_location);
    m_position = MakeEdit("edPosition", ticks);
    AddRow(tickGrid, 8, "&Position", m_position);

    auto* columns = new QHBoxLayout;
    columns->addWidget(scale);
    columns->addWidget(ticks);
    auto* page = new QVBoxLayout(this);
    page->addLayout(axisRow);
    page->addLayout(columns);
    page->addStretch();

    for (QCheckBox* box : {m_autoMin, m_autoMax, m_grid})
        connect(box, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
    connect(m_location, &QComboBox::currentIndexChanged, this, [this] { UpdateEnabled(); });
}

void TAxisPage::ShowDraft(int index) {
    m_shown = index;
    const TDraft& draft = m_drafts[index];
    m_axisButtons[index]->setChecked(true);
    m_name->setText(draft.Name);
    m_minimum->setText(draft.MinimumText);
    m_maximum->setText(draft.MaximumText);
    m_autoMin->setChecked(draft.AutoMin);
    m_autoMax->setChecked(draft.AutoMax);
    m_log->setChecked(draft.Log);
    m_log->setEnabled(!m_choices[index].LogDisabled);
    m_invert->setChecked(draft.Invert);
    m_invert->setEnabled(!m_choices[index].InvertDisabled);
    m_grid->setChecked(draft.Grid);
    m_gridColor->SetColor(draft.GridColor);
    m_visible->setChecked(draft.Visible);
    m_majorLine->setChecked(draft.MajorLineVisible);
    m_color->SetColor(draft.Color);
    m_font->SetFont(draft.Font);
    m_nameFont->SetFont(draft.NameFont);
    m_tickDirection->setCurrentIndex(draft.Ticks.Direction);
    m_majorLength->setValue(draft.Ticks.MajorLength);
    m_minorLength->setValue(draft.Ticks.MinorLength);
    m_majorVisible->setChecked(draft.Ticks.MajorVisible);
    m_minorVisible->setChecked(draft.Ticks.MinorVisible);
    m_labelStyle->setCurrentIndex(draft.LabelStyle);
    m_labelDirection->setCurrentIndex(draft.LabelDirection);
    m_tickFrequency->setValue(draft.TickFrequency);
    m_location->setCurrentIndex(draft.Location);
    m_position->setText(draft.PositionText);
    UpdateEnabled();
}

void TAxisPage::KeepShownDraft() {
    TDraft& draft = m_drafts[m_shown];
    draft.Name = m_name->text();
    draft.MinimumText = m_minimum->text();
    draft.MaximumText = m_maximum->text();
    draft.AutoMin = m_autoMin->isChecked();
    draft.AutoMax = m_autoMax->isChecked();
    draft.Log = m_log->isChecked();
    draft.Invert = m_invert->isChecked();
    draft.Grid = m_grid->isChecked();
    draft.GridColor = m_gridColor->Color();
    draft.Visible = m_visible->isChecked();
    draft.MajorLineVisible = m_majorLine->isChecked();
    draft.Color = m_color->Color();
    draft.Font = m_font->Font();
    draft.NameFont = m_nameFont->Font();
    draft.Ticks.Direction = static_cast<TTicksDirection>(m_tickDirection->currentIndex());
    draft.Ticks.MajorLength = m_majorLength->value();
    draft.Ticks.MinorLength = m_minorLength->value();
    draft.Ticks.MajorVisible = m_majorVisible->isChecked();
    draft.Ticks.MinorVisible = m_minorVisible->isChecked();
    draft.LabelStyle = static_cast<TAxisLabelStyle>(m_labelStyle->currentIndex());
    draft.LabelDirection = static_cast<TAxisLabelDirection>(m_labelDirection->currentIndex());
    draft.TickFrequency = m_tickFrequency->value();
    draft.Location = static_cast<TAxisLocation>(m_location->currentIndex());
    draft.PositionText = m_position->text();
}

void TAxisPage::SelectAxis(int index) {
    m_axisButtons[index]->setChecked(true);
}

void TAxisPage::UpdateEnabled() {
    m_minimum->setEnabled(!m_autoMin->isChecked());
    m_maximum->setEnabled(!m_autoMax->isChecked());
    m_gridColor->setEnabled(m_grid->isChecked());
    m_position->setEnabled(m_location->currentIndex() == alInside);
}

std::optional<TFieldProblem> TAxisPage::Check() {
    KeepShownDraft();
    for (int i = 0; i < 2; ++i)
        if (auto problem = CheckDraft(i))
            return problem;
    return std::nullopt;
}

std::optional<TFieldProblem> TAxisPage::CheckDraft(int index) {
    const TDraft& draft = m_drafts[index];
    const QString axis = Plain(m_choices[index].Caption);
    auto reveal = [this, index] { SelectAxis(index); };
    // A fixed limit must read as a number, and as a positive one on a logarithmic scale.
    const auto checkLimit = [&](bool automatic, const QString& text, const QString& name, auto* field,
                                double& value) -> std::optional<TFieldProblem> {
        if (automatic)
            return std::nullopt;
        if (auto problem = ReadNumber(text, name + " of the " + axis, field, value, reveal))
            return problem;
        if (draft.Log && value <= 0)
            return FieldProblem(
                field, name + " of the " + axis + " must be greater than 0 on a logarithmic scale.", reveal);
        return std::nullopt;
    };
    double minimum = 0;
    double maximum = 0;
    if (auto problem = checkLimit(draft.AutoMin, draft.MinimumText, "Minimum", m_minimum, minimum))
        return problem;
    if (auto problem = checkLimit(draft.AutoMax, draft.MaximumText, "Maximum", m_maximum, maximum))
        return problem;
    // Equal fixed limits leave the axis no length to map onto.
    if (!draft.AutoMin && !draft.AutoMax && minimum >= maximum)
        return FieldProblem(m_maximum, "Maximum of the " + axis + " must be greater than its Minimum.",
                            reveal);
    double position = 0;
    if (draft.Location == alInside)
        return ReadNumber(draft.PositionText, "Position of the " + axis, m_position, position, reveal);
    return std::nullopt;
}

void TAxisPage::Apply() {
    KeepShownDraft();
    for (int i = 0; i < 2; ++i)
        ApplyDraft(m_drafts[i], *m_choices[i].Axis);
}

void TAxisPage::ApplyDraft(const TDraft& draft, TAxis& axis) const {
    axis.Name = ShortString(draft.Name);
    axis.AutoMin = draft.AutoMin;
    if (!draft.AutoMin)
        axis.SetMin(*ParseNumber(draft.MinimumText));
    axis.AutoMax = draft.AutoMax;
    if (!draft.AutoMax)
        axis.SetMax(*ParseNumber(draft.MaximumText));
    axis.SetLog(draft.Log);
    axis.Invert = draft.Invert;
    axis.Grid = draft.Grid;
    axis.GridColor = draft.GridColor;
    axis.Visible = draft.Visible;
    axis.MajorLineVisible = draft.MajorLineVisible;
    axis.Color = draft.Color;
    axis.Font = draft.Font;
    axis.NameFont = draft.NameFont;
    axis.Ticks = draft.Ticks;
    axis.LabelStyle = draft.LabelStyle;
    axis.LabelDirection = draft.LabelDirection;
    axis.TickFrequency = draft.TickFrequency;
    axis.Location = draft.Location;
    if (draft.Location == alInside)
        axis.Position = *ParseNumber(draft.PositionText);
}

// -------------------------------------------------------------------------------------------- Titles

TTitleBox::TTitleBox(const QString& caption, const TGraphTitle& title, QWidget* parent)
    : QGroupBox(caption, parent) {
    auto* grid = new QGridLayout(this);
    m_text = MakeEdit("edText", this);
    m_text->setText(QString::fromStdString(title.Text));
    AddRow(grid, 0, "&Text", m_text);
    m_alignment = MakeNamedChoiceList({"Left", "Right", "Center"}, title.Alignment, "cbAlignment", this);
    AddRow(grid, 1, "&Alignment", m_alignment);
    m_style = MakeNamedChoiceList({"Normal", "Lowered", "Raised"}, title.Style, "cbStyle", this);
    AddRow(grid, 2, "&Style", m_style);
    m_visible = MakeCheck("&Visible", "cbVisible", this);
    m_visible->setChecked(title.Visible);
    grid->addWidget(m_visible, 3, 0);
    m_font = new TFontButton("&Font", title.Font, this);
    grid->addWidget(m_font, 3, 1);
}

void TTitleBox::ApplyTo(TGraphTitle& title) const {
    title.Text = ShortString(m_text->text());
    title.Alignment = static_cast<TAlignment>(m_alignment->currentIndex());
    title.Style = static_cast<TTitleStyle>(m_style->currentIndex());
    title.Visible = m_visible->isChecked();
    title.Font = m_font->Font();
}

TTitlesPage::TTitlesPage(TGraph& graph, QWidget* parent)
    : TPropertiesPage(parent), m_graph(graph), m_title(new TTitleBox("Title", graph.Title, this)),
      m_foot(new TTitleBox("Foot", graph.Foot, this)) {
    m_title->setObjectName("gbTitle");
    m_foot->setObjectName("gbFoot");
    auto* page = new QVBoxLayout(this);
    page->addWidget(m_title);
    page->addWidget(m_foot);
    page->addStretch();
}

void TTitlesPage::Apply() {
    m_title->ApplyTo(m_graph.Title);
    m_foot->ApplyTo(m_graph.Foot);
}

// -------------------------------------------------------------------------------------------- Series

TSeriesPage::TSeriesPage(TGraph& graph, bool styleDisabled, QWidget* parent)
    : TPropertiesPage(parent), m_graph(graph), m_styleDisabled(styleDisabled) {
    for (int i = 0; i < graph.LayerCount(); ++i)
        if (auto* series = dynamic_cast<TSeries*>(graph.Layer(i)))
            m_drafts.push_back(DraftOf(*series));
    BuildControls();
    for (const TDraft& draft : m_drafts)
        m_list->addItem(draft.Name);
    if (m_drafts.empty())
        ShowDraft(-1);
    else
        m_list->setCurrentRow(0);
}

TSeriesPage::TDraft TSeriesPage::DraftOf(TSeries& series) {
    TDraft draft;
    draft.Series = &series;
    draft.Name = QString::fromStdString(series.Name());
    draft.Visible = series.Visible();
    draft.Color = series.Color();
    draft.Style = series.Style();
    draft.MarkerStyle = series.MarkerStyle();
    draft.MarkerSize = series.MarkerSize();
    draft.MarkerStep = series.MarkerStep();
    draft.MarkerColor = series.MarkerColor();
    draft.MarkerFillColor = series.MarkerFillColor();
    draft.MarkersVisible = series.MarkersVisible();
    draft.LineStyle = series.LineStyle();
    draft.LineWidth = series.LineWidth();
    return draft;
}

void TSeriesPage::BuildControls() {
    m_list = new QListWidget(this);
    m_list->setObjectName("lbSeries");
    auto* listLabel = new QLabel("&Series", this);
    listLabel->setBuddy(m_list);
    auto* deleteButton = new QPushButton("&Delete", this);
    deleteButton->setObjectName("btDelete");
    m_derivative = new QPushButton("De&rivative", this);
    m_derivative->setObjectName("btDerivative");
    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(listLabel);
    listColumn->addWidget(m_list);
    listColumn->addWidget(deleteButton);
    listColumn->addWidget(m_derivative);

    m_editors = new QWidget(this);
    auto* grid = new QGridLayout(m_editors);
    m_name = MakeEdit("edSeriesName", m_editors);
    AddRow(grid, 0, "&Name", m_name);
    m_visible = MakeCheck("&Visible", "cbSeriesVisible", m_editors);
    grid->addWidget(m_visible, 1, 0);
    m_color = new TColorButton("&Colour", clBlack, m_editors);
    grid->addWidget(m_color, 1, 1);
    m_style = MakeNamedChoiceList(SeriesStyleCaptions, 0, "cbSeriesStyle", m_editors);
    AddRow(grid, 2, "S&tyle", m_style);
    m_markerStyle = MakeMarkerList(m_editors);
    AddRow(grid, 3, "&Marker", m_markerStyle);
    m_markerSize = MakeSpin(0, 100, "seMarkerSize", m_editors);
    AddRow(grid, 4, "Marker si&ze", m_markerSize);
    m_markerStep = MakeSpin(0, 1000000, "seMarkerStep", m_editors);
    AddRow(grid, 5, "Marker st&ep", m_markerStep);
    m_markerColor = new TColorButton("Marker c&olour", clBlack, m_editors);
    grid->addWidget(m_markerColor, 6, 0);
    m_markerFillColor = new TColorButton("&Fill colour", clWhite, m_editors);
    grid->addWidget(m_markerFillColor, 6, 1);
    m_markersVisible = MakeCheck("Markers visi&ble", "cbMarkersVisible", m_editors);
    grid->addWidget(m_markersVisible, 7, 0);
    m_lineStyle = MakeNamedChoiceList(PenStyleCaptions, 0, "cbLineStyle", m_editors);
    AddRow(grid, 8, "&Line style", m_lineStyle);
    m_lineWidth = MakeSpin(1, 50, "seLineWidth", m_editors);
    AddRow(grid, 9, "Line &width", m_lineWidth);
    grid->setRowStretch(10, 1);

    auto* page = new QHBoxLayout(this);
    page->addLayout(listColumn);
    page->addWidget(m_editors, 1);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        KeepShownDraft();
        ShowDraft(row);
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_shown >= 0)
            m_list->item(m_shown)->setText(text);
    });
    connect(deleteButton, &QPushButton::clicked, this, [this] { DeleteShown(); });
    connect(m_derivative, &QPushButton::clicked, this, [this] {
        TSeries* derivative =
            DerivativeOrWarning(this, m_graph, m_shown >= 0 ? m_drafts[m_shown].Series : nullptr);
        if (!derivative)
            return;
        AddSeries(*derivative);
        if (SeriesAdded)
            SeriesAdded(*derivative);
    });
}

void TSeriesPage::AddSeries(TSeries& series) {
    m_drafts.push_back(DraftOf(series));
    m_list->addItem(m_drafts.back().Name);
}

void TSeriesPage::DisableDerivative() {
    m_derivative->setEnabled(false);
}

void TSeriesPage::ShowDraft(int row) {
    m_shown = row;
    m_editors->setEnabled(row >= 0);
    if (row < 0)
        return;
    const TDraft& draft = m_drafts[row];
    m_name->setText(draft.Name);
    m_visible->setChecked(draft.Visible);
    m_color->SetColor(draft.Color);
    // Matrix and per-point series have style codes the list does not offer; they keep them.
    const bool listed = draft.Style >= ssPoints && draft.Style <= ssBar;
    m_style->setCurrentIndex(listed ? draft.Style - ssPoints : -1);
    m_style->setEnabled(listed && !m_styleDisabled);
    m_markerStyle->setCurrentIndex(draft.MarkerStyle);
    m_markerSize->setValue(draft.MarkerSize);
    m_markerStep->setValue(draft.MarkerStep);
    m_markerColor->SetColor(draft.MarkerColor);
    m_markerFillColor->SetColor(draft.MarkerFillColor);
    m_markersVisible->setChecked(draft.MarkersVisible);
    m_lineStyle->setCurrentIndex(draft.LineStyle);
    m_lineWidth->setValue(draft.LineWidth);
}

void TSeriesPage::KeepShownDraft() {
    if (m_shown < 0)
        return;
    TDraft& draft = m_drafts[m_shown];
    draft.Name = m_name->text();
    draft.Visible = m_visible->isChecked();
    draft.Color = m_color->Color();
    if (m_style->currentIndex() >= 0)
        draft.Style = m_style->currentIndex() + ssPoints;
    draft.MarkerStyle = static_cast<TMarkerStyle>(m_markerStyle->currentIndex());
    draft.MarkerSize = m_markerSize->value();
    draft.MarkerStep = m_markerStep->value();
    draft.MarkerColor = m_markerColor->Color();
    draft.MarkerFillColor = m_markerFillColor->Color();
    draft.MarkersVisible = m_markersVisible->isChecked();
    draft.LineStyle = static_cast<TPenStyle>(m_lineStyle->currentIndex());
    draft.LineWidth = m_lineWidth->value();
}

void TSeriesPage::DeleteShown() {
    const int row = m_shown;
    if (row < 0)
        return;
    m_deleted.push_back(m_drafts[row].Series);
    m_drafts.erase(m_drafts.begin() + row);
    // The edits of the removed series are dropped, not kept when the current row moves on.
    m_shown = -1;
    delete m_list->takeItem(row);
    ShowDraft(m_list->currentRow());
}

void TSeriesPage::Apply() {
    KeepShownDraft();
    for (TSeries* series : m_deleted)
        DeleteSeries(series);
    m_deleted.clear();
    for (const TDraft& draft : m_drafts)
        ApplyDraft(draft);
}

void TSeriesPage::DeleteSeries(TSeries* series) const {
    // The host may have removed the series while the dialog was open.
    const int index = m_graph.IndexOf(series);
    if (index < 0)
        return;
    const int entry = m_graph.Legend().IndexOfSeries(series);
    if (entry >= 0)
        m_graph.Legend().Delete(entry);
    m_graph.DeleteLayer(index);
}

void TSeriesPage::ApplyDraft(const TDraft& draft) const {
    if (m_graph.IndexOf(draft.Series) < 0)
        return;
    TSeries& series = *draft.Series;
    series.SetName(ShortString(draft.Name));
    series.SetVisible(draft.Visible);
    series.SetColor(draft.Color);
    // Setting a style builds its auxiliary state, so an unchanged style is left alone.
    if (series.Style() != draft.Style)
        series.SetStyle(draft.Style);
    series.SetMarkerStyle(draft.MarkerStyle);
    series.SetMarkerSize(draft.MarkerSize);
    series.SetMarkerStep(draft.MarkerStep);
    series.SetMarkerColor(draft.MarkerColor);
    series.SetMarkerFillColor(draft.MarkerFillColor);
    series.SetMarkersVisible(draft.MarkersVisible);
    series.SetLineStyle(draft.LineStyle);
    series.SetLineWidth(draft.LineWidth);
    series.RefreshLegend();
}

// ------------------------------------------------------------------------------------------- Legends

TLegendBox::TLegendBox(const QString& caption, const TAbstractLegend& legend, QWidget* parent)
    : QGroupBox(caption, parent) {
    auto* grid = new QGridLayout(this);
    m_visible = MakeCheck("&Visible", "cbVisible", this);
    m_visible->setChecked(legend.Visible());
    grid->addWidget(m_visible, 0, 0);
    m_transparent = MakeCheck("&Transparent background", "cbTransparent", this);
    m_transparent->setChecked(legend.TransparentBackGround);
    grid->addWidget(m_transparent, 0, 1);
    m_style = MakeNamedChoiceList(LegendStyleCaptions, legend.Style, "cbLegendStyle", this);
    AddRow(grid, 1, "&Placement", m_style);
    m_backColor = new TColorButton("&Background", legend.BackColor, this);
    grid->addWidget(m_backColor, 2, 0);
    m_font = new TFontButton("&Font", legend.Font, this);
    grid->addWidget(m_font, 2, 1);
    m_shadowVisible = MakeCheck("&Shadow", "cbShadowVisible", this);
    m_shadowVisible->setChecked(legend.ShadowVisible);
    grid->addWidget(m_shadowVisible, 3, 0);
    m_shadowColor = new TColorButton("Shadow c&olour", legend.ShadowColor, this);
    grid->addWidget(m_shadowColor, 3, 1);
    m_shadowThickness = MakeSpin(0, 50, "seShadowThickness", this);
    m_shadowThickness->setValue(legend.ShadowThickness);
    AddRow(grid, 4, "Shadow thic&kness", m_shadowThickness);
    m_frameVisible = MakeCheck("F&rame", "cbFrameVisible", this);
    m_frameVisible->setChecked(legend.FrameVisible);
    grid->addWidget(m_frameVisible, 5, 0);
    m_frameColor = new TColorButton("Frame co&lour", legend.FrameColor, this);
    grid->addWidget(m_frameColor, 5, 1);
    m_frameThickness = MakeSpin(0, 50, "seFrameThickness", this);
    m_frameThickness->setValue(legend.FrameThickness);
    AddRow(grid, 6, "Frame thick&ness", m_frameThickness);
    m_frameStyle = MakeNamedChoiceList(PenStyleCaptions, legend.FrameStyle, "cbFrameStyle", this);
    AddRow(grid, 7, "Fra&me style", m_frameStyle);
}

void TLegendBox::ApplyTo(TAbstractLegend& legend) const {
    legend.SetVisible(m_visible->isChecked());
    legend.TransparentBackGround = m_transparent->isChecked();
    legend.Style = static_cast<TLegendStyle>(m_style->currentIndex());
    legend.BackColor = m_backColor->Color();
    legend.Font = m_font->Font();
    legend.ShadowVisible = m_shadowVisible->isChecked();
    legend.ShadowColor = m_shadowColor->Color();
    legend.ShadowThickness = m_shadowThickness->value();
    legend.FrameVisible = m_frameVisible->isChecked();
    legend.FrameColor = m_frameColor->Color();
    legend.FrameThickness = m_frameThickness->value();
    legend.FrameStyle = static_cast<TPenStyle>(m_frameStyle->currentIndex());
}

TLegendsPage::TLegendsPage(TGraph& graph, QWidget* parent)
    : TPropertiesPage(parent), m_graph(graph), m_legend(new TLegendBox("Line legend", graph.Legend(), this)),
      m_colorLegend(new TLegendBox("Colour legend", graph.ColorLegend(), this)) {
    m_legend->setObjectName("gbLegend");
    m_colorLegend->setObjectName("gbColorLegend");
    auto* page = new QHBoxLayout(this);
    page->addWidget(m_legend);
    page->addWidget(m_colorLegend);
}

void TLegendsPage::Apply() {
    m_legend->ApplyTo(m_graph.Legend());
    m_colorLegend->ApplyTo(m_graph.ColorLegend());
}

// ------------------------------------------------------------------------------------------ Settings

TSettingsPage::TSettingsPage(TPlot& plot, bool view3DDisabled, QWidget* parent)
    : TPropertiesPage(parent), m_plot(plot) {
    const TGraph& graph = plot.Graph();
    auto* plotBox = new QGroupBox("Plot", this);
    auto* plotGrid = new QGridLayout(plotBox);
    m_color = new TColorButton("Plot &colour", graph.Color, plotBox);
    plotGrid->addWidget(m_color, 0, 0);
    m_backColor = new TColorButton("&Back colour", graph.BackColor, plotBox);
    plotGrid->addWidget(m_backColor, 0, 1);
    m_view3DField = MakeEdit("edView3D", plotBox);
    m_view3DField->setText(NumberText(plot.View3D()));
    m_view3DField->setEnabled(!view3DDisabled);
    AddRow(plotGrid, 1, "View&3D (%)", m_view3DField);
    m_clipMarkers = MakeCheck("Clip &markers", "cbClipMarkers", plotBox);
    m_clipMarkers->setChecked(graph.ClipMarkers);
    plotGrid->addWidget(m_clipMarkers, 2, 0);
    m_barStyle = MakeNamedChoiceList({"Clustered", "Z-Ordered", "Stacked", "100% Stacked"}, graph.BarStyle,
                                     "cbBarStyle", plotBox);
    AddRow(plotGrid, 3, "Ba&r style", m_barStyle);
    m_minimumLogField = MakeEdit("edMinimumLogValue", plotBox);
    m_minimumLogField->setText(NumberText(graph.MinimumLogValue));
    AddRow(plotGrid, 4, "Minimum &log value", m_minimumLogField);
    m_statusBarVisible = MakeCheck("&Status bar visible", "cbStatusBarVisible", plotBox);
    m_statusBarVisible->setChecked(plot.StatusBarVisible());
    plotGrid->addWidget(m_statusBarVisible, 5, 0);

    auto* frameBox = new QGroupBox("Frame", this);
    auto* frameGrid = new QGridLayout(frameBox);
    m_frameVisible = MakeCheck("&Visible", "cbFrameVisible", frameBox);
    m_frameVisible->setChecked(graph.Frame.Visible);
    frameGrid->addWidget(m_frameVisible, 0, 0);
    m_frameColor = new TColorButton("Frame c&olour", graph.Frame.Color, frameBox);
    frameGrid->addWidget(m_frameColor, 0, 1);
    m_frameWidth = MakeSpin(0, 50, "seFrameWidth", frameBox);
    m_frameWidth->setValue(graph.Frame.Width);
    AddRow(frameGrid, 1, "Frame &width", m_frameWidth);

    auto* gradientBox = new QGroupBox("Gradient", this);
    auto* gradientGrid = new QGridLayout(gradientBox);
    m_gradientVisible = MakeCheck("Gra&dient visible", "cbGradientVisible", gradientBox);
    m_gradientVisible->setChecked(graph.Gradient.Visible);
    gradientGrid->addWidget(m_gradientVisible, 0, 0);
    m_gradientStyle = MakeNamedChoiceList({"None", "Left to Right", "Top to Bottom"}, graph.Gradient.Style,
                                          "cbGradientStyle", gradientBox);
    AddRow(gradientGrid, 1, "Gradient st&yle", m_gradientStyle);
    m_gradientStart = new TColorButton("S&tart colour", graph.Gradient.StartColor, gradientBox);
    gradientGrid->addWidget(m_gradientStart, 2, 0);
    m_gradientEnd = new TColorButton("&End colour", graph.Gradient.EndColor, gradientBox);
    gradientGrid->addWidget(m_gradientEnd, 2, 1);

    auto* side = new QVBoxLayout;
    side->addWidget(frameBox);
    side->addWidget(gradientBox);
    side->addStretch();
    auto* page = new QHBoxLayout(this);
    page->addWidget(plotBox);
    page->addLayout(side);
}

std::optional<TFieldProblem> TSettingsPage::Check() {
    if (auto problem = ReadNumber(m_view3DField->text(), "View3D (%)", m_view3DField, m_view3D))
        return problem;
    if (m_view3D < 0 || m_view3D > 100)
        return FieldProblem(m_view3DField, "View3D (%) must be between 0 and 100.");
    if (auto problem =
            ReadNumber(m_minimumLogField->text(), "Minimum log value", m_minimumLogField, m_minimumLogValue))
        return problem;
    // The logarithm of the floor must exist.
    if (m_minimumLogValue <= 0)
        return FieldProblem(m_minimumLogField, "Minimum log value must be greater than 0.");
    return std::nullopt;
}

void TSettingsPage::Apply() {
    TGraph& graph = m_plot.Graph();
    graph.Color = m_color->Color();
    graph.BackColor = m_backColor->Color();
    graph.ClipMarkers = m_clipMarkers->isChecked();
    graph.BarStyle = static_cast<TBarStyle>(m_barStyle->currentIndex());
    graph.MinimumLogValue = m_minimumLogValue;
    graph.Frame.Visible = m_frameVisible->isChecked();
    graph.Frame.Color = m_frameColor->Color();
    graph.Frame.Width = m_frameWidth->value();
    graph.Gradient.Visible = m_gradientVisible->isChecked();
    graph.Gradient.Style = static_cast<TGradientStyle>(m_gradientStyle->currentIndex());
    graph.Gradient.StartColor = m_gradientStart->Color();
    graph.Gradient.EndColor = m_gradientEnd->Color();
    m_plot.SetStatusBarVisible(m_statusBarVisible->isChecked());
    // Changing the 3-D look resets the ticks of every axis, so it happens only when asked for.
    if (std::abs(m_view3D - m_plot.View3D()) > 1e-9)
        m_plot.SetView3D(m_view3D);
}

// ---------------------------------------------------------------------------------------------- Info

TInfoPage::TInfoPage(TGraph& graph, bool showPanelHidden, QWidget* parent)
    : TPropertiesPage(parent), m_graph(graph) {
    const TGraphInfo& info = graph.Info;
    auto* bubble = new QGroupBox("Bubble", this);
    auto* grid = new QGridLayout(bubble);
    m_visible = MakeCheck("&Visible", "cbInfoVisible", bubble);
    m_visible->setChecked(info.Visible);
    grid->addWidget(m_visible, 0, 0);
    m_style =
        MakeNamedChoiceList({"Round Rectangle", "Rectangle", "No Bubble"}, info.Style, "cbInfoStyle", bubble);
    AddRow(grid, 1, "&Style", m_style);
    m_position = MakeNamedChoiceList(
        {"Right Top", "Top Center", "Left Top", "Right Bottom", "Bottom Center", "Left Bottom"},
        info.Position, "cbInfoPosition", bubble);
    AddRow(grid, 2, "&Position", m_position);
    m_digits = MakeSpin(1, 20, "seDigits", bubble);
    m_digits->setValue(info.NumberOfGeneralDigits);
    AddRow(grid, 3, "&Digits", m_digits);
    m_color = new TColorButton("&Colour", info.Color, bubble);
    grid->addWidget(m_color, 4, 0);
    m_font = new TFontButton("&Font", info.Font, bubble);
    grid->addWidget(m_font, 4, 1);

    m_showPanel = new QGroupBox("Show", this);
    m_showPanel->setObjectName("gbInfoShow");
    auto* show = new QGridLayout(m_showPanel);
    m_pointVisible = MakeCheck("P&oint", "cbPointVisible", m_showPanel);
    m_pointVisible->setChecked(info.PointVisible);
    show->addWidget(m_pointVisible, 0, 0);
    m_pointName = MakeEdit("edPointName", m_showPanel);
    m_pointName->setText(QString::fromStdString(info.PointName));
    show->addWidget(m_pointName, 0, 1);
    m_seriesVisible = MakeCheck("S&eries", "cbSeriesVisible", m_showPanel);
    m_seriesVisible->setChecked(info.SeriesVisible);
    show->addWidget(m_seriesVisible, 1, 0);
    m_seriesName = MakeEdit("edSeriesName", m_showPanel);
    m_seriesName->setText(QString::fromStdString(info.SeriesName));
    show->addWidget(m_seriesName, 1, 1);
    m_formatX = MakeEdit("edFormatX", m_showPanel);
    m_formatX->setText(QString::fromStdString(info.FormatX));
    AddRow(show, 2, "&X format", m_formatX);
    m_formatY = MakeEdit("edFormatY", m_showPanel);
    m_formatY->setText(QString::fromStdString(info.FormatY));
    AddRow(show, 3, "&Y format", m_formatY);
    m_showPanel->setVisible(!showPanelHidden);

    auto* page = new QHBoxLayout(this);
    page->addWidget(bubble, 0, Qt::AlignTop);
    page->addWidget(m_showPanel, 0, Qt::AlignTop);
}

void TInfoPage::Apply() {
    TGraphInfo& info = m_graph.Info;
    info.Visible = m_visible->isChecked();
    info.Style = static_cast<TInfoStyle>(m_style->currentIndex());
    info.Position = static_cast<TInfoPosition>(m_position->currentIndex());
    info.NumberOfGeneralDigits = m_digits->value();
    info.Color = m_color->Color();
    info.Font = m_font->Font();
    info.PointVisible = m_pointVisible->isChecked();
    info.PointName = m_pointName->text().toStdString();
    info.SeriesVisible = m_seriesVisible->isChecked();
    info.SeriesName = m_seriesName->text().toStdString();
    info.FormatX = m_formatX->text().toStdString();
    info.FormatY = m_formatY->text().toStdString();
}

} // namespace mirla
