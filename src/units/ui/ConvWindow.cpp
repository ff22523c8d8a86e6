#include "units/ui/ConvWindow.h"

#include "numbers/RealFormat.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <string>

namespace mirla {

namespace {

constexpr int RowsPerColumn = 10;

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A menu caption without its accelerator mark, as shown in the category label.
QString PlainCaption(int category) {
    return FromUtf8(CategoryCaption(category)).remove(QLatin1Char('&'));
}

} // namespace

TfmConv::TfmConv(QWidget* parent, EvalContext& ctx, int width) : QDialog(parent), m_ctx(ctx), m_width(width) {
    setObjectName("fmConv");
    setWindowTitle("Units Convertor");
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(BuildMenu());
    m_lbUnit = new QLabel(this);
    m_lbUnit->setObjectName("lbUnit");
    layout->addWidget(m_lbUnit);
    layout->addLayout(BuildRows());
    m_lbTo = new QLabel(this);
    m_lbTo->setObjectName("lbTo");
    layout->addWidget(m_lbTo);
    ChooseCategory(CategoryLength);
}

QMenuBar* TfmConv::BuildMenu() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu("&File");
    QAction* exit = file->addAction("E&xit");
    exit->setObjectName("miExit");
    connect(exit, &QAction::triggered, this, &QDialog::reject);
    QMenu* units = bar->addMenu("&Units");
    units->setObjectName("miUnits");
    auto* group = new QActionGroup(this);
    for (int category : CategoryMenuOrder) {
        QAction* item = units->addAction(FromUtf8(CategoryCaption(category)));
        item->setObjectName("mi" + PlainCaption(category));
        item->setData(category);
        item->setCheckable(true);
        group->addAction(item);
        m_items[static_cast<std::size_t>(category - 1)] = item;
    }
    connect(group, &QActionGroup::triggered, this, &TfmConv::UnitsClick);
    return bar;
}

QGridLayout* TfmConv::BuildRows() {
    auto* grid = new QGridLayout;
    for (int t = 1; t <= MaxUnitsPerCategory; ++t) {
        const int row = (t - 1) % RowsPerColumn;
        const int column = 2 * ((t - 1) / RowsPerColumn);
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lbS%1").arg(t));
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("edS%1").arg(t));
        field->installEventFilter(this);
        label->setBuddy(field);
        connect(field, &QLineEdit::textChanged, this, [this, t] { edSChange(t); });
        grid->addWidget(label, row, column);
        grid->addWidget(field, row, column + 1);
        m_labels[static_cast<std::size_t>(t - 1)] = label;
        m_fields[static_cast<std::size_t>(t - 1)] = field;
    }
    return grid;
}

void TfmConv::ChooseCategory(int category) {
    QScopedValueRollback<bool> updating(m_updating, true);
    m_items[static_cast<std::size_t>(category - 1)]->setChecked(true);
    m_lbUnit->setText(PlainCaption(category) + ": ");
    m_category = category;
    const int count = UnitCount(category);
    for (int t = 1; t <= MaxUnitsPerCategory; ++t) {
        const bool shown = t <= count;
        QLabel* label = m_labels[static_cast<std::size_t>(t - 1)];
        label->setText(shown ? FromUtf8(UnitName(category, t)) : QString());
        label->setVisible(shown);
        Field(t)->clear();
        Field(t)->setVisible(shown);
    }
    RefreshTarget();
}

void TfmConv::UnitsClick(QAction* item) {
    const int category = item->data().toInt();
    if (category > 0)
        ChooseCategory(category);
}

void TfmConv::edSChange(int unit) {
    if (m_updating)
        return;
    const auto value = ReadUnitNumber(Field(unit)->text().toStdString());
    if (!value)
        return;
    const auto values = Convert(m_category, unit, *value);
    if (!values)
        return;
    QScopedValueRollback<bool> updating(m_updating, true);
    for (int i = 1; i <= UnitCount(m_category); ++i)
        if (i != unit)
            Field(i)->setText(FormatValue((*values)[static_cast<std::size_t>(i - 1)]));
}

void TfmConv::edSEnter(int unit) {
    m_lbTo->setText(FromUtf8(UnitName(m_category, unit)) + " to ...");
}

void TfmConv::RefreshTarget() {
    QWidget* focused = focusWidget();
    for (int t = 1; t <= UnitCount(m_category); ++t)
        if (focused == Field(t)) {
            edSEnter(t);
            return;
        }
    m_lbTo->clear();
}

QString TfmConv::FormatValue(Extended value) {
    // The converter only borrows the engine's formatter: an overflow text in base 16 or 2, or
    // in "Sxg", must not leave an error or a reset previous value behind in the main window.
    const bool errorFlag = m_ctx.ErrorFlag;
    const int errorCode = m_ctx.ErrorCode;
    const int errorPos = m_ctx.ErrorPos;
    const int errorLength = m_ctx.ErrorLength;
    const Extended previous = m_ctx.PrevValue;
    m_ctx.ErrorFlag = false;
    const std::string text = RealToText(m_ctx, m_width, value);
    m_ctx.ErrorFlag = errorFlag;
    m_ctx.ErrorCode = errorCode;
    m_ctx.ErrorPos = errorPos;
    m_ctx.ErrorLength = errorLength;
    m_ctx.PrevValue = previous;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool TfmConv::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        for (int t = 1; t <= UnitCount(m_category); ++t)
            if (watched == Field(t))
                edSEnter(t);
    return QDialog::eventFilter(watched, event);
}

} // namespace mirla
