#pragma once

#include "plotlib/PrintSettings.h"

namespace mirla {

/// The texts the plot windows give their printed title blocks: the "Program Title" block names
/// Mirla and its version, with the logo file "Mirla.png" of the program's folder when there is one.
TPrintTexts ProgramPrintTexts();

} // namespace mirla
