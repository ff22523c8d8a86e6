#include "matrix/ui/MatrixWindow.h"

#include "plotlib/PrintSettings.h"
#include "runtime/IniFile.h"

#include "matrix/Elimination.h"
#include "matrix/MatrixException.h"
#include "matrix/RealMatrix.h"
#include "matrix/ui/MultDialog.h"
#include "userdefs/ui/SetVarDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <optional>

namespace mirla {

namespace {

constexpr int InitialSize = 5;
constexpr int MinimumSize = 1;
constexpr int MaximumSize = 100;
constexpr int ClipboardLimit = 64000;
constexpr int PrintPointSize = 10;
const QString NoSolutionMessage = QStringLiteral("No solution for this equations");
const QString OutOfRangeStyle = QStringLiteral("background-color: #ff0000;");

struct TOperationButton {
    int Code;
    const char* Caption;
};
constexpr std::array<TOperationButton, 9> OperationButtons = {{{OpSolve, "Solve A(X)=B"},
                                                               {OpAdd, "A&+B=C"},
                                                               {OpMultiply, "A*B=C"},
                                                               {OpInverse, "&Inerse(A)=C"},
                                                               {OpPower, "Power(A,n)=C"},
                                                               {OpDeterminant, "det |A|=C[1,1]"},
                                                               {OpSubtract, "A&-B=C"},
                                                               {OpScalar, "r*A=C"},
                                                               {OpFunction, "f(Aij)=Cij"}}};

/// The word that the repository captions give an operation.
QString OperationWord(int code) {
    switch (code) {
    case OpSolve:
        return QStringLiteral("Solve");
    case OpAdd:
    case OpSubtract:
        return QStringLiteral("Add");
    case OpInverse:
        return QStringLiteral("Inverse");
    case OpPower:
    case OpDeterminant:
        return QStringLiteral("Power");
    default:
        return QStringLiteral("Mult");
    }
}

QString CellText(const QTableWidget* grid, int row, int col) {
    const QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QString();
}

void SetCellText(QTableWidget* grid, int row, int col, const QString& text) {
    if (QTableWidgetItem* item = grid->item(row, col))
        item->setText(text);
    else
        grid->setItem(row, col, new QTableWidgetItem(text));
}

/// Reads a size edit: the number when it is a whole number within 1..100.
std::optional<int> SizeValue(const QLineEdit* edit) {
    bool ok = false;
    const int value = edit->text().toInt(&ok);
    if (!ok || value < MinimumSize || value > MaximumSize)
        return std::nullopt;
    return value;
}

/// The lines of a matrix for the text file: one per column, elements joined by ",".
QStringList ColumnLines(const TMatrixTexts& matrix) {
    QStringList lines;
    for (int col = 0; col < matrix.Cols; ++col) {
        QStringList column;
        for (int row = 0; row < matrix.Rows; ++row)
            column << matrix.Cell(row, col);
        lines << column.join(QLatin1Char(','));
    }
    return lines;
}

/// The first field of `line` from `pos`, moving `pos` past its separator and the copies of it
/// that follow directly.
QString NextField(const QString& line, qsizetype& pos) {
    static const std::array<QChar, 4> Separators = {u' ', u',', u'\t', QChar(0)};
    for (QChar separator : Separators) {
        const qsizetype at = line.indexOf(separator, pos);
        if (at < 0)
            continue;
        const QString field = line.mid(pos, at - pos);
        pos = at + 1;
        while (pos < line.size() && line[pos] == separator)
            ++pos;
        return field;
    }
    const QString field = line.mid(pos);
    pos = line.size();
    return field;
}

/// Widens `grid` until three columns as wide as `widest` with room around it, their headers and
/// the row headers show whole, without scrolling sideways.
void FitThreeColumns(QTableWidget* grid, const QString& widest) {
    const QFontMetrics metrics(grid->font());
    const int column = metrics.horizontalAdvance(widest) + 2 * metrics.averageCharWidth();
    grid->horizontalHeader()->setDefaultSectionSize(column);
    grid->setMinimumWidth(grid->verticalHeader()->sizeHint().width() + 3 * column + 2 * grid->frameWidth() +
                          grid->verticalScrollBar()->sizeHint().width());
}

} // namespace

QString MatrixClipboardText(const TMatrixTexts& matrix) {
    QString text;
    for (int row = 0; row < matrix.Rows; ++row) {
        QStringList fields;
        for (int col = 0; col < matrix.Cols; ++col)
            fields << matrix.Cell(row, col);
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

QList<TPastedField> ParseMatrixClipboard(const QString& text) {
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QList<TPastedField> fields;
    int row = 0;
    for (const QString& line : normalized.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        int col = 0;
        qsizetype pos = 0;
        while (pos < line.size()) {
            const QString field = NextField(line, pos);
            if (!field.isEmpty())
                fields.append({row, col, field});
            ++col;
        }
        ++row;
    }
    return fields;
}

TfmMatrix::TfmMatrix(EvalContext& ctx, QWidget* parent) : QWidget(parent, Qt::Window), m_ctx(ctx) {
    setObjectName(QStringLiteral("fmMatrix"));
    setWindowTitle(QStringLiteral("Matrix"));
    m_fmMult = new TfmMult(this, ctx);

    auto* grids = new QHBoxLayout;
    grids->addWidget(BuildPanel(m_panels[0], QStringLiteral("A"), QStringLiteral("1st Matrix"), true));
    grids->addWidget(BuildPanel(m_panels[1], QStringLiteral("B"), QStringLiteral("2nd Matrix"), true));
    grids->addWidget(BuildPanel(m_panels[2], QStringLiteral("C"), QStringLiteral("Result"), false));
    grids->addWidget(BuildRepository());
    sgA = m_panels[0].Grid;
    sgB = m_panels[1].Grid;
    sgC = m_panels[2].Grid;

    edOperation = new QLineEdit(this);
    edOperation->setObjectName(QStringLiteral("edOperation"));
    edOperation->setReadOnly(true);
    auto* equals = new QPushButton(QStringLiteral("="), this);
    equals->setObjectName(QStringLiteral("Button1"));
    connect(equals, &QPushButton::clicked, this, &TfmMatrix::Button1Click);
    auto* formula = new QHBoxLayout;
    formula->addWidget(edOperation, 1);
    formula->addWidget(equals);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildOperationButtons());
    layout->addLayout(formula);
    layout->addLayout(grids, 1);
    layout->addWidget(BuildCommandButtons());

    for (TPanel& panel : m_panels)
        SetGridSize(panel.Grid, InitialSize, InitialSize);
    // Typed elements are mostly short; a result element has seven digits and an exponent.
    FitThreeColumns(sgA, QStringLiteral("-123.456"));
    FitThreeColumns(sgB, QStringLiteral("-123.456"));
    FitThreeColumns(sgC, QStringLiteral("-8.888888E-888"));
    SelectOperation(OpMultiply);
}

TfmMatrix::~TfmMatrix() = default;

QWidget* TfmMatrix::BuildPanel(TPanel& panel, const QString& prefix, const QString& title, bool operand) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(box);
    auto* fields = new QGridLayout;
    auto addEdit = [&](const QString& role, const QString& label, int column) {
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QStringLiteral("ed") + prefix + role);
        auto* caption = new QLabel(label, box);
        caption->setBuddy(edit);
        fields->addWidget(caption, 0, column);
        fields->addWidget(edit, 1, column);
        return edit;
    };
    panel.Name = addEdit(QStringLiteral("Name"), QStringLiteral("Name"), 0);
    panel.Name->setText(prefix);
    panel.Rows = addEdit(QStringLiteral("Rows"), QStringLiteral("Rows"), 1);
    panel.Cols = addEdit(QStringLiteral("Cols"), QStringLiteral("Columns"), 2);
    if (operand) {
        panel.Value = addEdit(QStringLiteral("Value"), QStringLiteral("Fill"), 3);
        panel.Value->setText(QStringLiteral("0"));
        connect(panel.Value, &QLineEdit::editingFinished, this, [this, &panel] { FillGrid(panel); });
        // Digits and one sign in the first place; other keystrokes are refused where typed.
        static const QRegularExpression SizePattern(QStringLiteral("[+-]?[0-9]*"));
        for (QLineEdit* edit : {panel.Rows, panel.Cols}) {
            edit->setValidator(new QRegularExpressionValidator(SizePattern, edit));
            connect(edit, &QLineEdit::textEdited, this,
                    [this, &panel, edit] { SizeEditChanged(panel, edit); });
        }
    } else {
        panel.Rows->setReadOnly(true);
        panel.Cols->setReadOnly(true);
    }
    connect(panel.Name, &QLineEdit::textChanged, this, [this, &panel] {
        UpdateHeaders(panel.Grid);
        UpdateFormula();
    });
    layout->addLayout(fields);

