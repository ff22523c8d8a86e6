#include "plotlib/PrintDialog.h"

#include "plotlib/PropertiesControls.h"
#include "runtime/SettingsFile.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>

namespace mirla {

namespace {

constexpr double MillimetreUnits = 25.4;
constexpr double InchUnits = 2.54;
constexpr int MostCopies = 999;
constexpr std::array<const char*, TitleBlockCount> BlockCaptions = {"Program Title", "Company Logo",
                                                                    "Project Title", "Plot Description"};
/// The blocks whose contents the "Title Blocks" page edits, in the order of its list.
constexpr std::array<TTitleBlock, 2> EditableBlocks = {TTitleBlock::CompanyLogo, TTitleBlock::ProjectTitle};
/// The blocks "&Save" stores.
constexpr std::array<TTitleBlock, 3> StoredBlocks = {TTitleBlock::CompanyLogo, TTitleBlock::ProjectTitle,
                                                     TTitleBlock::PlotDescription};

std::size_t Index(TTitleBlock block) {
    return static_cast<std::size_t>(block);
}

/// Radio buttons with `captions` in a titled box, numbered 0, 1, ... in their group.
QButtonGroup* AddRadioGroup(QWidget* owner, QLayout* layout, const QString& title,
                            const QStringList& captions, const char* name) {
    auto* box = new QGroupBox(title, owner);
    auto* boxLayout = new QHBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    group->setObjectName(QLatin1String(name));
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], box);
        group->addButton(button, i);
        boxLayout->addWidget(button);
    }
    layout->addWidget(box);
    return group;
}

std::vector<std::string> LinesOf(const QPlainTextEdit* memo) {
    std::vector<std::string> lines;
    const QString text = memo->toPlainText();
    if (!text.isEmpty()) {
        for (const QString& line : text.split('\n')) {
            lines.push_back(line.toStdString());
        }
    }
    return lines;
}

QString TextOf(const std::vector<std::string>& lines) {
    QStringList texts;
    for (const std::string& line : lines) {
        texts.append(QString::fromStdString(line));
    }
    return texts.join('\n');
}

QString FontText(const TFontSpec& font) {
    return QStringLiteral("%1, %2").arg(QString::fromStdString(font.Name)).arg(font.Size);
}

} // namespace

TPreView::TPreView(QPrinter& printer, std::function<void(QPrinter&)> paint, QWidget* parent)
    : QDialog(parent), m_preview(new QPrintPreviewWidget(&printer, this)) {
    setObjectName(QStringLiteral("PreView"));
    setWindowTitle(QStringLiteral("Print Preview"));
    resize(700, 800);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [paint = std::move(paint)](QPrinter* target) { paint(*target); });
    auto* tools = new QToolBar(this);
    tools->addAction(QStringLiteral("Zoom In"), m_preview, [this] { m_preview->zoomIn(); });
    tools->addAction(QStringLiteral("Zoom Out"), m_preview, [this] { m_preview->zoomOut(); });
    tools->addAction(QStringLiteral("Whole Page"), m_preview, &QPrintPreviewWidget::fitInView);
    tools->addAction(QStringLiteral("Page Width"), m_preview, &QPrintPreviewWidget::fitToWidth);
    tools->addSeparator();
    tools->addAction(QStringLiteral("Close"), this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(m_preview, 1);
    m_preview->fitInView();
}

TPrintDlg::TPrintDlg(TPageSetup& setup, std::vector<TGraph*> graphs, std::string iniFile,
                     const TPrintTexts& texts, QWidget* parent)
    : QDialog(parent), m_setup(setup), m_graphs(std::move(graphs)), m_iniFile(std::move(iniFile)) {
    setObjectName(QStringLiteral("PrintDlg"));
    setWindowTitle(QStringLiteral("Print"));
    TIniFile ini;
    std::string message;
    if (!ini.Load(m_iniFile, message)) {
        // The page still prints with the defaults; saving later will not overwrite that file.
        ini = TIniFile();
    }
    m_setup.Margins = ReadPrintMargins(ini);
    m_setup.Blocks = ReadTitleBlocks(ini, texts);

    pcPages = new QTabWidget(this);
    pcPages->setObjectName(QStringLiteral("pcPages"));
    pcPages->addTab(BuildLayoutPage(), QStringLiteral("Page Layout"));
    pcPages->addTab(BuildBlocksPage(), QStringLiteral("Title Blocks"));
    connect(pcPages, &QTabWidget::currentChanged, this, [this] { ConfirmBlockSaved(); });

    auto* buttons = new QDialogButtonBox(this);
    const auto addButton = [this, buttons](const char* name, const QString& caption, auto click) {
        QPushButton* button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
        button->setObjectName(QLatin1String(name));
        connect(button, &QPushButton::clicked, this, click);
    };
    addButton("btPrint", QStringLiteral("&Print"), [this] { PrintClick(); });
    addButton("btPreview", QStringLiteral("Preview"), [this] { PreviewClick(); });
    addButton("btPdf", QStringLiteral("Print to P&DF..."), [this] { PdfClick(); });
    addButton("btSave", QStringLiteral("&Save"), [this] { SaveSettings(); });
    addButton("btSetup", QStringLiteral("Printer Setup"), [this] { SetupClick(); });
    buttons->addButton(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcPages);
    layout->addWidget(buttons);
}

