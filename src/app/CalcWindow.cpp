#include "app/CalcWindow.h"

#include "app/AboutPage.h"
#include "app/CalculatorPage.h"
#include "app/GraphicsPage.h"
#include "app/HelpWindow.h"
#include "app/TapePage.h"
#include "app/TextKeys.h"
#include "app/core/FunctionHelp.h"
#include "app/core/HistoryFile.h"
#include "engine/Engine.h"
#include "engine/EngineText.h"
#include "engine/InputPreparation.h"
#include "numbers/ComplexFormat.h"
#include "numbers/RealFormat.h"
#include "plotlib/Plot.h"
#include "plots/ContourPlotWindow.h"
#include "plots/Plot2DWindow.h"
#include "plots/PolarWindow.h"
#include "plots/ScreenPlacement.h"
#include "plots/SurfaceWindow.h"
#include "runtime/SettingsFile.h"
#include "userdefs/ui/ConstantsPage.h"
#include "userdefs/ui/UserFuncsPage.h"
#include "userdefs/ui/UserVarsPage.h"
#include "userdefs/ui/VariablesPage.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <string_view>

namespace mirla {

namespace {

QString FromEngine(std::string_view text) {
    return QString::fromStdString(Utf8FromEngineText(text));
}

std::string ToEngine(const QString& text) {
    return EngineTextFromUtf8(text.toStdString());
}

/// Blue for results and red for errors, lightened on a dark background so both stay readable.
QColor ResultColour(const QPalette& palette, bool isError) {
    const bool dark = palette.color(QPalette::Base).lightness() < 128;
    if (isError)
        return dark ? QColor(255, 120, 120) : QColor(200, 0, 0);
    return dark ? QColor(120, 175, 255) : QColor(0, 0, 210);
}

struct TKeyAction {
    int key;
    int code; ///< function button tag, or variable index for the Alt letters of variables
};

// Ctrl with a key clicks the function button of that tag.
constexpr std::array<TKeyAction, 19> CtrlFunctionKeys = {{{Qt::Key_1, 87},
                                                          {Qt::Key_4, 27},
                                                          {Qt::Key_A, 2},
                                                          {Qt::Key_C, 12},
                                                          {Qt::Key_D, 39},
                                                          {Qt::Key_F, 25},
                                                          {Qt::Key_G, 17},
                                                          {Qt::Key_I, 20},
                                                          {Qt::Key_J, 18},
                                                          {Qt::Key_K, 21},
                                                          {Qt::Key_L, 16},
                                                          {Qt::Key_M, 38},
                                                          {Qt::Key_N, 4},
                                                          {Qt::Key_O, 3},
                                                          {Qt::Key_Q, 15},
                                                          {Qt::Key_R, 25},
                                                          {Qt::Key_S, 1},
                                                          {Qt::Key_T, 13},
                                                          {Qt::Key_Y, 19}}};
// Alt with a key clicks the function button of that tag.
constexpr std::array<TKeyAction, 10> AltFunctionKeys = {{{Qt::Key_A, 5},
                                                         {Qt::Key_C, 9},
                                                         {Qt::Key_E, 14},
                                                         {Qt::Key_G, 26},
                                                         {Qt::Key_H, 6},
                                                         {Qt::Key_O, 22},
                                                         {Qt::Key_Q, 40},
                                                         {Qt::Key_R, 11},
                                                         {Qt::Key_S, 8},
                                                         {Qt::Key_T, 10}}};
// Alt with a variable's letter clicks that variable's button (index 1..10).
constexpr std::array<TKeyAction, 10> AltVariableKeys = {{{Qt::Key_X, 1},
                                                         {Qt::Key_Y, 2},
                                                         {Qt::Key_Z, 3},
                                                         {Qt::Key_V, 4},
                                                         {Qt::Key_W, 5},
                                                         {Qt::Key_I, 6},
                                                         {Qt::Key_J, 7},
                                                         {Qt::Key_K, 8},
                                                         {Qt::Key_M, 9},
                                                         {Qt::Key_N, 10}}};

/// A scroll area that asks for all the room its page wants, so that the window opens with every
/// page whole, yet lets a small window scroll the page rather than refuse to shrink.
class TPageScrollArea : public QScrollArea {
public:
    QSize sizeHint() const override { return widget()->sizeHint(); }
};

/// Adds `page` to `tabs` inside a scroll area that gives it all the room there is.
int AddScrollingPage(QTabWidget& tabs, QWidget* page, const QString& caption) {
    auto* area = new TPageScrollArea;
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(page);
    return tabs.addTab(area, caption);
}

/// The page a tab of `tabs` holds in its scroll area.
TCalcPage* PageAt(const QTabWidget& tabs, int index) {
    return static_cast<TCalcPage*>(static_cast<QScrollArea*>(tabs.widget(index))->widget());
}

template <std::size_t N> int FindCode(const std::array<TKeyAction, N>& table, int key) {
    const auto found =
        std::find_if(table.begin(), table.end(), [key](const TKeyAction& a) { return a.key == key; });
    return found == table.end() ? -1 : found->code;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TOverlayCombo::TOverlayCombo(QLineEdit* edit, QWidget* parent) : QComboBox(parent), m_edit(edit) {
    m_edit->setParent(this);
    m_edit->setFrame(false);
    setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(m_edit->sizeHint().height() + 6);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
}

QStringList TOverlayCombo::Items() const {
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}

void TOverlayCombo::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    m_edit->setGeometry(
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this));
}

void TOverlayCombo::wheelEvent(QWheelEvent* event) {
    // The list's own selection is hidden under the line edit; the wheel must not change it.
    event->ignore();
}

// ---------------------------------------------------------------------------------------------

/// Holds the window busy for one evaluation cycle: page control disabled, hourglass cursor.
/// Everything is restored on every way out of the cycle.
class TfmCalc::TCycleGuard {
public:
    explicit TCycleGuard(TfmCalc& window) : m_window(window) {
        m_window.m_evaluating = true;
        m_window.m_pages->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TCycleGuard() {
        QApplication::restoreOverrideCursor();
        m_window.m_pages->setEnabled(true);
        m_window.m_evaluating = false;
        if (m_window.m_closeAfterCycle)
            QMetaObject::invokeMethod(&m_window, &QWidget::close, Qt::QueuedConnection);
    }
    TCycleGuard(const TCycleGuard&) = delete;
    TCycleGuard& operator=(const TCycleGuard&) = delete;

private:
    TfmCalc& m_window;
};

TfmCalc::TfmCalc(const TCalcFiles& files, QWidget* parent)
    : QWidget(parent), m_files(files), m_settings(files) {
    setObjectName(QStringLiteral("fmCalc"));
    setWindowTitle(QStringLiteral("Mirla"));
    BuildRows();
    m_host = std::make_unique<TGuiEngineHost>(*this, *m_resultBox, m_settings);
    m_ctx.SetHost(m_host.get());
    const bool settingsRead = LoadSettings();
    LoadHistory();
    // The plot window lives hidden beside the main window; the pages reach it through the shell.
    // A settings file that could not be read has been reported: the plot window leaves it alone.
    m_plot2D = new TfmPlot2D(settingsRead ? m_files.SettingsFile() : std::string(), this);
    m_plot2D->SetSavesSettings(m_savesFiles);
    m_polar = new TfmPolar(settingsRead ? m_files.SettingsFile() : std::string(), this);
    m_polar->SetSavesSettings(m_savesFiles);
    m_surface = new TfmSurface(settingsRead ? m_files.SettingsFile() : std::string(), this);
    m_surface->SetSavesSettings(m_savesFiles);
    m_contourPlot = new TfmContourPlot(settingsRead ? m_files.SettingsFile() : std::string(), this);
    m_contourPlot->SetSavesSettings(m_savesFiles);
    SetDisplayWidth(m_width);
    BuildPages();
    for (TCalcPage* page : m_pageList)
        page->Load();
    RestoreOnVisibleScreen(*this, QRect(QPoint(m_settings.Left, m_settings.Top), sizeHint()));
    qApp->installEventFilter(this);
    if (!m_savesFiles)
        TellFilesAreNotSaved();
}

void TfmCalc::TellFilesAreNotSaved() {
    const QString folder = QString::fromStdString(m_files.Folder());
    const QString why = m_folderLock.Held()
                            ? QStringLiteral("The folder %1 cannot be written.").arg(folder)
                            : QStringLiteral("Another Mirla keeps its files in %1.").arg(folder);
    QMessageBox::information(this, QStringLiteral("Information"),
                             why + QStringLiteral("\nThis window reads them but does not save its settings "
                                                  "or history."));
}

TfmCalc::~TfmCalc() {
    qApp->removeEventFilter(this);
    // The pages hold a reference to this shell: they go before the engine they use.
    delete m_pages;
    m_ctx.SetHost(nullptr);
}

void TfmCalc::BuildRows() {
    m_resultBox = new QLineEdit;
    m_resultBox->setObjectName(QStringLiteral("Edit2"));
    m_resultBox->setReadOnly(true);
    m_resultBox->setPlaceholderText(QStringLiteral("Result"));
    m_results = new TOverlayCombo(m_resultBox, this);
    m_results->setObjectName(QStringLiteral("cbResults"));

    m_input = new QLineEdit;
    m_input->setObjectName(QStringLiteral("Edit1"));
    m_input->setPlaceholderText(QStringLiteral("Type an expression and press Enter"));
    m_history = new TOverlayCombo(m_input, this);
    m_history->setObjectName(QStringLiteral("cbHistory"));

    m_stop = new QToolButton(this);
    m_stop->setObjectName(QStringLiteral("sbStop"));
    m_stop->setText(QStringLiteral("Stop"));
    m_stop->setToolTip(QStringLiteral("Break culculation"));

    m_assistantBox = new QCheckBox(QStringLiteral("Assistant"), this);
    m_assistantBox->setObjectName(QStringLiteral("chAssistant"));
    m_assistant = new QLabel(this);
    m_assistant->setObjectName(QStringLiteral("pnAssistant"));
    m_assistant->setAutoFillBackground(true);
    m_assistant->setBackgroundRole(QPalette::ToolTipBase);
    m_assistant->setForegroundRole(QPalette::ToolTipText);
    m_assistant->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred); // as wide as its text

