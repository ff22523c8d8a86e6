#include "app/CalculatorPage.h"

#include "app/ComplexNotice.h"
#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "app/core/FunctionHelp.h"
#include "engine/Engine.h"
#include "matrix/ui/MatrixWindow.h"
#include "numbers/ComplexEvaluator.h"
#include "numbers/ComplexFormat.h"
#include "numbers/RealFormat.h"
#include "plots/ContourPlotWindow.h"
#include "plots/Plot2DWindow.h"
#include "plots/SurfaceWindow.h"
#include "units/ui/ConvWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace mirla {

namespace {

constexpr int NoticeTimesPerRun = 1;
constexpr int DigitsMaximum = 22;
constexpr int BitsMaximum = 32;
constexpr std::array<int, 4> BitGroups = {7, 8, 16, 32};

/// Digit floor and counter maximum of the notations "Scn", "Fix", "Eng".
struct DigitRange {
    int floor;
    int maximum;
};
constexpr std::array<DigitRange, 3> NotationDigits = {{{8, 21}, {3, 20}, {11, 21}}};

QString FromEngine(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// The bit group reached by moving the counter from `current` to `requested`: the next allowed
/// group in the direction of the move (7, 8, 16, 32), staying within those values.
int SteppedBitGroup(int current, int requested) {
    if (requested > current) {
        const auto next = std::upper_bound(BitGroups.begin(), BitGroups.end(), current);
        return next == BitGroups.end() ? BitGroups.back() : *next;
    }
    if (requested < current) {
        const auto next = std::lower_bound(BitGroups.begin(), BitGroups.end(), current);
        return next == BitGroups.begin() ? BitGroups.front() : *(next - 1);
    }
    return current;
}

/// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

/// Shows the matrix window of `owner`, creating it on first use; closing it only hides it, so
/// its grids are kept until the main window goes.
void ShowMatrixWindow(QWidget* owner, EvalContext& ctx, const std::string& settingsFile) {
    auto* window = owner->findChild<TfmMatrix*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TfmMatrix(ctx, owner);
        window->SetSettingsFile(settingsFile);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TCalculatorPage::TCalculatorPage(TCalculatorShell& shell, QWidget* parent) : TShellPage(shell, parent) {
    setObjectName("tsCalculator");
    auto* buttons = new QVBoxLayout;
    auto* top = new QHBoxLayout;
    // The keypad's five columns and the functions' eight share the width alike.
    top->addWidget(BuildKeypad(), 5);
    top->addWidget(BuildFunctionButtons(), 8);
    // Six rows of keys above one row of variables and one of commands, all of a height.
    buttons->addLayout(top, 6);
    buttons->addWidget(BuildVariableButtons(), 1);
    buttons->addWidget(BuildCommandButtons(), 1);
    auto* page = new QHBoxLayout(this);
    page->addLayout(buttons, 1);
    page->addWidget(BuildModeSelectors());
    for (QToolButton* button : m_allButtons)
        button->installEventFilter(this);
    ApplyBaseCounter();
}

QToolButton* TCalculatorPage::AddButton(QGridLayout* grid, int row, int column, const QString& caption,
                                        const QString& hint) {
    auto* button = new QToolButton(this);
    // A single "&" marks a keyboard mnemonic in a button text; "&&" shows the character itself.
    button->setText(QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    button->setToolTip(hint);
    // The buttons grow with the window, so a large window gives large keys.
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    button->setMinimumWidth(fontMetrics().horizontalAdvance(button->text()) + 12);
    grid->addWidget(button, row, column);
    m_allButtons.append(button);
    return button;
}

void TCalculatorPage::AddInsertButton(QGridLayout* grid, int row, int column, const QString& caption,
                                      const QString& text, const QString& hint) {
    QToolButton* button = AddButton(grid, row, column, caption, hint);
    connect(button, &QToolButton::clicked, this, [this, text] { Shell().SetFunc(text); });
    if (caption == "%" || caption == "&" || caption == "|" || caption == "\\")
        m_realOnlyButtons.append(button);
}

void TCalculatorPage::AddFunctionButton(QGridLayout* grid, int row, int column, const QString& caption,
                                        int code) {
    const QString hint = code == FnLog ? QString("Logarithm (..)") : QString("10 to the power of (..)");
    QToolButton* button = AddButton(grid, row, column, caption, hint);
    button->setObjectName(QStringLiteral("fn%1").arg(code));
    button->setProperty("code", code);
    connect(button, &QToolButton::clicked, this, [this, code] { Clicker(code); });
    m_functionButtons.append(button);
    static const QList<int> realOnlyCodes = {34, 35, 87, 24, 23, 0,  37, 38, 39, 44, 42,
                                             20, 19, 18, 21, 32, 25, 31, 22, 43, 27, 41};
    if (realOnlyCodes.contains(code))
        m_realOnlyButtons.append(button);
    if (code == FnLog)
        m_logButton = button;
    if (code == FnGamma)
        m_gammaButton = button;
}

QWidget* TCalculatorPage::BuildKeypad() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(2);
    const QStringList digits = {"7", "8", "9", "4", "5", "6", "1", "2", "3"};
    for (int i = 0; i < digits.size(); ++i)
        AddInsertButton(grid, i / 3, i % 3, digits[i], digits[i]);
    AddInsertButton(grid, 3, 0, "0", "0");
    AddInsertButton(grid, 3, 1, ".", ".");
    AddInsertButton(grid, 3, 2, "?", "?", "Last Result");
    AddInsertButton(grid, 0, 3, "/", "/");
    AddInsertButton(grid, 1, 3, "*", "*");
    AddInsertButton(grid, 2, 3, "-", "-");
    AddInsertButton(grid, 3, 3, "+", "+");
    AddInsertButton(grid, 0, 4, "^", "^");
    AddInsertButton(grid, 1, 4, "%", "%");
    AddInsertButton(grid, 2, 4, "&", "&", "and");
    AddInsertButton(grid, 3, 4, "|", "|", "or");
    AddInsertButton(grid, 4, 0, QStringLiteral("\u00B2"), QStringLiteral("\u00B2"));
    AddInsertButton(grid, 4, 1, QStringLiteral("\u00B3"), QStringLiteral("\u00B3"));
    AddInsertButton(grid, 4, 2, QStringLiteral("\u00BD"), QStringLiteral("\u00BD"), "Square root");
    AddInsertButton(grid, 4, 3, "\\", "\\", "xor");
    QToolButton* loop = AddButton(grid, 5, 0, "Loop", "for J to K step M do(?)");
    grid->addWidget(loop, 5, 0, 1, 2);
    connect(loop, &QToolButton::clicked, this, [this] { Shell().SetFunc("for J to K step M do(?)"); });
    m_realOnlyButtons.append(loop);
    QToolButton* equals = AddButton(grid, 5, 2, "=", "Evaluate the input line");
    grid->addWidget(equals, 4, 4, 2, 1);
    equals->setObjectName("sbEQ");
    connect(equals, &QToolButton::clicked, this, [this] {
        {
            WaitCursor wait;
            Shell().ReturnClick();
        }
        Shell().FocusInputLine();
    });
    return box;
}

QWidget* TCalculatorPage::BuildFunctionButtons() {
    struct FunctionButton {
        const char* caption;
        int code;
    };
    static const FunctionButton layout[6][8] = {
        {{"sin", 1},
         {"cos", 12},
         {"tan", 13},
         {"asin", 2},
         {"acos", 3},
         {"atan", 4},
         {"exp", 14},
         {"ln", 16}},
        {{"sinh", 8},
         {"cosh", 9},
         {"tanh", 10},
         {"asnh", 5},
         {"acsh", 6},
         {"atnh", 7},
         {"log", 17},
         {"10\u00AA", 87}},
        {{"\u221A", 15},
         {"a\u00B2", 40},
         {"abs", 33},
         {"round", 34},
         {"frac", 35},
         {"n!", 31},
         {"\u0393", 26},
         {"rand", 11}},
        {{"Jn", 18}, {"Yn", 19}, {"In", 20}, {"Kn", 21}, {"eFD", 32}, {"Ci", 23}, {"Si", 24}, {"erf", 25}},
        {{"solv", 22},
         {"\u222B", 27},
         {"min", 0},
         {"max", 37},
         {"mean", 38},
         {"std", 39},
         {"sum", 41},
         {"stat", 44}},
        {{"gauss", 42},
         {"poly", 43},
         {nullptr, 0},
         {nullptr, 0},
         {nullptr, 0},
         {nullptr, 0},
         {nullptr, 0},
         {nullptr, 0}},
    };
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(2);
    for (int row = 0; row < 6; ++row) {
        for (int column = 0; column < 8; ++column) {
            const FunctionButton& entry = layout[row][column];
            if (entry.caption)
                AddFunctionButton(grid, row, column, QString::fromUtf8(entry.caption), entry.code);
        }
    }
    return box;
}

QWidget* TCalculatorPage::BuildVariableButtons() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(2);
    for (int k = 1; k <= VariableCount; ++k) {
        const QString letter(QChar(VariableLetters[static_cast<std::size_t>(k - 1)]));
        QToolButton* button =
            AddButton(grid, 0, k - 1, letter, QStringLiteral("Variable %1 (Alt+%1)").arg(letter));
        button->setObjectName("sbVar" + letter);
        connect(button, &QToolButton::clicked, this, [this, k] { ClickVariable(k); });
    }
    return box;
}

QWidget* TCalculatorPage::BuildCommandButtons() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setSpacing(2);
    QToolButton* clear = AddButton(grid, 0, 0, "Clear All", "Clear All");
    clear->setObjectName("sbClMem");
    connect(clear, &QToolButton::clicked, this, &TCalculatorPage::ClearAll);
    QToolButton* copy = AddButton(grid, 0, 1, "Copy", "Copy (Ctrl+Shift+C)");
    connect(copy, &QToolButton::clicked, this, [this] { Shell().CopyInputLine(); });
    QToolButton* paste = AddButton(grid, 0, 2, "Paste", "Paste (Ctrl+Shift+V)");
    connect(paste, &QToolButton::clicked, this, [this] { Shell().PasteIntoInputLine(); });
    QToolButton* help = AddButton(grid, 0, 3, "Help", "Help");
    connect(help, &QToolButton::clicked, this, [this] { Shell().ShowHelp(0); });
    QToolButton* matrix = AddButton(grid, 0, 5, "Matrix", "Matrix Operations");
    matrix->setObjectName("SpeedButton2");
    connect(matrix, &QToolButton::clicked, this,
            [this] { ShowMatrixWindow(this, Shell().Engine(), Shell().Files().SettingsFile()); });
    QToolButton* units = AddButton(grid, 0, 4, "Units", "Unit Convertor");
    units->setObjectName("sbCut");
    connect(units, &QToolButton::clicked, this, [this] {
        // A fresh converter for each use: it keeps nothing between openings.
        TfmConv converter(window(), Shell().Engine(), Shell().DisplayWidth());
        converter.exec();
    });
    BuildShowPlotsButton(grid, 0, 6);
    QToolButton* off = AddButton(grid, 0, 7, "Off", "Close Mirla");
    connect(off, &QToolButton::clicked, this, [this] { window()->close(); });
    return box;
}

void TCalculatorPage::BuildShowPlotsButton(QGridLayout* grid, int row, int column) {
    sbShow = AddButton(grid, row, column, "Plots", "Show plots");
    sbShow->setObjectName("sbShow");
    pmShow = new QMenu(this);
    pmShow->setObjectName("pmShow");
    pmShow->setToolTipsVisible(true);
    miPlotFx = pmShow->addAction("&Plot f(X)");
    miPlotFx->setObjectName("miPlotFx");
    miPlotFxy = pmShow->addAction("Plot &f(X,Y)");
    miPlotFxy->setObjectName("miPlotFxy");
    miPlot3D = pmShow->addAction("&3D-Plot f(X,Y)");
    miPlot3D->setObjectName("miPlot3D");
    connect(sbShow, &QToolButton::clicked, this,
            [this] { pmShow->popup(sbShow->mapToGlobal(QPoint(0, sbShow->height()))); });
    sbShow->setEnabled(false);
    ConnectShowEntry(miPlotFx, Shell().Plot2D());
    ConnectShowEntry(miPlotFxy, Shell().ContourPlot());
    ConnectShowEntry(miPlot3D, Shell().Surface());
}

template <typename TWindow> void TCalculatorPage::ConnectShowEntry(QAction* entry, TWindow* window) {
    const bool shown = window && window->WasShown();
    entry->setEnabled(shown);
    sbShow->setEnabled(sbShow->isEnabled() || shown);
    if (!window)
        return;
    connect(entry, &QAction::triggered, window, [window] {
        window->show();
        window->raise();
        window->activateWindow();
    });
    connect(window, &TWindow::Shown, this, [this, entry] {
        sbShow->setEnabled(true);
        entry->setEnabled(true);
    });
}

QGroupBox* TCalculatorPage::BuildRadioGroup(const QString& name, const QString& title,
                                            const QStringList& items, QButtonGroup*& group) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    // Two items a row keep the column of selectors narrow.
    auto* layout = new QGridLayout(box);
    group = new QButtonGroup(box);
    group->setObjectName(name);
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], box);
        layout->addWidget(radio, i / 2, i % 2);
        group->addButton(radio, i);
    }
    group->button(0)->setChecked(true);
    return box;
}