TPrintDlg::~TPrintDlg() = default;

QWidget* TPrintDlg::BuildLayoutPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsLayout"));
    auto* layout = new QVBoxLayout(page);
    auto* marginBox = new QGroupBox(QStringLiteral("Margins"), page);
    auto* marginForm = new QFormLayout(marginBox);
    const std::array<const char*, 4> names = {"edLeft", "edRight", "edTop", "edBottom"};
    const std::array<const char*, 4> captions = {"Left", "Right", "Top", "Bottom"};
    for (std::size_t i = 0; i < m_marginEdits.size(); ++i) {
        QSpinBox* edit = m_marginEdits[i] = new QSpinBox(marginBox);
        edit->setObjectName(QLatin1String(names[i]));
        edit->setRange(0, LargestMargin);
        marginForm->addRow(QLatin1String(captions[i]), edit);
        connect(edit, &QSpinBox::valueChanged, this, &TPrintDlg::MarginChanged);
    }
    layout->addWidget(marginBox);
    rgUnits = AddRadioGroup(page, layout, QStringLiteral("Units"),
                            {QStringLiteral("mm"), QStringLiteral("inches")}, "rgUnits");
    rgUnits->button(MarginsInMillimetres(m_setup.Margins.Units) ? 0 : 1)->setChecked(true);
    connect(rgUnits, &QButtonGroup::idClicked, this, &TPrintDlg::UnitsChanged);
    rgOrientation = AddRadioGroup(page, layout, QStringLiteral("Orientation"),
                                  {QStringLiteral("Portrait"), QStringLiteral("Landscape")}, "rgOrientation");
    rgOrientation->button(m_setup.Landscape ? 1 : 0)->setChecked(true);
    connect(rgOrientation, &QButtonGroup::idClicked, this, [this](int id) { m_setup.Landscape = id == 1; });

    auto* copiesForm = new QFormLayout;
    edCopies = new QSpinBox(page);
    edCopies->setObjectName(QStringLiteral("edCopies"));
    edCopies->setRange(1, MostCopies);
    edCopies->setValue(m_setup.Copies);
    connect(edCopies, &QSpinBox::valueChanged, this, [this](int copies) { m_setup.Copies = copies; });
    copiesForm->addRow(QStringLiteral("Copies"), edCopies);
    // Several graphs share the plot rectangle in the way chosen here.
    if (m_graphs.size() > 1) {
        QComboBox* arrangement = MakeChoiceList(
            {QStringLiteral("Grid"), QStringLiteral("Vertical"), QStringLiteral("Side by side")},
            static_cast<int>(m_setup.Arrangement), page);
        arrangement->setObjectName(QStringLiteral("cbArrangement"));
        connect(arrangement, &QComboBox::currentIndexChanged, this,
                [this](int index) { m_setup.Arrangement = static_cast<TGraphArrangement>(index); });
        copiesForm->addRow(QStringLiteral("Graphs"), arrangement);
    }
    layout->addLayout(copiesForm);

    auto* checks = new QGroupBox(QStringLiteral("Title Blocks"), page);
    auto* checksLayout = new QVBoxLayout(checks);
    const std::array<const char*, TitleBlockCount> checkNames = {"cbProgramTitle", "cbCompanyLogo",
                                                                 "cbProjectTitle", "cbPlotDescription"};
    for (std::size_t i = 0; i < TitleBlockCount; ++i) {
        QCheckBox* check = m_blockChecks[i] = new QCheckBox(QLatin1String(BlockCaptions[i]), checks);
        check->setObjectName(QLatin1String(checkNames[i]));
        check->setChecked(m_setup.Ticked[i]);
        connect(check, &QCheckBox::toggled, this, [this, i](bool on) { m_setup.Ticked[i] = on; });
        checksLayout->addWidget(check);
    }
    cbPlotBorders = new QCheckBox(QStringLiteral("Plot Borders"), checks);
    cbPlotBorders->setObjectName(QStringLiteral("cbPlotBorders"));
    cbPlotBorders->setChecked(m_setup.Borders);
    connect(cbPlotBorders, &QCheckBox::toggled, this, [this](bool on) { m_setup.Borders = on; });
    checksLayout->addWidget(cbPlotBorders);
    layout->addWidget(checks);

    layout->addWidget(new QLabel(QStringLiteral("Description:"), page));
    mmDescription = new QPlainTextEdit(page);
    mmDescription->setObjectName(QStringLiteral("mmDescription"));
    mmDescription->setPlainText(TextOf(m_setup.Blocks[Index(TTitleBlock::PlotDescription)].Lines));
    connect(mmDescription, &QPlainTextEdit::textChanged, this,
            [this] { m_setup.Blocks[Index(TTitleBlock::PlotDescription)].Lines = LinesOf(mmDescription); });
    layout->addWidget(mmDescription);
    ShowMargins();
    return page;
}