    panel.Grid = new QTableWidget(box);
    panel.Grid->setObjectName(QStringLiteral("sg") + prefix);
    panel.Grid->installEventFilter(this);
    if (!operand)
        panel.Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Enter that ends the editing of a cell moves down to the next row, as in a spreadsheet.
    QTableWidget* grid = panel.Grid;
    connect(grid->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            [grid](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::SubmitModelCache)
                    grid->setCurrentCell(std::min(grid->currentRow() + 1, grid->rowCount() - 1),
                                         grid->currentColumn());
            });
    layout->addWidget(panel.Grid, 1);

    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton(QStringLiteral("Copy"), box);
    copy->setObjectName(QStringLiteral("btCopy") + prefix);
    copy->setToolTip(QStringLiteral("Copy Matrix ") + prefix + QStringLiteral(" to the clipboard"));
    connect(copy, &QPushButton::clicked, this, [this, &panel] { CopyToClipboard(panel.Grid); });
    buttons->addWidget(copy);
    if (operand) {
        auto* paste = new QPushButton(QStringLiteral("Paste"), box);
        paste->setObjectName(QStringLiteral("btPaste") + prefix);
        paste->setToolTip(QStringLiteral("Paste into Matrix ") + prefix +
                          QStringLiteral(" at the selected cell"));
        connect(paste, &QPushButton::clicked, this, [this, &panel] { PasteFromClipboard(panel.Grid); });
        buttons->addWidget(paste);
    }
    layout->addLayout(buttons);
    return box;
}

