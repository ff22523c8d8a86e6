// Feeds arbitrary bytes to the settings reader as a settings file. Any crash or sanitizer report
// is a failure, and so is a file that reads differently once written back: what the program
// writes must read again as it was.
#include "FuzzFile.h"

#include "app/core/CalcSettings.h"
#include "runtime/FileBytes.h"
#include "runtime/IniFile.h"

#include <cstdlib>

namespace {

std::string Saved(const mirla::TIniFile& ini, const std::string& path) {
    std::string message;
    std::string bytes;
    if (!ini.Save(path, message) || !mirla::ReadFileBytes(path, bytes))
        std::abort();
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("settings.ini");
    static mirla::fuzz::TInputFile output("settings-out.ini");
    mirla::TIniFile ini;
    std::string message;
    if (!ini.Load(input.Write(data, size), message))
        return 0;
    mirla::TCalcSettings settings;
    settings.Load(ini);
    mirla::TWindowPlacement::Read(ini, "fmPlot2D");
    settings.Save(ini);
    const std::string written = Saved(ini, output.Path());
    mirla::TIniFile again;
    if (!again.Load(output.Path(), message) || Saved(again, output.Path()) != written)
        std::abort();
    return 0;
}
