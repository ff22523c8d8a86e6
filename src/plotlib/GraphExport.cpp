#include "plotlib/GraphExport.h"

#include "plotlib/DataFiles.h"
#include "plotlib/Graph.h"
#include "plotlib/Series.h"
#include "plotlib/TextListModels.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace mirla {

namespace {

enum TDelimiterChoice { dcSpace, dcComma, dcTab, dcSlash, dcUser };
constexpr const char* DelimiterCaptions[] = {"Space", "Comma", "Tab", "Slash", "User define"};
constexpr char StandardDelimiters[] = {' ', ',', '\t', '/'};
const QString NoUserDelimiter = QStringLiteral("(none)");

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TfmExports::TfmExports(TGraph& graph, QWidget* parent) : QDialog(parent), m_graph(graph) {
    setObjectName(QStringLiteral("fmExports"));
    setWindowTitle(QStringLiteral("Export"));
    lbSeries = Named(new QListWidget(this), "lbSeries");
    for (int i = graph.LayerCount() - 1; i >= 0; --i)
        if (auto* series = dynamic_cast<TSeries*>(graph.Layer(i))) {
            m_series.push_back(series);
            lbSeries->addItem(QString::fromStdString(series->Name()));
        }
    m_preview = new TTextLinesModel(this);
    lbPreview = Named(new QListView(this), "lbPreview");
    lbPreview->setUniformItemSizes(true);
    lbPreview->setModel(m_preview);
    BuildOptions();
    connect(lbSeries, &QListWidget::currentRowChanged, this, &TfmExports::RebuildPreview);
    lbSeries->setCurrentRow(0);
    resize(640, 440);
}

TfmExports::~TfmExports() = default;

void TfmExports::BuildOptions() {
    auto* parts = new QVBoxLayout;
    for (auto [box, caption, name] : {std::tuple(&cbName, "Name", "cbName"),
                                      {&cbTitle, "Title", "cbTitle"},
                                      {&cbXAxis, "X Axis", "cbXAxis"},
                                      {&cbYAxis, "Y Axis", "cbYAxis"},
                                      {&cbFoot, "Foot", "cbFoot"}}) {
        *box = Named(new QCheckBox(QString::fromLatin1(caption), this), name);
        connect(*box, &QCheckBox::toggled, this, &TfmExports::RebuildPreview);
        parts->addWidget(*box);
    }
    edXColumn = Named(new QLineEdit(QStringLiteral("1"), this), "edXColumn");
    edYColumn = Named(new QLineEdit(QStringLiteral("2"), this), "edYColumn");
    for (QLineEdit* column : {edXColumn, edYColumn})
        connect(column, &QLineEdit::editingFinished, this, &TfmExports::RebuildPreview);
    auto* columns = new QFormLayout;
    columns->addRow(QStringLiteral("X column"), edXColumn);
    columns->addRow(QStringLiteral("Y column"), edYColumn);

    auto* delimiterBox = Named(new QGroupBox(QStringLiteral("Delimiters"), this), "gbDelimiters");
    auto* delimiterLayout = new QVBoxLayout(delimiterBox);
    rgDelimiters = new QButtonGroup(this);
    for (int id = dcSpace; id <= dcUser; ++id) {
        auto* choice = new QRadioButton(QString::fromLatin1(DelimiterCaptions[id]), delimiterBox);
        rgDelimiters->addButton(choice, id);
        delimiterLayout->addWidget(choice);
    }
    rgDelimiters->button(dcTab)->setChecked(true);
    connect(rgDelimiters, &QButtonGroup::idClicked, this, &TfmExports::DelimiterClick);
    edUserDelimiters = Named(new QLineEdit(NoUserDelimiter, this), "edUserDelimiters");
    edUserDelimiters->setEnabled(false);
    connect(edUserDelimiters, &QLineEdit::editingFinished, this, &TfmExports::UserDelimiterDone);
    delimiterLayout->addWidget(edUserDelimiters);

    cbClearClipboard = Named(new QCheckBox(QStringLiteral("Clear clipboard"), this), "cbClearClipboard");
    cbClearClipboard->setChecked(true);
    auto* toClipboard = Named(new QPushButton(QStringLiteral("Copy to &Clipboard"), this), "btClipboard");
    connect(toClipboard, &QPushButton::clicked, this, &TfmExports::btClipboardClick);
    auto* toFile = Named(new QPushButton(QStringLiteral("Copy to &file"), this), "btFile");
    connect(toFile, &QPushButton::clicked, this, &TfmExports::btFileClick);
    auto* close = Named(new QPushButton(QStringLiteral("&Close"), this), "btClose");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton* button : {toClipboard, toFile, close})
        button->setAutoDefault(false);