QWidget* TPrintDlg::BuildBlocksPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsTitleBlocks"));
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    cbLogo = new QComboBox(page);
    cbLogo->setObjectName(QStringLiteral("cbLogo"));
    for (TTitleBlock block : EditableBlocks) {
        cbLogo->addItem(QLatin1String(BlockCaptions[Index(block)]));
    }
    connect(cbLogo, &QComboBox::currentIndexChanged, this, &TPrintDlg::BlockChosen);
    form->addRow(QStringLiteral("Block"), cbLogo);

    auto* imageRow = new QHBoxLayout;
    edImage = new QLineEdit(page);
    edImage->setObjectName(QStringLiteral("edImage"));
    connect(edImage, &QLineEdit::editingFinished, this, [this] {
        TPrintLogo& logo = m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)];
        if (edImage->text().toStdString() != logo.ImageFile) {
            logo.SetImageFile(edImage->text().toStdString());
            BlockEdited();
        }
    });
    auto* browse = new QPushButton(QStringLiteral("Browse..."), page);
    browse->setObjectName(QStringLiteral("btBrowse"));
    connect(browse, &QPushButton::clicked, this, &TPrintDlg::BrowseClick);
    imageRow->addWidget(edImage, 1);
    imageRow->addWidget(browse);
    form->addRow(QStringLiteral("Bitmap"), imageRow);

    mmLines = new QPlainTextEdit(page);
    mmLines->setObjectName(QStringLiteral("mmLines"));
    connect(mmLines, &QPlainTextEdit::textChanged, this, [this] {
        m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)].Lines = LinesOf(mmLines);
        BlockEdited();
    });
    form->addRow(QStringLiteral("Lines"), mmLines);

    auto* fontRow = new QHBoxLayout;
    edFont = new QLineEdit(page);
    edFont->setObjectName(QStringLiteral("edFont"));
    edFont->setReadOnly(true);
    auto* fontButton = new TFontButton(QStringLiteral("Font..."), TFontSpec{}, page);
    fontButton->setObjectName(QStringLiteral("btFont"));
    connect(fontButton, &QPushButton::clicked, this, [this, fontButton] {
        TPrintLogo& logo = m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)];
        if (!(fontButton->Font() == logo.Font)) {
            logo.Font = fontButton->Font();
            edFont->setText(FontText(logo.Font));
            BlockEdited();
        }
    });
    connect(cbLogo, &QComboBox::currentIndexChanged, fontButton, [this, fontButton] {
        fontButton->SetFont(m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)].Font);
    });
    fontButton->SetFont(m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)].Font);
    fontRow->addWidget(edFont, 1);
    fontRow->addWidget(fontButton);
    form->addRow(QStringLiteral("Font"), fontRow);
    layout->addLayout(form);

    rgJustify = AddRadioGroup(page, layout, QStringLiteral("Alignment"),
                              {QStringLiteral("Left"), QStringLiteral("Right"), QStringLiteral("Center")},
                              "rgJustify");
    connect(rgJustify, &QButtonGroup::idClicked, this, [this](int id) {
        m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)].Justify = static_cast<TLogoJustify>(id);
        BlockEdited();
    });
    layout->addStretch(1);
    ShowBlock(m_shownBlock);
    return page;
}

void TPrintDlg::ShowMargins() {
    const TPrintMargins& margins = m_setup.Margins;
    const std::array<int, 4> values = {margins.Left, margins.Right, margins.Top, margins.Bottom};
    m_filling = true;
    for (std::size_t i = 0; i < m_marginEdits.size(); ++i) {
        m_marginEdits[i]->setValue(MarginFieldValue(values[i], margins.Units));
    }
    m_filling = false;
}