    m_fontSize = new QSpinBox(this);
    m_fontSize->setObjectName(QStringLiteral("SpinButton1"));
    m_fontSize->setToolTip(QStringLiteral("Font size"));
    m_fontSize->setRange(6, 48);
    m_fontSize->setValue(std::max(6, m_input->font().pointSize()));

    m_gaugePanel = new QWidget(this);
    m_gaugePanel->setObjectName(QStringLiteral("Panel1"));
    m_gauge = new QProgressBar(m_gaugePanel);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
    auto* gaugeLayout = new QHBoxLayout(m_gaugePanel);
    gaugeLayout->setContentsMargins(0, 0, 0, 0);
    gaugeLayout->addWidget(m_gauge);
    m_gaugePanel->hide();

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pcPages"));

    auto* inputRow = new QHBoxLayout;
    inputRow->addWidget(m_history, 1);
    inputRow->addWidget(m_stop);
    auto* assistantRow = new QHBoxLayout;
    assistantRow->addWidget(m_assistantBox);
    assistantRow->addWidget(m_assistant);
    assistantRow->addStretch(1);
    assistantRow->addWidget(m_gaugePanel, 1);
    assistantRow->addWidget(m_fontSize);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_results);
    layout->addLayout(inputRow);
    layout->addLayout(assistantRow);
    layout->addWidget(m_pages, 1);

