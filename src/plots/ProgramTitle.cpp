#include "plots/ProgramTitle.h"

#include <QCoreApplication>

namespace mirla {

TPrintTexts ProgramPrintTexts() {
    TPrintTexts texts;
    texts.SystemLines = {"Mirla " MIRLA_VERSION, "Scientific calculator with plots"};
    texts.SystemImageFile =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/Mirla.png")).toStdString();
    return texts;
}

} // namespace mirla
