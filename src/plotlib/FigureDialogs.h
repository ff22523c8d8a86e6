#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;

namespace mirla {

class TColorButton;
class TFig;
class TFontButton;
class TMonoLine;
class TNoteText;
class TRectangle;
class TShape;

/// The "Properties" dialog of a line, arrow, pencil stroke, box, ellipse or text note; OK and
/// "Apply" copy the controls into the figure.
class TfmFigsProperties : public QDialog {
public:
    /// A dialog for `figure`; `isNew` hides "Apply" (a figure not yet placed has nothing to show).
    TfmFigsProperties(TFig& figure, bool isNew, QWidget* parent = nullptr);
    /// Called after "Apply" changed the figure, so that the plot shows it.
    std::function<void()> Applied;

private:
    void AddLineControls(const TMonoLine& line);
    void AddFillControls(const TRectangle& box);
    void AddTextControls(const TNoteText& note);
    void Apply();

    TFig& m_figure;
    QFormLayout* m_form = nullptr;
    QComboBox* m_lineStyle = nullptr;
    QSpinBox* m_thickness = nullptr;
    TColorButton* m_color = nullptr;
    QComboBox* m_appearance = nullptr;
    TColorButton* m_backColor = nullptr;
    QComboBox* m_textStyle = nullptr;
    TFontButton* m_font = nullptr;
    QLineEdit* m_text = nullptr;
};

/// The "Symbol Style" dialog of a marker symbol: shape, size and colours.
class TSymbolStyleDialog : public QDialog {
public:
    explicit TSymbolStyleDialog(TShape& shape, QWidget* parent = nullptr);

private:
    void Apply();

    TShape& m_shape;
    QComboBox* m_style = nullptr;
    QSpinBox* m_size = nullptr;
    TColorButton* m_color = nullptr;
    TColorButton* m_fillColor = nullptr;
};

/// Opens the dialog that suits `figure` (the symbol style of a symbol, the properties of others);
/// `applied` is called after "Apply". Returns whether the user pressed OK.
bool EditFigureDialog(TFig& figure, bool isNew, QWidget* parent, const std::function<void()>& applied);

} // namespace mirla