    connect(m_stop, &QToolButton::clicked, this, [this] { m_ctx.BreakRequested = true; });
    connect(m_input, &QLineEdit::textEdited, this, [this] {
        m_inputEditedByUser = true;
        m_historyWalk.Reset();
    });
    connect(m_input, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (TCalcPage* page : m_pageList)
            page->InputLineChanged(text);
    });
    connect(m_results, &QComboBox::activated, this, [this](int index) { ChooseListEntry(m_results, index); });
    connect(m_history, &QComboBox::activated, this, [this](int index) { ChooseListEntry(m_history, index); });
    m_results->view()->installEventFilter(this);
    m_history->view()->installEventFilter(this);
    connect(m_assistantBox, &QCheckBox::toggled, this, [this](bool on) {
        m_settings.Assistant = on;
        m_assistant->clear();
        m_assistant->setVisible(on);
        ShowFunctionHelp(-1);
    });
    m_assistantTimer = new QTimer(this);
    m_assistantTimer->setSingleShot(true);
    m_assistantTimer->setInterval(10);
    connect(m_assistantTimer, &QTimer::timeout, this, &TfmCalc::AssistantTick);
    connect(m_fontSize, &QSpinBox::valueChanged, this, &TfmCalc::ApplyFontSize);
}

void TfmCalc::BuildPages() {
    m_calculatorPage = new TCalculatorPage(*this, m_pages);
    m_tapePage = new TTapePage(*this, m_pages);
    m_graphicsPage = new TGraphicsPage(*this, m_pages);
    auto* constants = new TConstantsPage(*this, m_pages);
    auto* variables = new TVariablesPage(*this, m_pages);
    auto* userVars = new TUserVarsPage(*this, m_pages);
    auto* userFuncs = new TUserFuncsPage(*this, m_pages);
    auto* about = new TAboutPage(m_pages);
    AddScrollingPage(*m_pages, m_calculatorPage, QStringLiteral("Calculator"));
    AddScrollingPage(*m_pages, m_tapePage, QStringLiteral("Tape"));
    AddScrollingPage(*m_pages, constants, QStringLiteral("Constants"));
    m_graphicsIndex = AddScrollingPage(*m_pages, m_graphicsPage, QStringLiteral("Graphics"));
    AddScrollingPage(*m_pages, variables, QStringLiteral("Variables"));
    AddScrollingPage(*m_pages, userVars, QStringLiteral("User Vars"));
    AddScrollingPage(*m_pages, userFuncs, QStringLiteral("User Funcs"));
    AddScrollingPage(*m_pages, about, QStringLiteral("About"));
    // Start-up reads the constants, then the user functions, then the user variables.
    m_pageList = {m_calculatorPage, m_tapePage, m_graphicsPage, constants,
                  userFuncs,        userVars,   variables,      about};
    m_pages->setCurrentIndex(0);
    connect(m_pages, &QTabWidget::currentChanged, this, &TfmCalc::PageChanged);
}

