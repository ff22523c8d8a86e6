#pragma once

#include "plotlib/core/PlotTypes.h"

#include <QFont>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;

namespace mirla {

/// A button that shows a colour swatch and lets the user pick another colour.
class TColorButton : public QPushButton {
public:
    /// A button with `caption` (with its & accelerator) showing `color`.
    TColorButton(const QString& caption, TColor color, QWidget* parent = nullptr);
    /// The colour chosen.
    TColor Color() const { return m_color; }
    /// Shows `color` as the current choice.
    void SetColor(TColor color);

private:
    void ChooseColor();
    TColor m_color;
};

/// A button that keeps a plot font and lets the user change it with the font dialog; the colour of
/// the font is kept as it is.
class TFontButton : public QPushButton {
public:
    /// A button with `caption` (with its & accelerator) holding `font`.
    TFontButton(const QString& caption, const TFontSpec& font, QWidget* parent = nullptr);
    /// The font chosen.
    const TFontSpec& Font() const { return m_font; }
    /// Takes `font` as the current choice.
    void SetFont(const TFontSpec& font);

private:
    void ChooseFont();
    TFontSpec m_font;
};

/// A plot font with the family, size and styles of `font` and the colour and character set of
/// `base`.
TFontSpec FromQFont(const QFont& font, const TFontSpec& base);

/// A combo box with the given captions; item i stands for the value i.
QComboBox* MakeChoiceList(const QStringList& captions, int current, QWidget* parent = nullptr);

/// The marker style list "cbMarkerStyle": every shape with its picture; item i is style i.
QComboBox* MakeMarkerList(QWidget* parent = nullptr);

/// A number as the fields show it (up to 12 significant digits).
QString NumberText(double value);
/// The number typed in a field (surrounding blanks allowed); nothing when the text is not a finite
/// number.
std::optional<double> ParseNumber(const QString& text);

/// A field whose text the dialog cannot accept.
struct TFieldProblem {
    /// The message for the user; it names the field.
    QString Message;
    /// Brings the field into view and gives it the focus.
    std::function<void()> Reveal;
};

/// One page of the properties dialog: loads from the plot when built, checks its fields, and copies
/// them into the plot on request.
class TPropertiesPage : public QWidget {
public:
    using QWidget::QWidget;
    /// The first field the page cannot accept, or nothing when every field is valid.
    virtual std::optional<TFieldProblem> Check() = 0;
    /// Copies the controls into the plot; only called after `Check` found nothing.
    virtual void Apply() = 0;
};

/// A problem with `message` whose reveal runs `before` (when given), then focuses `field` and
/// selects its text.
TFieldProblem FieldProblem(QLineEdit* field, const QString& message, std::function<void()> before = {});
/// Reads `text`, the text of `field` (called `fieldName` in messages), into `value`; a problem
/// when it is not a number.
std::optional<TFieldProblem> ReadNumber(const QString& text, const QString& fieldName, QLineEdit* field,
                                        double& value, std::function<void()> before = {});

} // namespace mirla