QWidget* TfmMatrix::BuildOperationButtons() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const TOperationButton& operation : OperationButtons) {
        auto* button = new QPushButton(QString::fromLatin1(operation.Caption), box);
        button->setObjectName(QStringLiteral("btOperation") + QString::number(operation.Code));
        const int code = operation.Code;
        connect(button, &QPushButton::clicked, this, [this, code] { SelectOperation(code); });
        layout->addWidget(button);
    }
    return box;
}

QWidget* TfmMatrix::BuildCommandButtons() {
    auto* box = new QWidget(this);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto addButton = [&](const QString& name, const QString& caption, auto handler) {
        auto* button = new QPushButton(caption, box);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, handler);
        layout->addWidget(button);
    };
    addButton(QStringLiteral("btCopyCA"), QStringLiteral("Copy Matrix C to A"),
              [this] { CopyGrid(sgC, sgA); });
    addButton(QStringLiteral("btCopyCB"), QStringLiteral("Copy Matrix C to B"),
              [this] { CopyGrid(sgC, sgB); });
    addButton(QStringLiteral("btCopyAB"), QStringLiteral("Copy Matrix A to B"),
              [this] { CopyGrid(sgA, sgB); });
    addButton(QStringLiteral("btCopyBA"), QStringLiteral("Copy Matrix B to A"),
              [this] { CopyGrid(sgB, sgA); });
    layout->addStretch(1);
    addButton(QStringLiteral("sbSave"), QStringLiteral("&Save"), [this] { SaveClick(); });
    addButton(QStringLiteral("sbPrint"), QStringLiteral("&Print"), [this] { PrintClick(); });
    addButton(QStringLiteral("btClose"), QStringLiteral("&Close"), [this] { close(); });
    return box;
}

