// Feeds arbitrary bytes to the loader of user variables as a .USR file. Any crash or sanitizer
// report is a failure, and so is a file that saves back without every line it was read with,
// however much of it the loader refused. A name defined twice keeps both lines, next to each
// other, so only the order of lines may change.
#include "FuzzFile.h"

#include "engine/EngineText.h"
#include "engine/EvalContext.h"
#include "userdefs/UserVariables.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("variables.USR");
    static mirla::fuzz::TInputFile output("variables-out.USR");
    const std::string& path = input.Write(data, size);
    std::vector<std::string> read;
    // A file that is no text is not loaded: the loader refuses it whole.
    if (!mirla::ReadEngineTextLines(path, read))
        return 0;
    mirla::EvalContext ctx;
    std::string message;
    mirla::LoadUserVariables(ctx, path, message);
    std::vector<std::string> saved;
    if (!mirla::SaveLines(output.Path(), ctx.UserVariables.FileLines(), message) ||
        !mirla::ReadEngineTextLines(output.Path(), saved))
        std::abort();
    std::ranges::sort(read);
    std::ranges::sort(saved);
    if (saved != read)
        std::abort();
    return 0;
}