bool TfmCalc::LoadSettings() {
    TIniFile ini;
    std::string message;
    const bool read = ini.Load(m_files.SettingsFile(), message);
    if (!read)
        QMessageBox::critical(this, QStringLiteral("Error"), QString::fromStdString(message));
    m_settings.Load(ini);
    m_ctx.NotationMode = m_settings.Notation;
    SetDisplayWidth(m_settings.Digits);
    m_complex.SetForm(m_settings.ComplexForm == FormPolar ? FormPolar : FormRect);
    m_ctx.AngleMode = m_settings.Angle ? 1 : 0;
    m_assistantBox->setChecked(m_settings.Assistant);
    m_assistant->setVisible(m_settings.Assistant);
    return read;
}

void TfmCalc::LoadHistory() {
    THistory history;
    const std::string reason = LoadHistoryFile(m_files.HistoryFile(), history);
    if (!reason.empty()) {
        // Writing the history of this run over the file would lose what it holds.
        m_historyFileKept = true;
        QMessageBox::warning(
            this, QStringLiteral("Warning"),
            QStringLiteral("Can't read file %1: %2.\nThe history of this run will not be saved, "
                           "so that the file keeps what it holds.")
                .arg(QString::fromStdString(m_files.HistoryFile()), QString::fromStdString(reason)));
        return;
    }
    for (const std::string& line : history.Inputs)
        m_history->addItem(FromEngine(line));
    for (const std::string& line : history.Results)
        m_results->addItem(FromEngine(line));
}

