#pragma once

#include "engine/EvalContext.h"
#include "units/Units.h"

#include <QDialog>

#include <array>

class QAction;
class QGridLayout;
class QLabel;
class QMenuBar;
class QLineEdit;

namespace mirla {

/// The units converter "Units Convertor": a modal window with one labelled number field per unit
/// of the category chosen in its "&Units" menu. Typing a number into a field converts it at once
/// into every other unit, formatted in the main window's notation and base at width W.
class TfmConv : public QDialog {
    Q_OBJECT
public:
    /// A converter on the Length category that formats its results through ctx at width W.
    TfmConv(QWidget* parent, EvalContext& ctx, int width);

    /// The category shown (1..9).
    int CurrentCategory() const { return m_category; }
    /// Shows category c (1..9): ticks its menu item, names the rows and empties the fields.
    void ChooseCategory(int category);
    /// Field t (1..20), `edS`t.
    QLineEdit* Field(int t) const { return m_fields[static_cast<std::size_t>(t - 1)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* BuildMenu();
    QGridLayout* BuildRows();
    void UnitsClick(QAction* item);
    void edSChange(int unit);
    void edSEnter(int unit);
    void RefreshTarget();
    QString FormatValue(Extended value);

    EvalContext& m_ctx;
    int m_width;
    int m_category = CategoryLength;
    bool m_updating = false;
    std::array<QAction*, UnitCategoryCount> m_items{}; ///< menu items by category tag - 1
    std::array<QLabel*, MaxUnitsPerCategory> m_labels{};
    std::array<QLineEdit*, MaxUnitsPerCategory> m_fields{};
    QLabel* m_lbUnit = nullptr;
    QLabel* m_lbTo = nullptr;
};

} // namespace mirla