QWidget* TCalculatorPage::BuildModeSelectors() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->addWidget(BuildRadioGroup("rgNotation", "Notation", {"Scn", "Fix", "Eng", "Sxg"}, m_rgNotation));
    m_baseBox = BuildRadioGroup("rgBase", "Base", {"dec", "hex", "bin "}, m_rgBase);
    column->addWidget(m_baseBox);
    m_complexFormBox = BuildRadioGroup("rgComplexForm", "Form", {"Polar", "Rect"}, m_rgComplexForm);
    m_complexFormBox->hide();
    column->addWidget(m_complexFormBox);
    column->addWidget(BuildRadioGroup("rgAngle", "Angle", {"Rad", "Deg"}, m_rgAngle));
    column->addWidget(BuildRadioGroup("rgReal", "Numbers", {"Real", "Comp"}, m_rgReal));
    connect(m_rgNotation, &QButtonGroup::idClicked, this, &TCalculatorPage::rgNotationClick);
    connect(m_rgBase, &QButtonGroup::idClicked, this, &TCalculatorPage::rgBaseClick);
    connect(m_rgAngle, &QButtonGroup::idClicked, this, &TCalculatorPage::rgAngleClick);
    connect(m_rgReal, &QButtonGroup::idClicked, this, &TCalculatorPage::rgRealClick);
    connect(m_rgComplexForm, &QButtonGroup::idClicked, this, &TCalculatorPage::rgComplexFormClick);

    auto* counters = new QGridLayout;
    m_lbDigits = new QLabel("Digits", box);
    m_lbDigits->setObjectName("lbDigits");
    m_udDigits = new QSpinBox(box);
    m_udDigits->setObjectName("udDigits");
    m_udDigits->setKeyboardTracking(false);
    m_lbDigits->setBuddy(m_udDigits);
    counters->addWidget(m_lbDigits, 0, 0);
    counters->addWidget(m_udDigits, 0, 1);
    auto* precisionLabel = new QLabel("Precision", box);
    m_udPrecision = new QSpinBox(box);
    m_udPrecision->setObjectName("udPrecision");
    m_udPrecision->setRange(1, 20);
    m_udPrecision->setKeyboardTracking(false);
    precisionLabel->setBuddy(m_udPrecision);
    counters->addWidget(precisionLabel, 1, 0);
    counters->addWidget(m_udPrecision, 1, 1);
    column->addLayout(counters);
    connect(m_udDigits, &QSpinBox::valueChanged, this, &TCalculatorPage::udDigitsChanged);
    connect(m_udPrecision, &QSpinBox::valueChanged, this, &TCalculatorPage::udPrecisionChanged);

    m_cbEval = new QCheckBox("Evaluate", box);
    m_cbEval->setObjectName("cbEval");
    m_chHint = new QCheckBox("Show help", box);
    m_chHint->setObjectName("chHint");
    m_chHint->setChecked(true);
    connect(m_chHint, &QCheckBox::toggled, this, &TCalculatorPage::chHintClick);
    column->addWidget(m_cbEval);
    column->addWidget(m_chHint);
    column->addStretch();
    return box;
}

