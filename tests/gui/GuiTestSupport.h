#pragma once

#include "app/CalculatorShell.h"
#include "app/core/CalcFiles.h"
#include "app/core/CalcSettings.h"
#include "numbers/ComplexEvaluator.h"

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace mirla::test {

/// Fails the running test when a modal dialog opens that the test did not expect, and closes
/// it so that the test cannot hang. Tests that expect a dialog call Expect() with a handler.
class TModalWatchdog : public QObject {
    Q_OBJECT
public:
    TModalWatchdog();
    /// The next modal dialog is expected; `handler` gets it (it must close it).
    void Expect(std::function<void(QWidget* dialog)> handler);
    /// Runs `action`, closing the message box it shows; returns the box's text ("" when none).
    QString MessageShownBy(const std::function<void()>& action);
    /// True when a dialog opened that nobody expected.
    bool SawUnexpected() const { return m_unexpected; }
    /// The title and text of the last dialog seen.
    QString LastText() const { return m_lastText; }

private:
    void Check();
    QTimer m_timer;
    std::function<void(QWidget*)> m_handler;
    bool m_unexpected = false;
    QString m_lastText;
};

/// The child of `parent` named `name`; a missing one ends the test run.
template <typename T> T* Child(QObject* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child)
        qFatal("missing %s", qPrintable(name));
    return child;
}

/// A temporary program folder with its own settings, history and user files, so that window
/// tests never touch the user's files.
class TScratchFolder {
public:
    TScratchFolder();
    QString Path() const { return m_dir.path(); }
    /// Writes a text file (UTF-8) in the folder and returns its path.
    QString Write(const QString& name, const QString& text) const;
    /// Reads a file of the folder as UTF-8 text ("" when missing).
    QString Read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};

/// A stand-in for the main window as the "Calculator" page sees it: an input line with the
/// insertion rule, and records of what the page asked for.
class TFakeCalculatorShell : public TCalculatorShell {
public:
    TFakeCalculatorShell() : m_complex(m_engine) {}
    EvalContext& Engine() override { return m_engine; }
    TCalcSettings& Settings() override { return m_settings; }
    void ShowHelp(int topic) override { helpTopics.append(topic); }
    const TCalcFiles& Files() const override { return m_files; }
    int DisplayWidth() const override { return m_engine.DisplayWidth; }
    void SetFunc(const QString& text) override;
    QString InputLineText() const override { return m_input.text(); }
    void ReturnClick() override { ++returnClicks; }
    TfmPlot2D* Plot2D() override { return nullptr; }
    TfmSurface* Surface() override { return nullptr; }
    void FocusInputLine() override { m_input.setFocus(); }
    void CopyInputLine() override { m_input.copy(); }
    void PasteIntoInputLine() override;
    void ClearInputLine() override { m_input.clear(); }
    void ShowResultText(const QString& text) override { result = text; }
    void AddTapeLine(const QString& line) override { tape.prepend(line); }
    void ClearLists() override { ++listClears; }
    void SetDisplayWidth(int width) override { m_engine.DisplayWidth = width; }
    void SetComplexMode(bool on) override { complexMode = on; }
    TComplexEvaluator& ComplexEvaluator() override { return m_complex; }
    void ShowFunctionHelp(int code) override { helpCodes.append(code); }
    bool EvaluateAfterSettings() const override { return false; }

    /// The input line, for tests that type into it or read its caret.
    QLineEdit* InputLine() { return &m_input; }

    int returnClicks = 0;
    int listClears = 0;
    bool complexMode = false;
    QString result;
    QStringList tape;
    QList<int> helpTopics;
    QList<int> helpCodes;

private:
    EvalContext m_engine;
    TComplexEvaluator m_complex;
    TCalcSettings m_settings;
    TCalcFiles m_files;
    QLineEdit m_input;
};

} // namespace mirla::test