QWidget* TfmMatrix::BuildRepository() {
    auto* box = new QGroupBox(QStringLiteral("R"), this);
    auto* layout = new QVBoxLayout(box);
    lbR = new QListWidget(box);
    lbR->setObjectName(QStringLiteral("lbR"));
    // Wide enough for the longest name a stored matrix gets.
    lbR->setMinimumWidth(lbR->fontMetrics().horizontalAdvance(QStringLiteral("W99Inverse")) +
                         lbR->verticalScrollBar()->sizeHint().width() + 4 * lbR->frameWidth());
    layout->addWidget(lbR, 1);
    auto addButton = [&](const QString& name, const QString& caption, QTableWidget* const* target) {
        auto* button = new QPushButton(caption, box);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this,
                [this, target] { CopyRepositoryTo(lbR->currentRow(), *target); });
        layout->addWidget(button);
    };
    addButton(QStringLiteral("btRToA"), QStringLiteral("Copy to A"), &sgA);
    addButton(QStringLiteral("btRToB"), QStringLiteral("Copy to B"), &sgB);
    return box;
}

TfmMatrix::TPanel& TfmMatrix::PanelOf(const QTableWidget* grid) {
    return *std::find_if(m_panels.begin(), m_panels.end(),
                         [grid](const TPanel& p) { return p.Grid == grid; });
}

const TfmMatrix::TPanel& TfmMatrix::PanelOf(const QTableWidget* grid) const {
    return *std::find_if(m_panels.begin(), m_panels.end(),
                         [grid](const TPanel& p) { return p.Grid == grid; });
}

QString TfmMatrix::Name(const QTableWidget* grid) const {
    return PanelOf(grid).Name->text();
}

void TfmMatrix::SetGridSize(QTableWidget* grid, int rows, int cols) {
    rows = std::clamp(rows, MinimumSize, MaximumSize);
    cols = std::clamp(cols, MinimumSize, MaximumSize);
    grid->setRowCount(rows);
    grid->setColumnCount(cols);
    TPanel& panel = PanelOf(grid);
    // Only a differing text is replaced, so that typing in the edit keeps its caret.
    for (auto [edit, value] : {std::pair{panel.Rows, rows}, std::pair{panel.Cols, cols}}) {
        if (SizeValue(edit) != value) {
            edit->setText(QString::number(value));
            edit->setStyleSheet(QString());
        }
    }
    UpdateHeaders(grid);
}

void TfmMatrix::UpdateHeaders(QTableWidget* grid) {
    const QString name = Name(grid);
    QStringList rowLabels;
    for (int i = 1; i <= grid->rowCount(); ++i)
        rowLabels << name + QLatin1Char('[') + QString::number(i) + QStringLiteral(",J]");
    QStringList colLabels;
    for (int j = 1; j <= grid->columnCount(); ++j)
        colLabels << name + QStringLiteral("[I,") + QString::number(j) + QLatin1Char(']');
    grid->setVerticalHeaderLabels(rowLabels);
    grid->setHorizontalHeaderLabels(colLabels);
}