bool TCalculatorPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return TCalcPage::eventFilter(watched, event);
    if (!m_showHints)
        return true;
    // A function button's hint is its help text in the current mode and angle unit.
    const QVariant code = watched->property("code");
    if (code.isValid() && code.toInt() != FnLog) {
        const std::string help = FunctionHelpText(code.toInt(), m_complexMode, Shell().Engine().AngleMode);
        if (!help.empty())
            static_cast<QToolButton*>(watched)->setToolTip(FromEngine(help));
    }
    return TCalcPage::eventFilter(watched, event);
}

void TCalculatorPage::Activate() {
    Shell().FocusInputLine();
}

void TCalculatorPage::Load() {
    const TCalcSettings& settings = Shell().Settings();
    const QSignalBlocker blockDigits(m_udDigits);
    const QSignalBlocker blockPrecision(m_udPrecision);
    const int notation = std::clamp(settings.Notation, 0, 3);
    Check(m_rgNotation, notation);
    Shell().SetDisplayWidth(settings.Digits);
    ApplyNotation(notation);
    const int form = std::clamp(settings.ComplexForm, 0, 1);
    Check(m_rgComplexForm, form);
    Shell().ComplexEvaluator().SetForm(static_cast<std::uint8_t>(form));
    m_udPrecision->setValue(std::clamp(settings.Precision, 1, 20));
    m_chHint->setChecked(settings.Hint);
    Check(m_rgAngle, settings.Angle ? 1 : 0);
    Shell().Engine().AngleMode = settings.Angle ? 1 : 0;
    ApplyBaseCounter();
}

