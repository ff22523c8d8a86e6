// Feeds arbitrary bytes to the loader of user functions as a .FNC file. Any crash or sanitizer
// report is a failure, and so is a file that saves back with other lines than it was read with,
// however much of it the loader refused.
#include "FuzzFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("functions.FNC");
    static mirla::fuzz::TInputFile output("functions-out.FNC");
    const auto loadAndSave = [](mirla::EvalContext& ctx, const std::string& from, const std::string& to) {
        std::string message;
        ctx.UserFunctions.LoadFunctions(from, message);
        return ctx.UserFunctions.Save(to, message);
    };
    mirla::fuzz::CheckEveryLineIsSaved(data, size, input, output, loadAndSave, false);
    return 0;
}
