#pragma once

#include "engine/EvalContext.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <string>

class QLineEdit;
class QListWidget;
class QPainter;
class QTableWidget;

namespace mirla {

class TfmMult;
class TRealMatrix;

/// The texts of a matrix's cells, row by row, with its size.
struct TMatrixTexts {
    int Rows = 0;
    int Cols = 0;
    QStringList Cells; ///< element (i, j), counted from 0, at i * Cols + j
    /// The text of element (row, col), counted from 0.
    const QString& Cell(int row, int col) const { return Cells[row * Cols + col]; }
};

/// Clipboard text of a matrix: the elements of each row joined by TAB, each row ended by a line feed.
QString MatrixClipboardText(const TMatrixTexts& matrix);

/// One pasted field: its text and its place counted from the cell where the paste starts.
struct TPastedField {
    int Row = 0;
    int Col = 0;
    QString Text;
};
/// Splits clipboard text into fields: lines end at CR, LF or CR LF, empty lines are skipped; a
/// field ends at the first blank of the rest of the line, or else the first ",", TAB or NUL,
/// and copies of that separator right after it are skipped. Empty fields are left out.
QList<TPastedField> ParseMatrixClipboard(const QString& text);

/// The operation of the matrix window chosen by its operation buttons (codes stored as such).
enum TMatrixOperation : int {
    OpSolve = 1,
    OpAdd = 2,
    OpMultiply = 3,
    OpInverse = 4,
    OpPower = 5,
    OpDeterminant = 6,
    OpSubtract = 7,
    OpScalar = 8,
    OpFunction = 9
};

/// The matrix calculator window "Matrix": grids A, B and the result C whose cells are engine
/// expressions, operation buttons, a repository of earlier operands and results, clipboard,
/// text-file and printer output.
class TfmMatrix : public QWidget {
    Q_OBJECT
public:
    /// A window evaluating its cells through `ctx`; `parent` owns it (it is a top-level window).
    TfmMatrix(EvalContext& ctx, QWidget* parent = nullptr);
    ~TfmMatrix() override;

    /// The grids of A, B and C.
    QTableWidget* sgA = nullptr;
    QTableWidget* sgB = nullptr;
    QTableWidget* sgC = nullptr;
    /// The formula of the selected operation.
    QLineEdit* edOperation = nullptr;
    /// The captions of the repository's matrices.
    QListWidget* lbR = nullptr;

    /// Selects an operation as its button does (asking for r, n or f first); false when the
    /// dialog was cancelled and the previous operation stays.
    bool SelectOperation(int code);
    /// The selected operation's code.
    int Operation() const { return m_operation; }
    /// Runs the selected operation into C ("=").
    void Button1Click();
    /// Sets a grid's size (each clamped to 1..100) with its edits and headers, keeping the
    /// texts that fit.
    void SetGridSize(QTableWidget* grid, int rows, int cols);
    /// The size and texts of a grid.
    TMatrixTexts GridTexts(const QTableWidget* grid) const;
    /// Puts a grid's clipboard text on the clipboard.
    void CopyToClipboard(const QTableWidget* grid);
    /// Pastes clipboard text into A or B at the selected cell (the first element when none).
    void PasteFromClipboard(QTableWidget* grid);
    /// Writes the formula, the operands and the result to a text file; false on a write error
    /// (reported to the user).
    bool SaveToFile(const QString& path);
    /// Copies the repository entry `index` into grid A or B.
    void CopyRepositoryTo(int index, QTableWidget* grid);
    /// Draws the formula and the matrices of the operation as boxed tables in 10-point text
    /// from the top left of `painter`, at most `pageWidth` wide; returns the height used.
    int PaintTables(QPainter& painter, int pageWidth);
    /// The settings file whose "Print" section gives the page margins.
    void SetSettingsFile(const std::string& path) { m_settingsFile = path; }

private:
    /// The controls of one matrix panel.
    struct TPanel {
        QTableWidget* Grid = nullptr;
        QLineEdit* Name = nullptr;
        QLineEdit* Rows = nullptr;
        QLineEdit* Cols = nullptr;
        QLineEdit* Value = nullptr; ///< fill value, A and B only
    };
    /// One matrix kept in the repository.
    struct TStoredMatrix {
        QString Caption;
        TMatrixTexts Texts;
    };

    QWidget* BuildPanel(TPanel& panel, const QString& prefix, const QString& title, bool operand);
    QWidget* BuildOperationButtons();
    QWidget* BuildCommandButtons();
    QWidget* BuildRepository();
    TPanel& PanelOf(const QTableWidget* grid);
    const TPanel& PanelOf(const QTableWidget* grid) const;
    QString Name(const QTableWidget* grid) const;
    void UpdateHeaders(QTableWidget* grid);
    void UpdateFormula();
    void SizeEditChanged(TPanel& panel, QLineEdit* edit);
    void ApplyShapes(const QTableWidget* changed, bool rowsChanged);
    void FillGrid(TPanel& panel);
    void CopyGrid(const QTableWidget* from, QTableWidget* to);
    void SetGridTexts(QTableWidget* grid, const TMatrixTexts& texts);
    bool UsesB() const;
    bool ReadGrid(QTableWidget* grid, TRealMatrix& matrix);
    bool Compute(const TRealMatrix& a, const TRealMatrix& b, TRealMatrix& c);
    void ApplyFunction();
    void ShowResult(const TRealMatrix& c);
    void StoreInRepository();
    void PrintClick();
    void SaveClick();
    bool HandleGridKey(QTableWidget* grid, int key, Qt::KeyboardModifiers modifiers);

    bool eventFilter(QObject* watched, QEvent* event) override;

    EvalContext& m_ctx;
    TfmMult* m_fmMult = nullptr;
    std::array<TPanel, 3> m_panels;
    int m_operation = OpMultiply;
    Extended m_scalar = 1;
    int m_power = 2;
    QString m_function;
    QList<TStoredMatrix> m_repository;
    std::string m_settingsFile;
};

} // namespace mirla