void TfmMatrix::UpdateFormula() {
    const QString a = Name(sgA);
    const QString b = Name(sgB);
    const QString c = Name(sgC);
    QString formula;
    switch (m_operation) {
    case OpSolve:
        formula = a + "*(X)=" + b + " Solve->" + c;
        break;
    case OpAdd:
        formula = a + "+" + b + "=" + c;
        break;
    case OpMultiply:
        formula = a + "*" + b + "=" + c;
        break;
    case OpInverse:
        formula = "inverse(" + a + ")=" + c;
        break;
    case OpPower:
        formula = "Power(" + a + "," + QString::number(m_power) + ")=" + c;
        break;
    case OpDeterminant:
        formula = QStringLiteral("det |A|=C[1,1]");
        break;
    case OpSubtract:
        formula = a + "-" + b + "=" + c;
        break;
    case OpScalar:
        formula = GeneralText(m_scalar) + "*" + a + "=" + c;
        break;
    case OpFunction:
        formula = m_function + "=" + c;
        break;
    }
    edOperation->setText(formula);
}

bool TfmMatrix::SelectOperation(int code) {
    bool asked = true;
    if (code == OpPower)
        asked = m_fmMult->AskInteger(m_power);
    else if (code == OpScalar)
        asked = m_fmMult->AskReal(m_scalar);
    else if (code == OpFunction)
        asked = m_fmMult->AskFunction(m_function);
    if (!asked)
        return false;
    m_operation = code;
    ApplyShapes(sgA, true);
    UpdateFormula();
    return true;
}

void TfmMatrix::SizeEditChanged(TPanel& panel, QLineEdit* edit) {
    // A lone "-" may begin a number being typed; a lone "+" is dropped.
    if (edit->text() == QStringLiteral("+"))
        edit->clear();
    const std::optional<int> value = SizeValue(edit);
    if (!value) {
        edit->setStyleSheet(OutOfRangeStyle);
        return;
    }
    edit->setStyleSheet(QString());
    const bool rowsChanged = edit == panel.Rows;
    SetGridSize(panel.Grid, rowsChanged ? *value : panel.Grid->rowCount(),
                rowsChanged ? panel.Grid->columnCount() : *value);
    ApplyShapes(panel.Grid, rowsChanged);
}

void TfmMatrix::ApplyShapes(const QTableWidget* changed, bool rowsChanged) {
    auto square = [&](QTableWidget* grid) {
        const int n = rowsChanged ? grid->rowCount() : grid->columnCount();
        SetGridSize(grid, n, n);
        return n;
    };
    auto sameSize = [&](QTableWidget* grid, const QTableWidget* model) {
        SetGridSize(grid, model->rowCount(), model->columnCount());
    };
    switch (m_operation) {
    case OpSolve: {
        const int n = changed == sgB ? sgB->rowCount() : square(sgA);
        SetGridSize(sgA, n, n);
        SetGridSize(sgB, n, 1);
        SetGridSize(sgC, n, 1);
        break;
    }
    case OpAdd:
    case OpSubtract: {
        const QTableWidget* model = changed == sgB ? sgB : sgA;
        sameSize(sgA, model);
        sameSize(sgB, model);
        sameSize(sgC, model);
        break;
    }
    case OpMultiply:
        SetGridSize(sgC, sgA->rowCount(), sgB->columnCount());
        break;
    case OpInverse:
    case OpPower:
        if (changed == sgA)
            square(sgA);
        sameSize(sgC, sgA);
        break;
    case OpDeterminant:
        if (changed == sgA)
            square(sgA);
        SetGridSize(sgC, 1, 1);
        break;
    default:
        sameSize(sgC, sgA);
        break;
    }
}

void TfmMatrix::FillGrid(TPanel& panel) {
    for (int row = 0; row < panel.Grid->rowCount(); ++row)
        for (int col = 0; col < panel.Grid->columnCount(); ++col)
            SetCellText(panel.Grid, row, col, panel.Value->text());
}

TMatrixTexts TfmMatrix::GridTexts(const QTableWidget* grid) const {
    TMatrixTexts texts{grid->rowCount(), grid->columnCount(), {}};
    for (int row = 0; row < texts.Rows; ++row)
        for (int col = 0; col < texts.Cols; ++col)
            texts.Cells << CellText(grid, row, col);
    return texts;
}