bool TfmCalc::SaveSettings() {
    m_settings.Notation = m_ctx.NotationMode;
    m_settings.Digits = m_width;
    m_settings.ComplexForm = m_complex.Form();
    m_settings.Angle = m_ctx.AngleMode != 0;
    m_settings.Assistant = m_assistantBox->isChecked();
    m_settings.Left = x();
    m_settings.Top = y();
    for (TCalcPage* page : m_pageList)
        page->Save();
    if (!m_savesFiles)
        return false;
    std::string message;
    if (!UpdateSettingsFile(
            m_files.SettingsFile(), [this](TIniFile& ini) { m_settings.Save(ini); }, message)) {
        QMessageBox::critical(this, QStringLiteral("Error"), QString::fromStdString(message));
        return false;
    }
    return true;
}

void TfmCalc::SaveHistory() const {
    if (!m_savesFiles || m_historyFileKept)
        return;
    THistory history;
    for (const QString& line : m_history->Items())
        history.Inputs.push_back(ToEngine(line));
    for (const QString& line : m_results->Items())
        history.Results.push_back(ToEngine(line));
    // An unwritable history file is skipped silently; the lists stay as they are.
    WriteHistoryFile(m_files.HistoryFile(), history);
}

// ---------------------------------------------------------------------------------------------

void TfmCalc::SetFunc(const QString& text) {
    if (m_input->hasSelectedText())
        m_input->del();
    const int origin = m_input->cursorPosition();
    m_input->insert(text);
    for (const char* pattern : {"()", "(,)", "(,,)"}) {
        const int at = text.indexOf(QLatin1String(pattern));
        if (at >= 0)
            m_input->setCursorPosition(origin + at + 1);
    }
    m_inputEditedByUser = true;
    m_ctx.Input = ToEngine(m_input->text());
    m_input->setFocus();
}

void TfmCalc::SetComplexMode(bool on) {
    m_complexMode = on;
    m_graphicsPage->SetComplexMode(on);
}

void TfmCalc::ShowFunctionHelp(int code) {
    if (!m_assistantBox->isChecked())
        return;
    if (m_input->text().isEmpty()) {
        m_assistant->clear();
        return;
    }
    // Code 30 is the constant e, whose name is part of too many words to be helpful.
    if (code == -1 || code == 30)
        return;
    ShowAssistantText(QString::fromStdString(FunctionHelpText(code, m_complexMode, m_ctx.AngleMode)));
}

void TfmCalc::StartAssistant(int mode) {
    m_assistantMode = mode;
    m_assistantTimer->start();
}

void TfmCalc::AssistantTick() {
    if (m_assistantMode == 2) {
        ShowAssistantText(QString::fromStdString(GreetingText(m_greetingTime)));
        return;
    }
    if (m_assistantBox->isChecked())
        ShowFunctionHelp(AssistantCodeAt(ToEngine(m_input->text()), m_input->cursorPosition()));
}

QString TfmCalc::InputLineText() const {
    return m_input->text();
}

void TfmCalc::FocusInputLine() {
    m_input->setFocus();
}

void TfmCalc::CopyInputLine() {
    m_input->copy();
}

void TfmCalc::PasteIntoInputLine() {
    m_input->paste();
    m_input->setFocus();
}

void TfmCalc::ClearInputLine() {
    m_input->clear();
}

void TfmCalc::ShowAssistantText(const QString& text) {
    m_assistant->setText(QLatin1Char(' ') + text + QLatin1Char(' '));
}

