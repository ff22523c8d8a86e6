#include "app/ComplexNotice.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mirla {

TfmCompMess::TfmCompMess(QWidget* parent) : QDialog(parent) {
    setObjectName("fmCompMess");
    setWindowTitle("Complex Numbers");
    setModal(true);
    auto* text = new QLabel(NoticeLines().join('\n'), this);
    // The examples line up with blanks, so the text needs a fixed-pitch font.
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_showAgain = new QCheckBox("Display this message every time you start Mirla", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_showAgain);
    layout->addWidget(buttons);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
}

QStringList TfmCompMess::NoticeLines() {
    return {"Complex number:",
            "     comp(Real, Image) -wher Real and Image is  any real ",
            "expresion.",
            "",
            "Examples:",
            "     comp(integral(1,pi/2,sin(X)),sin(Y)+ln(pi)/2)",
            "     sin(comp(1+2/3,pi/4+ln(2)))",
            "     comp(sin(pi/2),1+exp(X))/comp(2,0)",
            "etc.",
            "",
            "Complex radio group",
            "  o Polar  -  Z  =  p * exp(theta*i)   - where theta = -pi..pi in ",
            "canonical form ",
            "  o Rect   -  Z  =  X +  Yi "};
}

bool TfmCompMess::ShowAgain() const {
    return m_showAgain->isChecked();
}

void TfmCompMess::SetShowAgain(bool on) {
    m_showAgain->setChecked(on);
}

} // namespace mirla