void TfmMatrix::SetGridTexts(QTableWidget* grid, const TMatrixTexts& texts) {
    SetGridSize(grid, texts.Rows, texts.Cols);
    for (int row = 0; row < texts.Rows; ++row)
        for (int col = 0; col < texts.Cols; ++col)
            SetCellText(grid, row, col, texts.Cell(row, col));
}

void TfmMatrix::CopyGrid(const QTableWidget* from, QTableWidget* to) {
    SetGridTexts(to, GridTexts(from));
}

void TfmMatrix::CopyRepositoryTo(int index, QTableWidget* grid) {
    if (index < 0 || index >= m_repository.size())
        return;
    SetGridTexts(grid, m_repository[index].Texts);
}

bool TfmMatrix::UsesB() const {
    return m_operation == OpSolve || m_operation == OpAdd || m_operation == OpMultiply ||
           m_operation == OpSubtract;
}

bool TfmMatrix::ReadGrid(QTableWidget* grid, TRealMatrix& matrix) {
    const int rows = grid->rowCount();
    const int cols = grid->columnCount();
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            if (CellText(grid, row, col).trimmed().isEmpty())
                SetCellText(grid, row, col, QStringLiteral("0"));
    matrix.SetSize(rows, cols);
    for (int row = 0; row < rows; ++row) {
        for (int col = 0; col < cols; ++col) {
            Extended value = 0;
            QString error;
            int code = 0;
            if (!EvaluateTyped(m_ctx, CellText(grid, row, col), value, error, code)) {
                grid->setCurrentCell(row, col);
                grid->setFocus();
                ShowErrorMessage(this, error);
                return false;
            }
            matrix.SetItem(row, col, value);
        }
    }
    return true;
}

void TfmMatrix::Button1Click() {
    TRealMatrix a;
    TRealMatrix b;
    if (!ReadGrid(sgA, a) || (UsesB() && !ReadGrid(sgB, b)))
        return;
    if (m_operation == OpFunction) {
        ApplyFunction();
        StoreInRepository();
        return;
    }
    TRealMatrix c;
    try {
        if (!Compute(a, b, c)) {
            ShowErrorMessage(this, NoSolutionMessage);
            for (int row = 0; row < sgC->rowCount(); ++row)
                for (int col = 0; col < sgC->columnCount(); ++col)
                    SetCellText(sgC, row, col, QString());
            return;
        }
    } catch (const std::exception& error) {
        ShowErrorMessage(this, QString::fromStdString(error.what()));
        return;
    }
    ShowResult(c);
    StoreInRepository();
}

bool TfmMatrix::Compute(const TRealMatrix& a, const TRealMatrix& b, TRealMatrix& c) {
    switch (m_operation) {
    case OpSolve: {
        const int n = a.RowCount();
        if (a.ColCount() != n || b.RowCount() != n)
            throw EMatrixException("This operation can be applied only to square matrix");
        TWorkVector x;
        if (GaussJordanSolve(ToWorkMatrix(a), ColumnToWorkVector(b, 0), 0, x, n - 1) != 0)
            return false;
        c.SetSize(n, 1);
        for (int i = 0; i < n; ++i)
            c.SetItem(i, 0, x[static_cast<std::size_t>(i)]);
        return true;
    }
    case OpAdd:
        c = a.Sum(b);
        return true;
    case OpSubtract:
        c = a.Sum(b.Scaled(-1));
        return true;
    case OpMultiply:
        c = a.Product(b);
        return true;
    case OpInverse:
        c = a.Inverse();
        return true;
    case OpPower:
        c = a.Power(m_power);
        return true;
    case OpDeterminant: {
        if (a.ColCount() != a.RowCount())
            throw EMatrixException("This operation can be applied only to square matrix");
        TWorkMatrix work = ToWorkMatrix(a);
        c.SetSize(1, 1);
        c.SetItem(0, 0, Determinant(work, 0, a.RowCount() - 1));
        return true;
    }
    case OpScalar:
        c = a.Scaled(m_scalar);
        return true;
    default:
        return false;
    }
}