void TfmCalc::ShowHelp(int topic) {
    ShowHelpTopic(this, topic);
}

void TfmCalc::AddTapeLine(const QString& line) {
    m_tapePage->AddLine(line);
}

void TfmCalc::ShowResultText(const QString& text) {
    ShowResultColoured(text, false);
}

void TfmCalc::SetDisplayWidth(int width) {
    m_width = width;
    m_ctx.DisplayWidth = width;
    // The plot's info bubble shows its values with as many digits as the results.
    if (m_plot2D)
        m_plot2D->Chart().Graph().Info.NumberOfGeneralDigits = width;
    if (m_contourPlot)
        m_contourPlot->Chart().Graph().Info.NumberOfGeneralDigits = width;
}

void TfmCalc::SetPlotting(bool running) {
    m_plotting = running;
    m_pages->setEnabled(!running);
    if (!running && m_closeAfterCycle)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TfmCalc::ShowProgress(int percent) {
    m_gauge->setValue(percent);
}

void TfmCalc::ClearLists() {
    m_historyWalk.Reset();
    m_history->clear();
    m_results->clear();
    SaveHistory();
}

void TfmCalc::MoveToHistoryTop() {
    const QString text = m_input->text();
    const int found = m_history->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found == 0)
        return;
    if (found > 0)
        m_history->removeItem(found);
    m_history->insertItem(0, text);
}

// ---------------------------------------------------------------------------------------------

void TfmCalc::ReturnClick() {
    // Window events run during long loops; a second Enter must not start a nested cycle.
    if (m_evaluating)
        return;
    m_ctx.ClearError();
    const QString typedText = m_input->text();
    if (typedText.isEmpty())
        return;
    TCycleGuard guard(*this);
    QString result;
    if (!EvaluateLine(ToEngine(typedText), result)) {
        ShowError();
        return;
    }
    ShowResultColoured(result, false);
    m_input->selectAll();
    if (m_inputEditedByUser)
        RecordResult(typedText, result);
}

bool TfmCalc::EvaluateLine(const std::string& typed, QString& resultText) {
    // A Stop pressed while nothing ran, or the variables of an earlier line, must not leak
    // into this line, in either mode.
    m_ctx.BreakRequested = false;
    m_ctx.UsedVariables.Clear();
    m_ctx.ArgDepth = 0;
    PrepareInput(m_ctx, typed);
    std::string blankFree = m_ctx.Input;
    if (!m_ctx.ErrorFlag) {
        if (ComplexMode()) {
            bool failed = false;
            int errorPos = 0;
            int errorLength = 0;
            ComplexValue value = CZero;
            m_complex.EvaluateComplex(blankFree, failed, errorPos, value, errorLength);
            if (!failed) {
                resultText = FromEngine(ComplexToText(m_ctx, value, m_width, m_complex.Form()));
                if (!m_ctx.ErrorFlag)
                    m_complex.SetLastComplex(value);
            }
        } else {
            const Extended value = Evaluate(m_ctx);
            if (!m_ctx.ErrorFlag) {
                resultText = FromEngine(RealToText(m_ctx, m_width, value));
                if (!m_ctx.ErrorFlag)
                    m_ctx.PrevValue = value;
            }
        }
    }
    if (!m_ctx.ErrorFlag)
        return true;
    MapErrorPosition(m_ctx, typed, blankFree);
    return false;
}

void TfmCalc::ShowError() {
    const int position = m_ctx.ErrorPos;
    const QString message =
        FromEngine(m_ctx.CurrentErrorText()) + QStringLiteral(": position ") + QString::number(position);
    ShowResultColoured(message, true);
    m_input->setFocus();
    m_input->setSelection(std::max(0, position - 1), std::max(1, m_ctx.ErrorLength));
    m_ctx.ClearError();
}

void TfmCalc::ShowResultColoured(const QString& text, bool isError) {
    m_resultIsError = isError;
    ColourResultBox();
    m_resultBox->setText(text);
    m_resultBox->setCursorPosition(0);
}

