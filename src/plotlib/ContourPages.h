#pragma once

#include "plotlib/PropertiesControls.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace mirla {

class TContour;
class TGraph;

/// The first contour map among the layers of `graph`, or null.
TContour* FirstContour(const TGraph& graph);

/// The levels and labels of a contour map: automatic levels with their count and user step, user
/// levels, fixed limits, labels and their digits and font. Apply traces the map again.
class TContourPage : public TPropertiesPage {
public:
    explicit TContourPage(TContour& map, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override;
    void Apply() override;

private:
    TContour& m_map;
    double m_minimum = 0;
    double m_maximum = 0;
    QCheckBox* m_automatic;
    QSpinBox* m_count;
    QLineEdit* m_step;
    QCheckBox* m_userLevelsOn;
    QPlainTextEdit* m_userLevels;
    QCheckBox* m_fixedMin;
    QLineEdit* m_minimumField;
    QCheckBox* m_fixedMax;
    QLineEdit* m_maximumField;
    QCheckBox* m_labels;
    QSpinBox* m_digits;
    TFontButton* m_font;
};

/// The colours of a contour map: shading or lines, coloured or mono lines, the palette and the
/// shading quality. Apply traces the map again.
class TColorMapPage : public TPropertiesPage {
public:
    explicit TColorMapPage(TContour& map, QWidget* parent = nullptr);
    std::optional<TFieldProblem> Check() override { return std::nullopt; }
    void Apply() override;

private:
    TContour& m_map;
    QCheckBox* m_shading;
    QCheckBox* m_colorLines;
    TColorButton* m_monoColor;
    QComboBox* m_palette;
    QComboBox* m_quality;
};

} // namespace mirla
