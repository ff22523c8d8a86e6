#include "app/CalcWindow.h"
#include "app/core/CalcFiles.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirla"));
    // The desktop pairs the windows with the installed entry and shows its icon for them.
    QApplication::setDesktopFileName(QStringLiteral("org.mirla.Mirla"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.mirla.Mirla")));
    const mirla::TCalcFiles files =
        mirla::TCalcFiles::Locate(mirla::TCalcFiles::ProgramFolder(), mirla::TCalcFiles::DefaultUserFolder());
    mirla::TfmCalc window(files);
    window.show();
    return QApplication::exec();
}