void TCalculatorPage::Save() {
    TCalcSettings& settings = Shell().Settings();
    settings.Notation = m_rgNotation->checkedId();
    settings.Digits = Shell().DisplayWidth();
    settings.ComplexForm = m_rgComplexForm->checkedId();
    settings.Precision = m_udPrecision->value();
    settings.Hint = m_chHint->isChecked();
    settings.Angle = m_rgAngle->checkedId() == 1;
}

void TCalculatorPage::ClickFunction(int code) {
    for (QToolButton* button : m_functionButtons) {
        if (button->property("code").toInt() == code && button->isEnabled())
            button->click();
    }
}

void TCalculatorPage::ClickVariable(int index) {
    if (index < 1 || index > VariableCount)
        return;
    if (!m_cbEval->isChecked()) {
        Shell().SetFunc(QString(QChar(VariableLetters[static_cast<std::size_t>(index - 1)])));
        return;
    }
    EvalContext& engine = Shell().Engine();
    const bool answered = AskVariable(engine, index);
    // A cancelled dialog leaves "User break" in the context; it belongs to no evaluation here.
    engine.ClearError();
    if (answered && Shell().EvaluateAfterSettings())
        Shell().ReturnClick();
}

void TCalculatorPage::Clicker(int code) {
    Shell().SetFunc(QString::fromLatin1(FunctionButtonText(code, m_complexMode)));
    Shell().ShowFunctionHelp(code);
}