void TfmMatrix::ApplyFunction() {
    SetGridSize(sgC, sgA->rowCount(), sgA->columnCount());
    for (int col = 0; col < sgA->columnCount(); ++col) {
        for (int row = 0; row < sgA->rowCount(); ++row) {
            QString expression = m_function;
            expression.replace(QStringLiteral("(A)"), "(" + CellText(sgA, row, col) + ")");
            Extended value = 0;
            QString error;
            int code = 0;
            const bool ok = EvaluateTyped(m_ctx, expression, value, error, code);
            SetCellText(sgC, row, col,
                        ok ? DisplayText(m_ctx, m_ctx.DisplayWidth, value) : QStringLiteral("Error"));
        }
    }
}

void TfmMatrix::ShowResult(const TRealMatrix& c) {
    SetGridSize(sgC, c.RowCount(), c.ColCount());
    for (int row = 0; row < c.RowCount(); ++row)
        for (int col = 0; col < c.ColCount(); ++col)
            SetCellText(sgC, row, col, GeneralText(c.GetItem(row, col)));
}

void TfmMatrix::StoreInRepository() {
    QList<const QTableWidget*> stored = {sgA};
    if (UsesB())
        stored << sgB;
    stored << sgC;
    for (const QTableWidget* grid : stored) {
        const TPanel& panel = PanelOf(grid);
        const QString caption =
            panel.Name->text() + panel.Rows->text() + panel.Cols->text() + OperationWord(m_operation);
        m_repository.append({caption, GridTexts(grid)});
        lbR->addItem(caption);
    }
}

void TfmMatrix::CopyToClipboard(const QTableWidget* grid) {
    QApplication::clipboard()->setText(MatrixClipboardText(GridTexts(grid)));
}

void TfmMatrix::PasteFromClipboard(QTableWidget* grid) {
    const QString text = QApplication::clipboard()->text().left(ClipboardLimit);
    const int startRow = std::max(grid->currentRow(), 0);
    const int startCol = std::max(grid->currentColumn(), 0);
    for (const TPastedField& field : ParseMatrixClipboard(text)) {
        const int row = startRow + field.Row;
        const int col = startCol + field.Col;
        // Fields beyond the grid have no cell to go to.
        if (row < grid->rowCount() && col < grid->columnCount())
            SetCellText(grid, row, col, field.Text);
    }
}

bool TfmMatrix::SaveToFile(const QString& path) {
    QStringList lines = {edOperation->text()};
    QList<const QTableWidget*> saved = {sgA};
    if (UsesB())
        saved << sgB;
    saved << sgC;
    for (const QTableWidget* grid : saved) {
        lines << QStringLiteral("Matrix ") + Name(grid);
        lines << ColumnLines(GridTexts(grid));
    }
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) >= 0 &&
                         file.commit();
    if (!written)
        ShowErrorMessage(this, QStringLiteral("Can not create file ") + path);
    return written;
}

void TfmMatrix::SaveClick() {
    const QString path = AskSaveFileName(this, {QStringLiteral("Save to Text File"), QStringLiteral("TXT"),
                                                QStringLiteral("Text files (*.TXT)")});
    if (!path.isEmpty())
        SaveToFile(path);
}

void TfmMatrix::PrintClick() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TIniFile ini;
    std::string message;
    const TPrintMargins margins = m_settingsFile.empty() || !ini.Load(m_settingsFile, message)
                                      ? TPrintMargins{}
                                      : ReadPrintMargins(ini);
    // The margins count from the paper's edge, as on the printed plots.
    printer.setFullPage(true);
    const int dpi = printer.resolution();
    const QSize paper = printer.pageLayout().fullRectPixels(dpi).size();
    const TPixelRect page = LayOutPage(paper.width(), paper.height(), dpi, margins, {}).Page;
    QPainter painter(&printer);
    painter.translate(page.Left, page.Top);
    painter.setClipRect(QRect(0, 0, page.Width(), page.Height()));
    PaintTables(painter, page.Width());
}

