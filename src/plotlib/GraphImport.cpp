#include "plotlib/GraphImport.h"

#include "plotlib/DataFiles.h"
#include "plotlib/Graph.h"
#include "plotlib/PropertiesControls.h"
#include "plotlib/Series.h"
#include "plotlib/TextListModels.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>

namespace mirla {

namespace {

/// The entries of the style list and the style codes they stand for; "Bar Z-Order" also draws
/// the graph's bars one behind the other.
struct TStyleEntry {
    const char* Caption;
    int Code;
};
constexpr TStyleEntry StyleEntries[] = {
    {"Points", ssPoints}, {"Line", ssLine}, {"Line and Point ", ssLineAndPoint},
    {"Area", ssArea},     {"Bar", ssBar},   {"Bar Z-Order", ssBar}};
constexpr int BarZOrderEntry = 5;
constexpr int MaxLineWidth = 20;

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("bbOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bbCancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

int StyleEntryOf(const TSeries& series, const TGraph& graph) {
    if (series.Style() == ssBar && graph.BarStyle == bsZOrdered)
        return BarZOrderEntry;
    for (int i = 0; i < static_cast<int>(std::size(StyleEntries)); ++i)
        if (StyleEntries[i].Code == series.Style())
            return i;
    return 2;
}

} // namespace

// ---- "Links Fields"

TfmFields::TfmFields(const std::vector<std::string>& inputNames, QWidget* parent)
    : QDialog(parent), m_inputNames(inputNames) {
    setObjectName(QStringLiteral("fmFields"));
    setWindowTitle(QStringLiteral("Links Fields"));
    lbRequired = Named(new QListWidget(this), "lbRequired");
    for (const std::string& name : m_requiredNames)
        lbRequired->addItem(QString::fromStdString(name));
    lbInput = Named(new QListWidget(this), "lbInput");
    for (const std::string& name : m_inputNames)
        lbInput->addItem(QString::fromStdString(name));
    meLinks = Named(new QPlainTextEdit(this), "meLinks");
    meLinks->setReadOnly(true);
    auto* link = Named(new QPushButton(QStringLiteral("&Link"), this), "btLink");
    connect(link, &QPushButton::clicked, this, &TfmFields::btLinkClick);

    auto* lists = new QHBoxLayout;
    for (const auto& [caption, list] :
         {std::pair("Required Fields", lbRequired), {"Input Fields", lbInput}}) {
        auto* column = new QVBoxLayout;
        column->addWidget(new QLabel(QString::fromLatin1(caption), this));
        column->addWidget(list);
        lists->addLayout(column);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(link);
    layout->addWidget(meLinks);
    layout->addWidget(OkCancel(this));
}

void TfmFields::btLinkClick() {
    const int required = lbRequired->currentRow();
    const int input = lbInput->currentRow();
    if (required < 0 || input < 0) {
        QMessageBox::critical(this, windowTitle(), QStringLiteral("Select both fields"));
        return;
    }
    m_links.Link(required, input);
    QStringList lines;
    for (const std::string& line : m_links.MemoLines(m_inputNames, m_requiredNames))
        lines << QString::fromStdString(line);
    meLinks->setPlainText(lines.join(QLatin1Char('\n')));
}

// ---- "Show data"

TfmFileData::TfmFileData(std::vector<std::string_view> lines, const TDelimiterSet& delimiters,
                         QWidget* parent)
    : QDialog(parent), m_delimiters(delimiters) {
    setObjectName(QStringLiteral("fmFileData"));
    setWindowTitle(QStringLiteral("Show data"));
    m_lines = new TTextLinesModel(this);
    m_lines->SetLines(std::move(lines));
    auto* view = Named(new QListView(this), "lbData");
    view->setUniformItemSizes(true);
    view->setModel(m_lines);
    view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    edXColumn = Named(new QLineEdit(QStringLiteral("1"), this), "edXColumn");
    edYColumn = Named(new QLineEdit(QStringLiteral("2"), this), "edYColumn");
    const std::string_view chosen = delimiters.Slots();
    const auto ticked = [&](std::size_t slot, char c) { return slot < chosen.size() && chosen[slot] == c; };
    cbSpace = Named(new QCheckBox(QStringLiteral("Space"), this), "cbSpace");
    cbComma = Named(new QCheckBox(QStringLiteral("Comma"), this), "cbComma");
    cbTab = Named(new QCheckBox(QStringLiteral("Tab"), this), "cbTab");
    cbSlash = Named(new QCheckBox(QStringLiteral("Slash"), this), "cbSlash");
    cbSpace->setChecked(ticked(0, ' '));
    cbComma->setChecked(ticked(1, ','));
    cbTab->setChecked(ticked(2, '\t'));
    cbSlash->setChecked(ticked(3, '/'));
    const std::string user = chosen.size() > 4 ? std::string(chosen.substr(4)) : std::string();
    const bool hasUser = user.find_first_not_of('\0') != std::string::npos;
    cbUser = Named(new QCheckBox(QStringLiteral("User define"), this), "cbUser");
    cbUser->setChecked(hasUser);
    edUser = Named(new QLineEdit(hasUser ? QString::fromStdString(user) : QString(), this), "edUser");
    edUser->setEnabled(hasUser);
    connect(cbUser, &QCheckBox::toggled, edUser, &QLineEdit::setEnabled);

    auto* columns = new QFormLayout;
    columns->addRow(QStringLiteral("X Column"), edXColumn);
    columns->addRow(QStringLiteral("Y Column"), edYColumn);
    auto* delimiterBox = new QGroupBox(QStringLiteral("Delimiters"), this);
    auto* delimiterLayout = new QVBoxLayout(delimiterBox);
    for (QWidget* box :
         {static_cast<QWidget*>(cbSpace), static_cast<QWidget*>(cbComma), static_cast<QWidget*>(cbTab),
          static_cast<QWidget*>(cbSlash), static_cast<QWidget*>(cbUser), static_cast<QWidget*>(edUser)})
        delimiterLayout->addWidget(box);
    auto* side = new QVBoxLayout;
    side->addLayout(columns);
    side->addWidget(delimiterBox);
    side->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(view, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(OkCancel(this));
    resize(640, 420);
}

void TfmFileData::accept() {
    const std::optional<int> x = ReadColumnNumber(edXColumn->text().toStdString());
    const std::optional<int> y = ReadColumnNumber(edYColumn->text().toStdString());
    const std::string user = cbUser->isChecked() ? edUser->text().toStdString() : std::string();
    const std::optional<TDelimiterSet> set = TDelimiterSet::FromChoices(
        cbSpace->isChecked(), cbComma->isChecked(), cbTab->isChecked(), cbSlash->isChecked(), user);
    const char* problem = !x     ? "Column for X undefined"
                          : !y   ? "Column for Y undefined"
                          : !set ? "The number of User Define charakters must be <=6."
                                 : nullptr;
    if (problem) {
        QMessageBox::critical(this, windowTitle(), QString::fromLatin1(problem));
        return;
    }
    m_xColumn = *x;
    m_yColumn = *y;
    m_delimiters = *set;
    QDialog::accept();
}

// ---- "Paste Series from Clipboard"

TfmGraphImport::TfmGraphImport(TGraph& graph, TSeries* target, TDelimiterSet& delimiters, QWidget* parent)
    : QDialog(parent), m_graph(graph), m_target(target), m_delimiters(delimiters) {
    setObjectName(QStringLiteral("fmGraphImport"));
    setWindowTitle(QStringLiteral("Paste Series from Clipboard"));
    m_grid = new TImportGridModel(this);
    sgData = Named(new QTableView(this), "sgData");
    sgData->setModel(m_grid);
    sgData->verticalHeader()->setDefaultSectionSize(sgData->fontMetrics().height() + 4);
    sgData->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* tools = new QHBoxLayout;
    const auto button = [&](const char* caption, const char* name, void (TfmGraphImport::*click)()) {
        auto* b = Named(new QPushButton(QString::fromLatin1(caption), this), name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, click);
        tools->addWidget(b);
    };
    button("&Paste", "btPaste", &TfmGraphImport::btPasteClick);
    button("Paste by &Field Name", "btPasteByName", &TfmGraphImport::btPasteByNameClick);
    button("Open", "btOpen", &TfmGraphImport::btOpenClick);
    tools->addStretch();

    BuildSettings();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    auto* body = new QHBoxLayout;
    body->addWidget(sgData, 1);
    auto* settings = new QFormLayout;
    settings->addRow(QStringLiteral("Name"), edName);
    settings->addRow(QStringLiteral("Style"), cbStyle);
    settings->addRow(QStringLiteral("Line style"), cbLineStyle);
    settings->addRow(QString(), btColor);
    settings->addRow(QStringLiteral("Line width"), udWidth);
    settings->addRow(QStringLiteral("Marker"), udMarker);
    settings->addRow(QString(), cbShowInLegend);
    body->addLayout(settings);
    layout->addLayout(body);
    layout->addWidget(OkCancel(this));
    resize(620, 440);
}

TfmGraphImport::~TfmGraphImport() = default;

const TImportGrid& TfmGraphImport::Grid() const {
    return m_grid->Grid();
}

void TfmGraphImport::BuildSettings() {
    edName = Named(new QLineEdit(this), "edName");
    QStringList styles;
    for (const TStyleEntry& entry : StyleEntries)
        styles << QString::fromLatin1(entry.Caption);
    cbStyle = Named(MakeChoiceList(styles, 2, this), "cbStyle");
    cbLineStyle = Named(
        MakeChoiceList({QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Dot"),
                        QStringLiteral("Dash-dot"), QStringLiteral("Dash-dot-dot"), QStringLiteral("Clear")},
                       psSolid, this),
        "cbLineStyle");
    btColor = Named(new TColorButton(QStringLiteral("&Color"), m_graph.FreeColor(), this), "btColor");
    udWidth = Named(new QSpinBox(this), "udWidth");
    udWidth->setRange(1, MaxLineWidth);
    udMarker = Named(new QSpinBox(this), "udMarker");
    udMarker->setRange(msNone, msWisker1);
    udMarker->setValue(m_graph.FreeMarker());
    cbShowInLegend = Named(new QCheckBox(QStringLiteral("Show In Legend"), this), "cbShowInLegend");
    cbShowInLegend->setChecked(true);
    edName->setText(QStringLiteral("Series %1").arg(m_graph.LayerCount() + 1));
    if (m_target)
        ShowSettingsOf(*m_target);
}

void TfmGraphImport::ShowSettingsOf(const TSeries& series) {
    edName->setText(QString::fromStdString(series.Name()));
    cbStyle->setCurrentIndex(StyleEntryOf(series, m_graph));
    cbLineStyle->setCurrentIndex(series.LineStyle());
    btColor->SetColor(series.Color());
    udWidth->setValue(series.LineWidth());
    udMarker->setValue(series.MarkerStyle());
    cbShowInLegend->setChecked(series.ShowInLegend());
}

void TfmGraphImport::ApplySettings(TSeries& series) const {
    series.SetName(edName->text().toStdString());
    series.SetColor(btColor->Color());
    series.SetStyle(StyleEntries[cbStyle->currentIndex()].Code);
    if (cbStyle->currentIndex() == BarZOrderEntry)
        m_graph.BarStyle = bsZOrdered;
    series.SetLineStyle(static_cast<TPenStyle>(cbLineStyle->currentIndex()));
    series.SetLineWidth(udWidth->value());
    series.SetMarkerStyle(static_cast<TMarkerStyle>(udMarker->value()));
    series.SetShowInLegend(cbShowInLegend->isChecked());
}

template <typename Split> bool TfmGraphImport::SplitWithProgress(const QString& what, Split split) {
    TImportGrid grid;
    TProgressGuard progress(this, what);
    const bool finished = split(grid, progress.Reporter());
    m_grid->SetGrid(finished ? std::move(grid) : TImportGrid());
    return finished;
}

void TfmGraphImport::btPasteClick() {
    m_text = ClipboardText();
    const std::vector<std::string_view> lines = TextLines(m_text);
    SplitWithProgress(QStringLiteral("Pasting"), [&](TImportGrid& grid, const TLineProgress& report) {
        return PasteLines(lines, m_delimiters, grid, report);
    });
}

void TfmGraphImport::btPasteByNameClick() {
    m_text = ClipboardText();
    const std::vector<std::string_view> lines = TextLines(m_text);
    if (lines.empty()) {
        QMessageBox::critical(this, windowTitle(), QStringLiteral("Clipboard not contents text information"));
        return;
    }
    TfmFields fields(FieldNames(lines.front()), this);
    if (fields.exec() != QDialog::Accepted)
        return;
    TImportGrid grid;
    fields.Links().FillGrid(lines, grid);
    m_grid->SetGrid(std::move(grid));
}

void TfmGraphImport::btOpenClick() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("ASCII Data File Selection"),
                                                      QString(), QStringLiteral("Any ASCII files (*)"),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        LoadFile(path);
}

void TfmGraphImport::LoadFile(const QString& path) {
    QString error;
    if (!ReadDataFile(path, m_text, error)) {
        QMessageBox::critical(this, windowTitle(), error);
        return;
    }
    const std::vector<std::string_view> lines = TextLines(m_text);
    TfmFileData data(lines, m_delimiters, this);
    if (data.exec() != QDialog::Accepted)
        return;
    m_delimiters = data.Delimiters();
    SplitWithProgress(QStringLiteral("Reading ") + path, [&](TImportGrid& grid, const TLineProgress& report) {
        return ColumnsOfLines(lines, data.XColumn(), data.YColumn(), m_delimiters, grid, report);
    });
}

void TfmGraphImport::accept() {
    const TGridPoints points = GridToPoints(m_grid->Grid());
    if (points.X.empty()) {
        QMessageBox::critical(
            this, windowTitle(),
            QStringLiteral("No series made: the first row of the grid does not hold two numbers"));
        return;
    }
    std::unique_ptr<TSeries> created;
    TSeries* series = m_target;
    if (!series) {
        created = std::make_unique<TSeries>(m_graph, std::string(), ssLineAndPoint, btColor->Color());
        series = created.get();
    }
    series->Clear();
    for (std::size_t i = 0; i < points.X.size(); ++i)
        series->AddPoint(clGreen, std::string(), points.X[i], points.Y[i]);
    ApplySettings(*series);
    if (series->ShowInLegend() && !series->Legend()) {
        auto entry = std::make_unique<TLineLegend>(m_graph);
        series->AttachLegend(entry.get());
        m_graph.Legend().Add(std::move(entry));
    }
    series->RefreshLegend();
    if (created)
        m_graph.AddLayer(std::move(created));
    m_changed = true;
    QDialog::accept();
}

} // namespace mirla
