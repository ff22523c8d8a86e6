#pragma once

#include "app/CalculatorShell.h"
#include "app/PageBase.h"

#include <QList>
#include <QString>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QAction;
class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;
class QGridLayout;

namespace mirla {

/// The "Calculator" page: keypad, function and variable buttons, and the mode selectors
/// (notation, base, angle unit, real or complex, complex form, digits, precision).
class TCalculatorPage : public TShellPage<TCalculatorShell> {
    Q_OBJECT
public:
    TCalculatorPage(TCalculatorShell& shell, QWidget* parent);

    void Activate() override;
    void Load() override;
    void Save() override;

    /// Acts as a click on the function button of `code` (keyboard shortcuts); a disabled
    /// button or an unknown code does nothing.
    void ClickFunction(int code);
    /// Acts as a click on variable button `index` 1..10 (X, Y, Z, V, W, I, J, K, M, N).
    void ClickVariable(int index);
    /// True while the real/complex switch is on "Comp".
    bool ComplexMode() const { return m_complexMode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* AddButton(QGridLayout* grid, int row, int column, const QString& caption,
                           const QString& hint);
    void AddInsertButton(QGridLayout* grid, int row, int column, const QString& caption, const QString& text,
                         const QString& hint = {});
    void AddFunctionButton(QGridLayout* grid, int row, int column, const QString& caption, int code);
    QWidget* BuildKeypad();
    QWidget* BuildFunctionButtons();
    QWidget* BuildVariableButtons();
    QWidget* BuildCommandButtons();
    void BuildShowPlotsButton(QGridLayout* grid, int row, int column);
    /// Makes `entry` of "Show plots" show `window`, enabled once the window has been shown.
    template <typename TWindow> void ConnectShowEntry(QAction* entry, TWindow* window);
    QWidget* BuildModeSelectors();
    QGroupBox* BuildRadioGroup(const QString& name, const QString& title, const QStringList& items,
                               QButtonGroup*& group);

    void Clicker(int code);
    QString ShowLastResultText();
    void ClearAll();
    void AskVariableButton(int index);

    void rgNotationClick(int index);
    void rgBaseClick(int index);
    void rgAngleClick(int index);
    void rgRealClick(int index);
    void rgComplexFormClick(int index);
    void udDigitsChanged(int value);
    void udPrecisionChanged(int value);
    void chHintClick(bool on);

    void ApplyNotation(int index);
    void ApplyBaseCounter();
    void ToComplexMode();
    void ToRealMode();
    void SetComplexButtons(bool enabled);
    void SetItemShown(QButtonGroup* group, int index, bool shown);
    static void Check(QButtonGroup* group, int index);

    QList<QToolButton*> m_functionButtons;
    QList<QToolButton*> m_realOnlyButtons;
    QList<QToolButton*> m_allButtons;
    QToolButton* m_logButton = nullptr;
    QToolButton* m_gammaButton = nullptr;
    QToolButton* sbShow = nullptr;
    QMenu* pmShow = nullptr;
    QAction* miPlotFx = nullptr;
    QAction* miPlot3D = nullptr;
    QAction* miPlotFxy = nullptr;

    QButtonGroup* m_rgNotation = nullptr;
    QButtonGroup* m_rgBase = nullptr;
    QButtonGroup* m_rgAngle = nullptr;
    QButtonGroup* m_rgReal = nullptr;
    QButtonGroup* m_rgComplexForm = nullptr;
    QGroupBox* m_baseBox = nullptr;
    QGroupBox* m_complexFormBox = nullptr;
    QSpinBox* m_udDigits = nullptr;
    QLabel* m_lbDigits = nullptr;
    QSpinBox* m_udPrecision = nullptr;
    QCheckBox* m_cbEval = nullptr;
    QCheckBox* m_chHint = nullptr;

    bool m_complexMode = false;
    bool m_showHints = true;
    int m_digitFloor = 0;
    int m_digitMaximum = 22;
    int m_compNoticeCount = 0;
};

} // namespace mirla