void TfmCalc::ColourResultBox() {
    QPalette palette = m_resultBox->palette();
    palette.setColor(QPalette::Text, ResultColour(palette, m_resultIsError));
    m_resultBox->setPalette(palette);
}

void TfmCalc::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A new desktop theme may turn a light background dark: choose the shade again.
    if (event->type() == QEvent::PaletteChange && m_resultBox)
        ColourResultBox();
}

void TfmCalc::RecordResult(const QString& typed, const QString& result) {
    m_historyWalk.Reset();
    m_results->insertItem(0, result);
    const int found = m_history->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found != 0) {
        if (found > 0)
            m_history->removeItem(found);
        m_history->insertItem(0, typed);
    }
    AddTapeLine(typed + QStringLiteral(" = ") + result + TapeSuffix());
    SaveHistory();
}

QString TfmCalc::TapeSuffix() {
    QString suffix = QStringLiteral("; ");
    const UsedVariableList& used = m_ctx.UsedVariables;
    if (used.Count() >= 10)
        return suffix;
    std::vector<std::string_view> shown;
    for (int j = 0; j < used.Count(); ++j) {
        const std::string_view name = used[j].Name();
        if (name.empty() || name == " " || std::find(shown.begin(), shown.end(), name) != shown.end())
            continue;
        shown.push_back(name);
        suffix += FromEngine(name) + QLatin1Char('=') +
                  FromEngine(RealToText(m_ctx, m_width, used[j].Value)) + QStringLiteral("; ");
    }
    // A value too large for the current base spoils only its own text, not the result.
    m_ctx.ClearError();
    return suffix;
}

// ---------------------------------------------------------------------------------------------

bool TfmCalc::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && watched == m_input)
        StartAssistant(1);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (event->type() == QEvent::ContextMenu && edit && isAncestorOf(edit)) {
        ShowEditMenu(*edit, *static_cast<QContextMenuEvent*>(event));
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_history->view())
        return HandleListKey(m_history, key);
    if (watched == m_results->view())
        return HandleListKey(m_results, key);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return false;
    const TTextCommand command = TextCommandOf(*key, widget);
    if (command != TTextCommand::None) {
        RunTextCommand(command, widget, *m_input);
        return true;
    }
    // The list under the input line would otherwise take these keys and insert its entries at the
    // caret.
    const bool older = key->key() == Qt::Key_Up || key->key() == Qt::Key_PageUp;
    const bool newer = key->key() == Qt::Key_Down || key->key() == Qt::Key_PageDown;
    if (widget == m_input && (older || newer) && key->modifiers() == Qt::NoModifier) {
        WalkHistory(older);
        return true;
    }
    return HandleKey(key);
}

bool TfmCalc::HandleKey(QKeyEvent* key) {
    const auto modifiers = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    if (modifiers == Qt::ControlModifier) {
        if (key->key() == Qt::Key_E) {
            SetFunc(QStringLiteral("e"));
            return true;
        }
        if (key->key() == Qt::Key_P) {
            SetFunc(QStringLiteral("¶"));
            return true;
        }
        const int code = FindCode(CtrlFunctionKeys, key->key());
        if (code >= 0)
            m_calculatorPage->ClickFunction(code);
        return code >= 0;
    }
    if (modifiers == Qt::AltModifier) {
        const int code = FindCode(AltFunctionKeys, key->key());
        if (code >= 0) {
            m_calculatorPage->ClickFunction(code);
            return true;
        }
        const int variable = FindCode(AltVariableKeys, key->key());
        if (variable >= 0)
            m_calculatorPage->ClickVariable(variable);
        return variable >= 0;
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (PageAt(*m_pages, m_pages->currentIndex()) != m_calculatorPage)
            return false;
        ReturnClick();
        return true;
    case Qt::Key_Escape:
        if (!m_input->text().isEmpty() || m_history->count() == 0) {
            StartAssistant(1);
            return false;
        }
        RecallNewestLine();
        return true;
    case Qt::Key_F1:
        ShowHelp(0);
        return true;
    default:
        StartAssistant(1);
        return false;
    }
}

