#include "plotlib/PropertiesControls.h"

#include "plotlib/Layer.h"
#include "plotlib/MarkerShapes.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>
#include <utility>

namespace mirla {

namespace {

QIcon MarkerIcon(TMarkerStyle style) {

    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawMarkerShape(painter, style, QPointF(8, 8), 5, Qt::black, Qt::gray);
    return QIcon(pixmap);
}

QIcon Swatch(TColor color) {
    QPixmap pixmap(16, 16);
    pixmap.fill(ToQColor(color));
    return QIcon(pixmap);
}

} // namespace

QComboBox* MakeMarkerList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (int style = 0; style < MarkerStyleCount; ++style) {
        const auto shape = static_cast<TMarkerStyle>(style);
        list->addItem(MarkerIcon(shape), MarkerStyleName(shape));
    }
    list->setObjectName("cbMarkerStyle");
    return list;
}

TColorButton::TColorButton(const QString& caption, TColor color, QWidget* parent)
    : QPushButton(caption, parent), m_color(color) {
    setIcon(Swatch(color));
    connect(this, &QPushButton::clicked, this, [this] { ChooseColor(); });
}

void TColorButton::SetColor(TColor color) {
    m_color = color;
    setIcon(Swatch(color));
}

void TColorButton::ChooseColor() {
    const QColor chosen = QColorDialog::getColor(ToQColor(m_color), this, text().remove('&'));
    if (chosen.isValid())
        SetColor(FromQColor(chosen));
}

TFontButton::TFontButton(const QString& caption, const TFontSpec& font, QWidget* parent)
    : QPushButton(caption, parent), m_font(font) {
    connect(this, &QPushButton::clicked, this, [this] { ChooseFont(); });
}

void TFontButton::SetFont(const TFontSpec& font) {
    m_font = font;
}

void TFontButton::ChooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, ToQFont(m_font), this, text().remove('&'));
    if (ok)
        m_font = FromQFont(chosen, m_font);
}

TFontSpec FromQFont(const QFont& font, const TFontSpec& base) {
    TFontSpec result = base;
    result.Name = font.family().toStdString();
    if (font.pointSize() > 0)
        result.Size = font.pointSize();
    result.Style = 0;
    const std::pair<bool, TFontStyleFlag> flags[] = {{font.bold(), fsBold},
                                                     {font.italic(), fsItalic},
                                                     {font.underline(), fsUnderline},
                                                     {font.strikeOut(), fsStrikeOut}};
    for (const auto& [on, flag] : flags)
        if (on)
            result.Style |= flag;
    return result;
}

QComboBox* MakeChoiceList(const QStringList& captions, int current, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->addItems(captions);
    list->setCurrentIndex(current);
    return list;
}

QString NumberText(double value) {
    return QString::number(value, 'g', 12);
}

std::optional<double> ParseNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

TFieldProblem FieldProblem(QLineEdit* field, const QString& message, std::function<void()> before) {
    return {message, [field, before] {
                if (before)
                    before();
                field->setFocus();
                field->selectAll();
            }};
}

std::optional<TFieldProblem> ReadNumber(const QString& text, const QString& fieldName, QLineEdit* field,
                                        double& value, std::function<void()> before) {
    const std::optional<double> number = ParseNumber(text);
    if (!number)
        return FieldProblem(field,
                            QStringLiteral("\"%1\" is not a valid number for %2.").arg(text, fieldName),
                            std::move(before));
    value = *number;
    return std::nullopt;
}

} // namespace mirla
