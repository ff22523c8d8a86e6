#pragma once

#include "app/PageBase.h"

namespace mirla {

/// The "About" page: the program's name, version, what it does and a few keyboard tips.
class TAboutPage : public TCalcPage {
    Q_OBJECT
public:
    explicit TAboutPage(QWidget* parent);
};

} // namespace mirla