void TPrintDlg::MarginChanged() {
    if (m_filling) {
        return;
    }
    TPrintMargins& margins = m_setup.Margins;
    const auto millimetres = [&margins](const QSpinBox* edit) {
        return MarginFromField(edit->value(), margins.Units);
    };
    margins.Left = millimetres(m_marginEdits[0]);
    margins.Right = millimetres(m_marginEdits[1]);
    margins.Top = millimetres(m_marginEdits[2]);
    margins.Bottom = millimetres(m_marginEdits[3]);
}

void TPrintDlg::UnitsChanged() {
    m_setup.Margins.Units = rgUnits->checkedId() == 0 ? MillimetreUnits : InchUnits;
    ShowMargins();
}

void TPrintDlg::ShowBlock(int block) {
    m_shownBlock = block;
    const TPrintLogo& logo = m_setup.Blocks[static_cast<std::size_t>(block)];
    m_filling = true;
    edImage->setText(QString::fromStdString(logo.ImageFile));
    mmLines->setPlainText(TextOf(logo.Lines));
    edFont->setText(FontText(logo.Font));
    rgJustify->button(logo.Justify)->setChecked(true);
    m_filling = false;
    m_blockEdited = false;
}

void TPrintDlg::BlockEdited() {
    if (!m_filling) {
        m_blockEdited = true;
    }
}

void TPrintDlg::ConfirmBlockSaved() {
    if (!std::exchange(m_blockEdited, false)) {
        return;
    }
    if (QMessageBox::question(this, windowTitle(), QStringLiteral("New Logo not saved!\nSave?"),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        const TPrintLogo& logo = m_setup.Blocks[static_cast<std::size_t>(m_shownBlock)];
        WriteSettings([&logo](TIniFile& ini) { logo.Write(ini); });
    }
}

void TPrintDlg::BlockChosen(int index) {
    ConfirmBlockSaved();
    ShowBlock(static_cast<int>(EditableBlocks[static_cast<std::size_t>(index)]));
}

void TPrintDlg::BrowseClick() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        patterns.append(QStringLiteral("*.") + QString::fromLatin1(format));
    }
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Select Bitmap File"), edImage->text(),
        QStringLiteral("Image Files (%1);;BMP Image Files (*.bmp)").arg(patterns.join(' ')));
    if (!path.isEmpty()) {
        edImage->setText(path);
        emit edImage->editingFinished();
    }
}

void TPrintDlg::PrintClick() {
    // Without a printer the page goes to a PDF file the user names.
    if (m_printer.outputFormat() == QPrinter::PdfFormat && m_printer.outputFileName().isEmpty()) {
        PdfClick();
    } else if (!PrintPage(m_printer, m_setup, m_graphs)) {
        Fail(QStringLiteral("Can't print on ") + m_printer.printerName());
    }
}

void TPrintDlg::PreviewClick() {
    TPreView preview(
        m_printer, [this](QPrinter& printer) { PrintPage(printer, m_setup, m_graphs); }, this);
    preview.exec();
}

void TPrintDlg::PdfClick() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Print to PDF"), QString(),
                                                      QStringLiteral("PDF files (*.pdf)"));
    if (!path.isEmpty()) {
        PrintToPdf(path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                       ? path
                       : path + QStringLiteral(".pdf"));
    }
}

bool TPrintDlg::PrintToPdf(const QString& path) {
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(path);
    pdf.setPageSize(m_printer.pageLayout().pageSize());
    if (!PrintPage(pdf, m_setup, m_graphs)) {
        Fail(QStringLiteral("Can't create file ") + path);
        return false;
    }
    return true;
}

void TPrintDlg::SetupClick() {
    m_printer.setPageOrientation(m_setup.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    m_printer.setCopyCount(m_setup.Copies);
    QPrintDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    m_setup.Landscape = m_printer.pageLayout().orientation() == QPageLayout::Landscape;
    m_setup.Copies = m_printer.copyCount();
    rgOrientation->button(m_setup.Landscape ? 1 : 0)->setChecked(true);
    edCopies->setValue(m_setup.Copies);
}

bool TPrintDlg::SaveSettings() {
    m_blockEdited = false;
    return WriteSettings([this](TIniFile& ini) {
        WritePrintMargins(ini, m_setup.Margins);
        for (TTitleBlock block : StoredBlocks) {
            m_setup.Blocks[Index(block)].Write(ini);
        }
    });
}

bool TPrintDlg::WriteSettings(const std::function<void(TIniFile&)>& change) {
    std::string message;
    if (!UpdateSettingsFile(m_iniFile, change, message)) {
        Fail(QString::fromStdString(message));
        return false;
    }
    return true;
}

void TPrintDlg::Fail(const QString& message) {
    QMessageBox::critical(this, QApplication::applicationName(), message);
}

void TPrintDlg::done(int result) {
    ConfirmBlockSaved();
    QDialog::done(result);
}

} // namespace mirla