int TfmMatrix::PaintTables(QPainter& painter, int pageWidth) {
    QFont font = painter.font();
    font.setPointSize(PrintPointSize);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const int lineHeight = metrics.height() * 3 / 2;
    const int padding = metrics.averageCharWidth();
    int top = 0;
    // With the repository list focused, its selected matrix is printed instead of the grids.
    const int stored = lbR->hasFocus() ? lbR->currentRow() : -1;
    QList<std::pair<QString, TMatrixTexts>> printed;
    if (stored >= 0 && stored < m_repository.size()) {
        printed.append({m_repository[stored].Caption, m_repository[stored].Texts});
    } else {
        painter.drawText(0, top + metrics.ascent(), edOperation->text());
        top += 2 * lineHeight;
        for (const QTableWidget* grid : {sgA, sgB, sgC}) {
            if (grid != sgB || UsesB())
                printed.append({QStringLiteral("Matrix ") + Name(grid), GridTexts(grid)});
        }
    }
    for (const auto& [caption, texts] : printed) {
        int cellWidth = metrics.horizontalAdvance(QStringLiteral("-0.0000000E-0000"));
        for (const QString& cell : texts.Cells)
            cellWidth = std::max(cellWidth, metrics.horizontalAdvance(cell) + 2 * padding);
        cellWidth = std::min(cellWidth, std::max(pageWidth / std::max(texts.Cols, 1), 1));
        painter.drawText(0, top + metrics.ascent(), caption);
        top += lineHeight;
        for (int row = 0; row < texts.Rows; ++row) {
            for (int col = 0; col < texts.Cols; ++col) {
                const QRect box(col * cellWidth, top, cellWidth, lineHeight);
                painter.drawRect(box);
                painter.drawText(box.adjusted(padding, 0, -padding, 0), Qt::AlignRight | Qt::AlignVCenter,
                                 texts.Cell(row, col));
            }
            top += lineHeight;
        }
        top += lineHeight;
    }
    return top;
}

bool TfmMatrix::eventFilter(QObject* watched, QEvent* event) {
    auto* grid = qobject_cast<QTableWidget*>(watched);
    if (grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleGridKey(grid, key->key(), key->modifiers()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TfmMatrix::HandleGridKey(QTableWidget* grid, int key, Qt::KeyboardModifiers modifiers) {
    const bool editable = grid != sgC;
    const bool control = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    const int row = std::max(grid->currentRow(), 0);
    const int col = std::max(grid->currentColumn(), 0);
    if (control && key == Qt::Key_C) {
        CopyToClipboard(grid);
        return true;
    }
    if (!editable)
        return false;
    if (control && key == Qt::Key_V) {
        PasteFromClipboard(grid);
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !control) {
        grid->setCurrentCell(std::min(row + 1, grid->rowCount() - 1), col);
        return true;
    }
    if (key == Qt::Key_Delete && !control) {
        for (QTableWidgetItem* item : grid->selectedItems())
            item->setText(QString());
        return true;
    }
    if (!control || (key != Qt::Key_Insert && key != Qt::Key_Delete))
        return false;
    const bool insert = key == Qt::Key_Insert;
    if (shift && insert && grid->columnCount() < MaximumSize)
        grid->insertColumn(col);
    else if (shift && !insert && grid->columnCount() > MinimumSize)
        grid->removeColumn(col);
    else if (!shift && insert && grid->rowCount() < MaximumSize)
        grid->insertRow(row);
    else if (!shift && !insert && grid->rowCount() > MinimumSize)
        grid->removeRow(row);
    SetGridSize(grid, grid->rowCount(), grid->columnCount());
    ApplyShapes(grid, !shift);
    return true;
}

} // namespace mirla