    auto* options = new QVBoxLayout;
    options->addLayout(parts);
    options->addLayout(columns);
    options->addWidget(delimiterBox);
    options->addStretch();
    auto* lists = new QVBoxLayout;
    lists->addWidget(lbSeries, 1);
    lists->addWidget(lbPreview, 3);
    auto* body = new QHBoxLayout;
    body->addLayout(lists, 1);
    body->addLayout(options);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbClearClipboard);
    buttons->addStretch();
    buttons->addWidget(toClipboard);
    buttons->addWidget(toFile);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);
}

TSeries* TfmExports::SelectedSeries() const {
    const int row = lbSeries->currentRow();
    return row >= 0 && row < static_cast<int>(m_series.size()) ? m_series[static_cast<std::size_t>(row)]
                                                               : nullptr;
}

TExportOptions TfmExports::Options() const {
    TExportOptions options;
    options.Name = cbName->isChecked();
    options.Title = cbTitle->isChecked();
    options.XAxis = cbXAxis->isChecked();
    options.YAxis = cbYAxis->isChecked();
    options.Foot = cbFoot->isChecked();
    // A column that is no whole number is refused like any other wrong number.
    options.XColumn = ReadColumnNumber(edXColumn->text().toStdString()).value_or(0);
    options.YColumn = ReadColumnNumber(edYColumn->text().toStdString()).value_or(0);
    const int choice = rgDelimiters->checkedId();
    options.Delimiter = choice == dcUser ? m_userDelimiter : StandardDelimiters[choice];
    return options;
}

void TfmExports::RebuildPreview() {
    m_x.clear();
    m_y.clear();
    TExportSource source{std::string(),
                         m_graph.Title.Text,
                         m_graph.Foot.Text,
                         m_graph.XAxis().Name,
                         m_graph.YAxis().Name,
                         {},
                         {}};
    if (const TSeries* series = SelectedSeries()) {
        source.Name = series->Name();
        for (int i = 0; i < series->Count(); ++i) {
            m_x.push_back(series->X(i));
            m_y.push_back(series->Y(i));
        }
        source.X = m_x;
        source.Y = m_y;
    }
    m_preview->SetLines({});
    m_text = ExportLines(source, Options());
    m_preview->SetLines({m_text.Lines.begin(), m_text.Lines.end()});
    if (!m_text.ColumnsValid) {
        QMessageBox::critical(this, windowTitle(), QString::fromLatin1(ExportColumnsMessage.data()));
        edXColumn->setFocus();
    }
}

void TfmExports::DelimiterClick(int id) {
    if (id == dcUser) {
        edUserDelimiters->clear();
        edUserDelimiters->setEnabled(true);
        edUserDelimiters->setFocus();
        return;
    }
    edUserDelimiters->setText(NoUserDelimiter);
    edUserDelimiters->setEnabled(false);
    RebuildPreview();
}

void TfmExports::UserDelimiterDone() {
    if (rgDelimiters->checkedId() != dcUser)
        return;
    const std::string text = edUserDelimiters->text().toStdString();
    if (text.empty()) {
        rgDelimiters->button(dcTab)->setChecked(true);
        DelimiterClick(dcTab);
        return;
    }
    m_userDelimiter = text.front();
    RebuildPreview();
}

void TfmExports::btClipboardClick() {
    if (cbClearClipboard->isChecked())
        QApplication::clipboard()->clear();
    SetClipboardText(JoinedLines(m_text.Lines));
}

void TfmExports::btFileClick() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save to file"), QString(),
                                                      QStringLiteral("TEXT files (*)"), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        WriteTo(path);
}

bool TfmExports::WriteTo(const QString& path) {
    QString error;
    if (WriteDataFile(path, JoinedLines(m_text.Lines), error))
        return true;
    QMessageBox::critical(this, windowTitle(), error);
    return false;
}

} // namespace mirla
