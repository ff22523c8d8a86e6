// Feeds arbitrary bytes to the loader of user functions as a .FNC file. Any crash or sanitizer
// report is a failure, and so is a file that saves back with other lines than it was read with,
// however much of it the loader refused.
#include "FuzzFile.h"

#include "engine/EngineText.h"
#include "engine/EvalContext.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("functions.FNC");
    static mirla::fuzz::TInputFile output("functions-out.FNC");
    const std::string& path = input.Write(data, size);
    std::vector<std::string> read;
    // A file that is no text is not loaded: the loader refuses it whole.
    if (!mirla::ReadEngineTextLines(path, read))
        return 0;
    mirla::EvalContext ctx;
    std::string message;
    ctx.UserFunctions.LoadFunctions(path, message);
    std::vector<std::string> saved;
    if (!ctx.UserFunctions.Save(output.Path(), message) ||
        !mirla::ReadEngineTextLines(output.Path(), saved) || saved != read)
        std::abort();
    return 0;
}
