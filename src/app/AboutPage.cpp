#include "app/AboutPage.h"

#include <QFont>
#include <QLabel>
#include <QVBoxLayout>

namespace mirla {

namespace {

const char* const Description =
    "A scientific calculator for real and complex numbers, with user variables and functions, "
    "a library of constants, plots of functions of one and two variables, a matrix calculator "
    "and a units converter. Every result is computed in 80-bit extended precision.";

const char* const KeyboardTips = "<b>Keyboard tips</b><ul>"
                                 "<li>Enter evaluates the input line; blanks in it are ignored.</li>"
                                 "<li>Escape in an empty input line recalls the last line you evaluated.</li>"
                                 "<li>? stands for the last result: ?*2 doubles it.</li>"
                                 "<li>Ctrl+S, Ctrl+C, Ctrl+T insert sin, cos and tan; Alt+X to Alt+N "
                                 "work like the variable buttons.</li>"
                                 "<li>Delete removes the selected entry of the history or results list.</li>"
                                 "<li>F1 opens the help.</li></ul>";

QLabel* AddLabel(QVBoxLayout* layout, QWidget* parent, const QString& text, const char* objectName) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignHCenter);
    layout->addWidget(label);
    return label;
}

} // namespace

TAboutPage::TAboutPage(QWidget* parent) : TCalcPage(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    QLabel* name = AddLabel(layout, this, "Mirla", "lbProgram");
    QFont font = name->font();
    font.setPointSizeF(font.pointSizeF() * 2.5);
    font.setBold(true);
    name->setFont(font);
    AddLabel(layout, this, "Version 0.1.0", "lbVersion");
    AddLabel(layout, this, Description, "lbDescription");
    QLabel* tips = AddLabel(layout, this, KeyboardTips, "lbTips");
    tips->setAlignment(Qt::AlignLeft);
    tips->setTextFormat(Qt::RichText);
    layout->addStretch();
}

} // namespace mirla
