#pragma once

#include "app/CalculatorShell.h"
#include "app/GraphicsShell.h"
#include "app/GuiEngineHost.h"
#include "app/HistoryWalk.h"
#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "app/core/FolderLock.h"
#include "engine/EvalContext.h"
#include "numbers/ComplexEvaluator.h"

#include <QComboBox>
#include <QWidget>

#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolButton;

namespace mirla {

class TCalcPage;
class TCalculatorPage;
class TTapePage;
class TGraphicsPage;
class TfmContourPlot;
class TfmPlot2D;
class TfmPolar;
class TfmSurface;

/// A drop-down list with a line edit laid over its text area: the list keeps past entries
/// while the line edit shows and edits its own text, untouched by the list's selection.
class TOverlayCombo : public QComboBox {
public:
    /// A list whose overlay is `edit` (reparented to the list).
    TOverlayCombo(QLineEdit* edit, QWidget* parent);
    /// The line edit over the text area.
    QLineEdit* Edit() const { return m_edit; }
    /// The entries, newest first.
    QStringList Items() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QLineEdit* m_edit;
};

/// The main window "Mirla": the result row, the input row with Stop, the assistant panel and
/// the page control. It runs the evaluation cycle and keeps history, results and their file.
class TfmCalc : public QWidget, public TCalculatorShell, public TGraphicsShell {
    Q_OBJECT
public:
    /// Creates the window over the files of `files`: reads the settings, the history file and,
    /// through the pages, the constants, user functions and user variables.
    explicit TfmCalc(const TCalcFiles& files, QWidget* parent = nullptr);
    ~TfmCalc() override;

    // TCalculatorShell and TGraphicsShell: what the pages reach of the window.
    EvalContext& Engine() override { return m_ctx; }
    TCalcSettings& Settings() override { return m_settings; }
    void ShowHelp(int topic) override;
    const TCalcFiles& Files() const override { return m_files; }
    int DisplayWidth() const override { return m_width; }
    void SetFunc(const QString& text) override;
    QString InputLineText() const override;
    void ReturnClick() override;
    TfmPlot2D* Plot2D() override { return m_plot2D; }
    TfmPolar* Polar() override { return m_polar; }
    TfmSurface* Surface() override { return m_surface; }
    TfmContourPlot* ContourPlot() override { return m_contourPlot; }
    void ShowAssistantText(const QString& text) override;
    void MoveToHistoryTop() override;
    void SetPlotting(bool running) override;
    void ShowProgress(int percent) override;
    void FocusInputLine() override;
    void CopyInputLine() override;
    void PasteIntoInputLine() override;
    void ClearInputLine() override;
    void ShowResultText(const QString& text) override;
    void AddTapeLine(const QString& line) override;
    void ClearLists() override;
    void SetDisplayWidth(int width) override;
    void SetComplexMode(bool on) override;
    TComplexEvaluator& ComplexEvaluator() override { return m_complex; }
    void ShowFunctionHelp(int code) override;
    bool EvaluateAfterSettings() const override { return m_host->EvaluateAfterSettings(); }

    /// True while results are computed in complex mode.
    bool ComplexMode() const { return m_complexMode; }
    /// The input line.
    QLineEdit* InputLine() const { return m_input; }
    /// The progress gauge (0 to 100), shown while the "Graphics" page is active.
    QProgressBar* ProgressGauge() const { return m_gauge; }
    /// The result box (read-only).
    QLineEdit* ResultBox() const { return m_resultBox; }
    /// The drop-down list of past input lines, newest first.
    TOverlayCombo* HistoryList() const { return m_history; }
    /// The drop-down list of past results, newest first.
    TOverlayCombo* ResultsList() const { return m_results; }
    /// The Stop button ("Break culculation").
    QToolButton* StopButton() const { return m_stop; }
    /// The page control.
    QTabWidget* Pages() const { return m_pages; }
    /// True while an evaluation cycle runs.
    bool Evaluating() const { return m_evaluating; }
    /// True while a plot request samples its expression.
    bool Plotting() const { return m_plotting; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class TCycleGuard;

    void BuildRows();
    void BuildPages();
    /// Reads the settings; false when the file could not be read (reported, defaults kept).
    bool LoadSettings();
    void LoadHistory();
    /// Writes the settings; false when they were not written (not this window's to write, or the
    /// file could not be updated, which has been reported).
    bool SaveSettings();
    void SaveHistory() const;
    /// Tells the user once at start why this window does not save its settings and history.
    void TellFilesAreNotSaved();
    void ApplyFontSize(int points);
    void ShowError();
    void ShowResultColoured(const QString& text, bool isError);
    void ColourResultBox();
    void RecordResult(const QString& typed, const QString& result);
    QString TapeSuffix();
    bool EvaluateLine(const std::string& typed, QString& resultText);
    bool HandleKey(QKeyEvent* key);
    bool HandleListKey(TOverlayCombo* list, QKeyEvent* key);
    void RecallNewestLine();
    /// Shows the next older (or newer) history line in the input line, if there is one.
    void WalkHistory(bool older);
    void PageChanged(int index);
    void ChooseListEntry(TOverlayCombo* list, int index);
    void StartAssistant(int mode);
    void AssistantTick();

    TCalcFiles m_files;
    TFolderLock m_folderLock{m_files.Folder()};
    /// False when this window may not write the settings and history (another Mirla keeps the
    /// files, or the folder cannot take them): they stay in memory for this run.
    bool m_savesFiles = m_files.Writable() && m_folderLock.Held();
    TCalcSettings m_settings;
    EvalContext m_ctx;
    TComplexEvaluator m_complex{m_ctx};
    std::unique_ptr<TGuiEngineHost> m_host;

    int m_width = 12;
    bool m_complexMode = false;
    bool m_evaluating = false;
    bool m_plotting = false;
    bool m_closeAfterCycle = false;
    bool m_inputEditedByUser = false;
    bool m_shownOnce = false;
    bool m_resultIsError = false;
    /// The history file could not be read at start, so this run leaves it as it is.
    bool m_historyFileKept = false;
    int m_assistantMode = 1;   ///< 1 help for the name at the caret, 2 the greeting
    double m_greetingTime = 0; ///< time of day of the first showing, as a fraction of a day
    QTimer* m_assistantTimer = nullptr;
    THistoryWalk m_historyWalk;

    QLineEdit* m_resultBox = nullptr;
    QLineEdit* m_input = nullptr;
    TOverlayCombo* m_results = nullptr;
    TOverlayCombo* m_history = nullptr;
    QToolButton* m_stop = nullptr;
    QWidget* m_gaugePanel = nullptr;
    QProgressBar* m_gauge = nullptr;
    QLabel* m_assistant = nullptr;
    QCheckBox* m_assistantBox = nullptr;
    QSpinBox* m_fontSize = nullptr;
    QTabWidget* m_pages = nullptr;
    std::vector<TCalcPage*> m_pageList;
    TCalculatorPage* m_calculatorPage = nullptr;
    TTapePage* m_tapePage = nullptr;
    int m_graphicsIndex = -1;
    TGraphicsPage* m_graphicsPage = nullptr;
    TfmPlot2D* m_plot2D = nullptr;
    TfmPolar* m_polar = nullptr;
    TfmSurface* m_surface = nullptr;
    TfmContourPlot* m_contourPlot = nullptr;
};

} // namespace mirla
