// Feeds arbitrary bytes to the loader of user variables as a .USR file. Any crash or sanitizer
// report is a failure, and so is a file that saves back without every line it was read with,
// however much of it the loader refused. A name defined twice keeps both lines, next to each
// other, so only the order of lines may change.
#include "FuzzFile.h"

#include "userdefs/UserVariables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static mirla::fuzz::TInputFile input("variables.USR");
    static mirla::fuzz::TInputFile output("variables-out.USR");
    const auto loadAndSave = [](mirla::EvalContext& ctx, const std::string& from, const std::string& to) {
        std::string message;
        mirla::LoadUserVariables(ctx, from, message);
        return ctx.UserVariables.Save(to, message);
    };
    mirla::fuzz::CheckEveryLineIsSaved(data, size, input, output, loadAndSave, true);
    return 0;
}
