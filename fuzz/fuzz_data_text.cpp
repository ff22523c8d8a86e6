// Fuzzing of data text: splitting lines into fields with any delimiter set, reading the fields as
// numbers into points, and the header reader of layer files. The first byte chooses the standard
// delimiters and the next ones the user's; every point read must be finite and read back exactly
// from the text written for it.
#include "plotlib/core/DataText.h"
#include "plotlib/core/LayerText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace mirla;

void CheckPoints(const TImportGrid& grid) {
    const TGridPoints points = GridToPoints(grid);
    if (points.X.size() != points.Y.size() || points.X.size() > grid.Rows())
        std::abort();
    for (std::size_t i = 0; i < points.X.size(); ++i)
        for (const double value : {points.X[i], points.Y[i]})
            if (!std::isfinite(value) || ReadDataNumber(ExactNumberText(value)) != value)
                std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3)
        return 0;
    const unsigned choice = data[0];
    const std::size_t userCount = data[1] % 8;
    if (size < 2 + userCount)
        return 0;
    const std::string_view user(reinterpret_cast<const char*>(data) + 2, userCount);
    const std::string_view text(reinterpret_cast<const char*>(data) + 2 + userCount, size - 2 - userCount);
    const auto set = TDelimiterSet::FromChoices(choice & 1, choice & 2, choice & 4, choice & 8, user);
    if (!set)
        return 0;

    const std::vector<std::string_view> lines = TextLines(text);
    for (std::string_view line : lines) {
        // Every field taken shortens the line, so splitting ends.
        while (!line.empty()) {
            const std::size_t before = line.size();
            TakeField(line, *set);
            if (line.size() >= before)
                std::abort();
        }
    }
    TImportGrid grid;
    PasteLines(lines, *set, grid);
    CheckPoints(grid);
    ColumnsOfLines(lines, static_cast<int>(choice >> 4) + 1, 2, *set, grid);
    CheckPoints(grid);
    if (!lines.empty())
        FieldNames(lines.front());

    TLayerTextReader reader(text);
    try {
        while (!reader.AtEnd())
            CheckLayerClass(reader, ReadLayerHeader(reader).ClassName);
    } catch (const TLayerTextError&) {
    }
    return 0;
}