bool TfmCalc::HandleListKey(TOverlayCombo* list, QKeyEvent* key) {
    if (key->key() != Qt::Key_Delete || key->modifiers() != Qt::NoModifier)
        return false;
    const int row = list->view()->currentIndex().row();
    if (row >= 0) {
        m_historyWalk.Reset();
        list->removeItem(row);
        SaveHistory();
    }
    return true;
}

void TfmCalc::WalkHistory(bool older) {
    const QStringList entries = m_history->Items();
    const std::optional<QString> line =
        older ? m_historyWalk.Older(entries, m_input->text()) : m_historyWalk.Newer(entries);
    if (!line)
        return;
    m_input->setText(*line);
    // A line walked to counts as the user's, as one chosen from the list does.
    m_inputEditedByUser = true;
    m_ctx.Input = ToEngine(*line);
}

void TfmCalc::RecallNewestLine() {
    m_historyWalk.Reset();
    m_input->setText(m_history->itemText(0));
    m_input->selectAll();
    m_input->setFocus();
    m_inputEditedByUser = false;
}

void TfmCalc::ChooseListEntry(TOverlayCombo* list, int index) {
    if (index >= 0)
        SetFunc(list->itemText(index));
}

void TfmCalc::PageChanged(int index) {
    m_ctx.Input = ToEngine(m_input->text());
    m_gaugePanel->setVisible(index == m_graphicsIndex);
    if (index == 0 && m_input->isEnabled())
        m_input->setFocus();
    if (index >= 0)
        PageAt(*m_pages, index)->Activate();
}

void TfmCalc::ApplyFontSize(int points) {
    for (QWidget* widget : std::initializer_list<QWidget*>{m_results, m_resultBox, m_history, m_input}) {
        QFont font = widget->font();
        font.setPointSize(points);
        widget->setFont(font);
    }
    m_results->setMinimumHeight(m_resultBox->sizeHint().height() + 6);
    m_history->setMinimumHeight(m_input->sizeHint().height() + 6);
}

void TfmCalc::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (m_input->text().isEmpty() && m_history->count() > 0) {
        m_input->setText(m_history->itemText(0));
        m_input->selectAll();
    }
    m_input->setFocus();
    if (m_resultBox->text().isEmpty() && m_results->count() > 0)
        ShowResultColoured(m_results->itemText(0), false);
    // The first evaluation of the recalled line counts as the user's.
    m_inputEditedByUser = true;
    const QTime now = QTime::currentTime();
    m_greetingTime = DayFraction(now.hour(), now.minute(), now.second());
    StartAssistant(2);
}

void TfmCalc::closeEvent(QCloseEvent* event) {
    if (m_evaluating || m_plotting) {
        // The engine is still on the stack: stop it first, close when the cycle has unwound.
        m_closeAfterCycle = true;
        m_ctx.BreakRequested = true;
        event->ignore();
        return;
    }
    m_closeAfterCycle = false;
    // A settings file that could not be updated has been reported once: the plot window leaves
    // it alone too.
    if (!SaveSettings()) {
        m_plot2D->SetSavesSettings(false);
        m_polar->SetSavesSettings(false);
        m_surface->SetSavesSettings(false);
        m_contourPlot->SetSavesSettings(false);
    }
    // An open plot window keeps its placement and plot settings as if the user had closed it.
    if (m_plot2D->isVisible())
        m_plot2D->close();
    for (TfmChartWindow* chart :
         {static_cast<TfmChartWindow*>(m_polar), static_cast<TfmChartWindow*>(m_surface)})
        if (chart->isVisible())
            chart->close();
    if (m_contourPlot->isVisible())
        m_contourPlot->close();
    SaveHistory();
    event->accept();
}

} // namespace mirla
