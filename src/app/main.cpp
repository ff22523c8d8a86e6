#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirla"));
    const mirla::TCalcFiles files =
        mirla::TCalcFiles::Locate(mirla::TCalcFiles::ProgramFolder(), mirla::TCalcFiles::DefaultUserFolder());
    mirla::TfmCalc window(files);
    window.show();
    return QApplication::exec();
}
