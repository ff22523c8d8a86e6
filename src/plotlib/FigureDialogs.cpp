#include "plotlib/FigureDialogs.h"

#include "plotlib/Annotate.h"
#include "plotlib/PropertiesControls.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace mirla {

namespace {

constexpr int MaxThickness = 50;
constexpr int MaxSymbolSize = 100;

QSpinBox* MakeSpin(const char* name, int value, int maximum, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setRange(1, maximum);
    spin->setValue(value);
    return spin;
}

/// The "&OK" and "&Cancel" buttons of a dialog, wired to accept (after `apply`) and reject.
QDialogButtonBox* AddButtons(QDialog& dialog, QVBoxLayout& layout, const std::function<void()>& apply) {
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setObjectName("btOK");
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)->setObjectName("btCancel");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&dialog, apply] {
        apply();
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return buttons;
}

} // namespace

// ---- TfmFigsProperties

TfmFigsProperties::TfmFigsProperties(TFig& figure, bool isNew, QWidget* parent)
    : QDialog(parent), m_figure(figure) {
    setObjectName(QStringLiteral("fmFigsProperties"));
    setWindowTitle(QStringLiteral("Properties"));
    auto* layout = new QVBoxLayout(this);
    m_form = new QFormLayout;
    layout->addLayout(m_form);
    if (auto* note = dynamic_cast<TNoteText*>(&figure)) {
        AddTextControls(*note);
    } else if (auto* line = dynamic_cast<TMonoLine*>(&figure)) {
        AddLineControls(*line);
        if (auto* box = dynamic_cast<TRectangle*>(&figure))
            AddFillControls(*box);
    }
    QDialogButtonBox* buttons = AddButtons(*this, *layout, [this] { Apply(); });
    if (!isNew) {
        QPushButton* apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::ApplyRole);
        apply->setObjectName(QStringLiteral("btApply"));
        connect(apply, &QPushButton::clicked, this, [this] {
            Apply();
            if (Applied)
                Applied();
        });
    }
}

void TfmFigsProperties::AddLineControls(const TMonoLine& line) {
    m_lineStyle = MakeChoiceList({"Solid", "Dash", "Dot", "DashDot", "DashDotDot"}, line.Style, this);
    m_lineStyle->setObjectName(QStringLiteral("cbLineStyle"));
    m_form->addRow(QStringLiteral("Line Style"), m_lineStyle);
    m_thickness = MakeSpin("udThickness", line.Width, MaxThickness, this);
    m_form->addRow(QStringLiteral("Thickness"), m_thickness);
    m_color = new TColorButton(QStringLiteral("Color"), line.Color, this);
    m_color->setObjectName(QStringLiteral("btColor"));
    m_form->addRow(m_color);
}

void TfmFigsProperties::AddFillControls(const TRectangle& box) {
    m_appearance = MakeChoiceList({"Clear", "SemiTransparent", "Solid"}, box.FillMode, this);
    m_appearance->setObjectName(QStringLiteral("cbAppearance"));
    m_form->addRow(QStringLiteral("Appearance"), m_appearance);
    m_backColor = new TColorButton(QStringLiteral("Back Color..."), box.BackColor, this);
    m_backColor->setObjectName(QStringLiteral("btBackColor"));
    m_form->addRow(m_backColor);
}

void TfmFigsProperties::AddTextControls(const TNoteText& note) {
    m_textStyle = MakeChoiceList({"Fixed", "Scaled"}, note.Scaled ? 1 : 0, this);
    m_textStyle->setObjectName(QStringLiteral("cbTextStyle"));
    m_form->addRow(QStringLiteral("Text Style"), m_textStyle);
    m_font = new TFontButton(QStringLiteral("Font..."), note.Font, this);
    m_font->setObjectName(QStringLiteral("btFont"));
    m_form->addRow(m_font);
    m_text = new QLineEdit(QString::fromStdString(note.Text), this);
    m_text->setObjectName(QStringLiteral("edText"));
    m_form->addRow(QStringLiteral("Text"), m_text);
}

void TfmFigsProperties::Apply() {
    if (auto* note = dynamic_cast<TNoteText*>(&m_figure)) {
        note->Scaled = m_textStyle->currentIndex() == 1;
        note->Font = m_font->Font();
        note->Text = m_text->text().toStdString();
        return;
    }
    auto& line = dynamic_cast<TMonoLine&>(m_figure);
    line.Style = static_cast<TPenStyle>(m_lineStyle->currentIndex());
    line.Width = m_thickness->value();
    line.Color = m_color->Color();
    if (auto* box = dynamic_cast<TRectangle*>(&m_figure)) {
        box->FillMode = static_cast<TFillMode>(m_appearance->currentIndex());
        box->BackColor = m_backColor->Color();
    }
}

// ---- TSymbolStyleDialog

TSymbolStyleDialog::TSymbolStyleDialog(TShape& shape, QWidget* parent) : QDialog(parent), m_shape(shape) {
    setObjectName(QStringLiteral("fmSymbolStyle"));
    setWindowTitle(QStringLiteral("Symbol Style"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    m_style = MakeMarkerList(this);
    m_style->setCurrentIndex(shape.Marker.Style);
    form->addRow(QStringLiteral("Style"), m_style);
    m_size = MakeSpin("udSize", shape.Marker.Size, MaxSymbolSize, this);
    form->addRow(QStringLiteral("Size"), m_size);
    m_color = new TColorButton(QStringLiteral("Color"), shape.Marker.Color, this);
    m_color->setObjectName(QStringLiteral("btColor"));
    form->addRow(m_color);
    m_fillColor = new TColorButton(QStringLiteral("Fill Color"), shape.Marker.FillColor, this);
    m_fillColor->setObjectName(QStringLiteral("btFillColor"));
    form->addRow(m_fillColor);
    AddButtons(*this, *layout, [this] { Apply(); });
}

void TSymbolStyleDialog::Apply() {
    m_shape.Marker.Style = static_cast<TMarkerStyle>(m_style->currentIndex());
    m_shape.Marker.Size = m_size->value();
    m_shape.Marker.Color = m_color->Color();
    m_shape.Marker.FillColor = m_fillColor->Color();
}

bool EditFigureDialog(TFig& figure, bool isNew, QWidget* parent, const std::function<void()>& applied) {
    if (auto* shape = dynamic_cast<TShape*>(&figure))
        return TSymbolStyleDialog(*shape, parent).exec() == QDialog::Accepted;
    TfmFigsProperties dialog(figure, isNew, parent);
    dialog.Applied = applied;
    return dialog.exec() == QDialog::Accepted;
}

} // namespace mirla
