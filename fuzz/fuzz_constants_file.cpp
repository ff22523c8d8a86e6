// Feeds arbitrary bytes to the reader of engine text files, as the constants file (read only)
// and every file of lines is read. Any crash or sanitizer report is a failure, and so are lines
// that read back differently once written.
#include "FuzzFile.h"

#include "engine/EngineText.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("constants.CON");
    static mirla::fuzz::TInputFile output("constants-out.CON");
    std::vector<std::string> lines;
    // A file that is no text (it holds zero bytes) is refused whole.
    if (!mirla::ReadEngineTextLines(input.Write(data, size), lines))
        return 0;
    std::vector<std::string> again;
    if (!mirla::WriteEngineTextLines(output.Path(), lines) ||
        !mirla::ReadEngineTextLines(output.Path(), again) || again != lines)
        std::abort();
    return 0;
}