QString TCalculatorPage::ShowLastResultText() {
    EvalContext& engine = Shell().Engine();
    const int width = Shell().DisplayWidth();
    const TComplexEvaluator& evaluator = Shell().ComplexEvaluator();
    const std::string text = m_complexMode
                                 ? ComplexToText(engine, evaluator.LastComplex(), width, evaluator.Form())
                                 : RealToText(engine, width, engine.PrevValue);
    // A value that does not fit the new base shows its placeholder; no evaluation failed.
    engine.ClearError();
    const QString shown = FromEngine(text);
    Shell().ShowResultText(shown);
    return shown;
}

void TCalculatorPage::ClearAll() {
    Shell().ClearLists();
    EvalContext& engine = Shell().Engine();
    for (int k = 1; k <= VariableCount; ++k)
        engine.Variable(k) = PredefinedVariable{};
    engine.LastLower = UndefinedValue;
    engine.LastUpper = UndefinedValue;
    Shell().ClearInputLine();
}

void TCalculatorPage::rgNotationClick(int index) {
    ApplyNotation(index);
    ShowLastResultText();
}

void TCalculatorPage::ApplyNotation(int index) {
    if (index >= 0 && index < static_cast<int>(NotationDigits.size())) {
        m_digitFloor = NotationDigits[static_cast<std::size_t>(index)].floor;
        m_digitMaximum = NotationDigits[static_cast<std::size_t>(index)].maximum;
    }
    Shell().Engine().NotationMode = index;
    if (Shell().DisplayWidth() < m_digitFloor)
        Shell().SetDisplayWidth(m_digitFloor);
    if (Shell().Engine().Base != BaseBinary) {
        const QSignalBlocker block(m_udDigits);
        m_udDigits->setRange(std::max(m_digitFloor, 1), m_digitMaximum);
        m_udDigits->setValue(Shell().DisplayWidth());
    }
}

void TCalculatorPage::rgBaseClick(int index) {
    Shell().ReturnClick();
    Shell().Engine().SetBase(index);
    ApplyBaseCounter();
    const QString result = ShowLastResultText();
    static const QStringList baseNames = {"10", "16", "2"};
    Shell().AddTapeLine(Shell().InputLineText() + " = " + result + "; Base=" + baseNames.value(index));
}

