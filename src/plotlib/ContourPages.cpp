#include "plotlib/ContourPages.h"

#include "plotlib/Contour.h"
#include "plotlib/Graph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>

#include <algorithm>
#include <iterator>

namespace mirla {

namespace {

const QStringList PaletteCaptions{"Rainbow", "Black", "Red", "Blue", "Yellow", "Green", "Aqua", "Fuchsia"};
const QStringList QualityCaptions{"High", "Good", "Middle", "Poor", "Low"};
constexpr int MaxLevelCount = 1000;
constexpr int MaxLabelDigits = 12;

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* CheckBox(const char* caption, const char* name, bool on, QWidget* parent) {
    auto* box = Named(new QCheckBox(QString::fromLatin1(caption), parent), name);
    box->setChecked(on);
    return box;
}

QSpinBox* Spin(int maximum, int value, const char* name, QWidget* parent) {
    auto* spin = Named(new QSpinBox(parent), name);
    spin->setRange(0, maximum);
    spin->setValue(value);
    return spin;
}

QLineEdit* Field(const QString& text, const char* name, QWidget* parent) {
    auto* field = Named(new QLineEdit(text, parent), name);
    return field;
}

/// The quality choice whose square size is nearest `size` from above.
int QualityOf(int size) {
    const auto* found = std::lower_bound(std::begin(ShadingSquareSizes), std::end(ShadingSquareSizes), size);
    return static_cast<int>(
        std::min(found - std::begin(ShadingSquareSizes), std::ssize(ShadingSquareSizes) - 1));
}

} // namespace

TContour* FirstContour(const TGraph& graph) {
    for (int i = 0; i < graph.LayerCount(); ++i)
        if (auto* map = dynamic_cast<TContour*>(graph.Layer(i)))
            return map;
    return nullptr;
}

TContourPage::TContourPage(TContour& map, QWidget* parent) : TPropertiesPage(parent), m_map(map) {
    const TLevelOptions& levels = map.Levels;
    m_automatic = CheckBox("&Automatic levels", "cbAutoLevels", levels.Automatic, this);
    m_count = Spin(MaxLevelCount, levels.Count, "seLevels", this);
    m_count->setMinimum(1);
    m_step = Field(QString::fromStdString(levels.UserStep), "edUserStep", this);
    m_userLevelsOn = CheckBox("&User levels", "cbUserLevels", levels.UserLevelsOn, this);
    m_userLevels = Named(new QPlainTextEdit(this), "meUserLevels");
    QStringList texts;
    for (const std::string& text : levels.UserLevels)
        texts << QString::fromStdString(text);
    m_userLevels->setPlainText(texts.join('\n'));
    m_fixedMin = CheckBox("Fixed mi&nimum", "cbFixedMin", levels.FixedMin, this);
    m_minimumField = Field(NumberText(levels.MinLimit), "edLevelMin", this);
    m_fixedMax = CheckBox("Fixed ma&ximum", "cbFixedMax", levels.FixedMax, this);
    m_maximumField = Field(NumberText(levels.MaxLimit), "edLevelMax", this);
    m_labels = CheckBox("&Labels", "cbLabels", map.LabelsOn, this);
    m_digits = Spin(MaxLabelDigits, map.LabelDigits, "seLabelDigits", this);
    m_font = new TFontButton("Label &font", map.LabelFont, this);

    auto* form = new QFormLayout(this);
    form->addRow(m_automatic);
    form->addRow("Number of &levels", m_count);
    form->addRow("User &step", m_step);
    form->addRow(m_userLevelsOn);
    form->addRow("Le&vels, one a line", m_userLevels);
    form->addRow(m_fixedMin, m_minimumField);
    form->addRow(m_fixedMax, m_maximumField);
    form->addRow(m_labels);
    form->addRow("Label &digits", m_digits);
    form->addRow(m_font);
}

std::optional<TFieldProblem> TContourPage::Check() {
    if (!m_step->text().trimmed().isEmpty() && !ParseNumber(m_step->text()))
        return FieldProblem(m_step, "User step must be a number");
    if (auto problem = ReadNumber(m_minimumField->text(), "Minimum", m_minimumField, m_minimum))
        return problem;
    return ReadNumber(m_maximumField->text(), "Maximum", m_maximumField, m_maximum);
}

void TContourPage::Apply() {
    TLevelOptions& levels = m_map.Levels;
    levels.Automatic = m_automatic->isChecked();
    levels.Count = m_count->value();
    levels.UserStep = m_step->text().trimmed().toStdString();
    levels.UserLevelsOn = m_userLevelsOn->isChecked();
    levels.UserLevels.clear();
    for (const QString& text : m_userLevels->toPlainText().split('\n', Qt::SkipEmptyParts))
        levels.UserLevels.push_back(text.trimmed().toStdString());
    levels.FixedMin = m_fixedMin->isChecked();
    levels.MinLimit = m_minimum;
    levels.FixedMax = m_fixedMax->isChecked();
    levels.MaxLimit = m_maximum;
    m_map.LabelsOn = m_labels->isChecked();
    m_map.LabelDigits = m_digits->value();
    m_map.LabelFont = m_font->Font();
    m_map.Recompute();
}

TColorMapPage::TColorMapPage(TContour& map, QWidget* parent) : TPropertiesPage(parent), m_map(map) {
    m_shading = CheckBox("Color &shading", "cbShading", map.Shading, this);
    m_colorLines = CheckBox("&Colored lines", "cbColorLines", map.ColorLines, this);
    m_monoColor = Named(new TColorButton("&Mono colour", map.MonoColor, this), "btMonoColor");
    m_palette = Named(MakeChoiceList(PaletteCaptions, map.Palette, this), "cbPalette");
    m_quality = Named(MakeChoiceList(QualityCaptions, QualityOf(map.SquareSize), this), "cbQuality");
    auto* form = new QFormLayout(this);
    form->addRow(m_shading);
    form->addRow(m_colorLines);
    form->addRow(m_monoColor);
    form->addRow("&Palette", m_palette);
    form->addRow("&Quality", m_quality);
}

void TColorMapPage::Apply() {
    m_map.Shading = m_shading->isChecked();
    m_map.ColorLines = m_colorLines->isChecked();
    m_map.MonoColor = m_monoColor->Color();
    m_map.Palette = m_palette->currentIndex();
    m_map.SquareSize = ShadingSquareSizes[std::clamp(m_quality->currentIndex(), 0, 4)];
    m_map.Recompute();
}

} // namespace mirla