void TCalculatorPage::ApplyBaseCounter() {
    const QSignalBlocker block(m_udDigits);
    if (Shell().Engine().Base == BaseBinary) {
        m_lbDigits->setText("Bits");
        m_udDigits->setRange(BitGroups.front(), BitsMaximum);
        m_udDigits->setValue(Shell().Engine().BitGroup);
    } else {
        m_lbDigits->setText("Digits");
        m_udDigits->setRange(std::max(m_digitFloor, 1), DigitsMaximum);
        m_udDigits->setValue(Shell().DisplayWidth());
    }
}

void TCalculatorPage::udDigitsChanged(int value) {
    EvalContext& engine = Shell().Engine();
    if (engine.Base == BaseBinary) {
        engine.BitGroup = SteppedBitGroup(engine.BitGroup, value);
        const QSignalBlocker block(m_udDigits);
        m_udDigits->setValue(engine.BitGroup);
    } else {
        Shell().SetDisplayWidth(value);
        m_udDigits->setMaximum(DigitsMaximum);
    }
    ShowLastResultText();
}

void TCalculatorPage::udPrecisionChanged(int value) {
    Shell().Settings().Precision = value;
}

void TCalculatorPage::rgAngleClick(int index) {
    Shell().Engine().AngleMode = index;
    ShowLastResultText();
}

void TCalculatorPage::rgComplexFormClick(int index) {
    Shell().ComplexEvaluator().SetForm(static_cast<std::uint8_t>(index));
    const QString result = ShowLastResultText();
    Shell().AddTapeLine(Shell().InputLineText() + " = " + result);
}

void TCalculatorPage::rgRealClick(int index) {
    if ((index == 1) == m_complexMode)
        return;
    if (index == 1)
        ToComplexMode();
    else
        ToRealMode();
    ApplyNotation(m_rgNotation->checkedId());
    ShowLastResultText();
}

void TCalculatorPage::ToComplexMode() {
    TCalcSettings& settings = Shell().Settings();
    if (m_compNoticeCount < NoticeTimesPerRun && settings.ShowComp) {
        TfmCompMess notice(this);
        notice.SetShowAgain(true);
        notice.exec();
        settings.ShowComp = notice.ShowAgain();
        ++m_compNoticeCount;
    }
    EvalContext& engine = Shell().Engine();
    // Hidden items cannot stay selected: fall back to decimal, radians and "Scn".
    if (m_rgBase->checkedId() != BaseDecimal) {
        Check(m_rgBase, BaseDecimal);
        engine.SetBase(BaseDecimal);
        ApplyBaseCounter();
    }
    if (m_rgAngle->checkedId() != 0) {
        Check(m_rgAngle, 0);
        engine.AngleMode = 0;
    }
    if (m_rgNotation->checkedId() == NotationSxg) {
        Check(m_rgNotation, NotationScn);
        engine.NotationMode = NotationScn;
    }
    SetItemShown(m_rgBase, BaseHex, false);
    SetItemShown(m_rgBase, BaseBinary, false);
    SetItemShown(m_rgAngle, 1, false);
    SetItemShown(m_rgNotation, NotationSxg, false);
    m_logButton->setText("comp");
    m_logButton->setToolTip("Complex number of (..,..)");
    m_gammaButton->setText("Ln(G)");
    m_complexMode = true;
    Shell().SetComplexMode(true);
    m_complexFormBox->show();
    m_baseBox->hide();
    SetComplexButtons(false);
}

void TCalculatorPage::ToRealMode() {
    m_gammaButton->setText(QStringLiteral("\u0393"));
    m_logButton->setToolTip("Logarithm (..)");
    m_logButton->setText("log");
    m_complexFormBox->hide();
    m_baseBox->show();
    m_complexMode = false;
    Shell().SetComplexMode(false);
    SetItemShown(m_rgBase, BaseHex, true);
    SetItemShown(m_rgBase, BaseBinary, true);
    SetItemShown(m_rgAngle, 1, true);
    SetItemShown(m_rgNotation, NotationSxg, true);
    SetComplexButtons(true);
}

void TCalculatorPage::SetComplexButtons(bool enabled) {
    for (QToolButton* button : m_realOnlyButtons)
        button->setEnabled(enabled);
}

void TCalculatorPage::SetItemShown(QButtonGroup* group, int index, bool shown) {
    group->button(index)->setVisible(shown);
}

void TCalculatorPage::Check(QButtonGroup* group, int index) {
    group->button(index)->setChecked(true);
}

void TCalculatorPage::chHintClick(bool on) {
    m_showHints = on;
}

} // namespace mirla
