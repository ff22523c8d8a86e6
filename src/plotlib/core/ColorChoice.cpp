#include "plotlib/core/ColorChoice.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

namespace mirla {

const std::array<TColor, 16> DefaultColors = {
    clRed,    clBlue, clGreen, clTeal,    clMaroon, clNavy, clPurple, clOlive,
    clSilver, clGray, clBlack, clFuchsia, clLime,   clAqua, clYellow, RgbColor(206, 193, 168)};

namespace {

/// The amount `Darkened` and `Lightened` shift each channel by for the second and third colour rounds.
constexpr int FreeColorShift = 32;
/// The gradient never has more bands than this.
constexpr int MaxGradientBands = 256;

TColor ShiftedChannels(TColor color, int amount) {
    const auto shift = [amount](int channel) { return std::clamp(channel + amount, 0, 255); };
    return RgbColor(shift(RedOf(color)), shift(GreenOf(color)), shift(BlueOf(color)));
}

/// The first table colour, shifted by `shift` per channel, that no layer uses and that is not the plot's.
std::optional<TColor> FirstUnused(const std::vector<TColor>& layerColors, TColor plotColor, int shift) {
    for (const TColor base : DefaultColors) {
        const TColor candidate = ShiftedChannels(base, shift);
        if (std::find(layerColors.begin(), layerColors.end(), candidate) == layerColors.end())
            return candidate != plotColor ? std::optional<TColor>(candidate) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

TColor Darkened(TColor color, int amount) {
    return ShiftedChannels(color, -amount);
}

TColor Lightened(TColor color, int amount) {
    return ShiftedChannels(color, amount);
}

TColor ChooseFreeColor(const std::vector<TColor>& layerColors, TColor plotColor) {
    // Each round offers only its first unused colour: when that is the plot's own colour the next round
    // is tried, so a layer never takes the colour of the plot area.
    for (const int shift : {0, -FreeColorShift, FreeColorShift}) {
        if (const auto color = FirstUnused(layerColors, plotColor, shift))
            return *color;
    }
    return -1;
}

int ChooseFreeMarker(const std::vector<int>& usedStyles) {
    for (int style = 1; style <= FreeMarkerLast; ++style) {
        if (std::find(usedStyles.begin(), usedStyles.end(), style) == usedStyles.end())
            return style;
    }
    return 1;
}

bool HasMarkerAt(int index, int count, int step) {
    step = std::max(step, 1);
    return 3 * step >= count || index % step == 0 || index == count - 1;
}

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    // Round half away from zero: the remainder carries the sign of the product.
    if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -static_cast<std::int64_t>(c) : c))
        quotient += (product < 0) == (c < 0) ? 1 : -1;
    if (quotient < std::numeric_limits<int>::min() || quotient > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(quotient);
}

std::vector<TGradientBand> GradientBands(int size, TColor start, TColor end) {
    const int bandCount = std::min(size, MaxGradientBands);
    std::vector<TGradientBand> bands;
    if (bandCount < 2)
        return bands;
    const auto channel = [&](int i, int startPart, int endPart) {
        return endPart + MulDiv(i, startPart - endPart, bandCount - 1);
    };
    for (int i = bandCount - 1; i >= 1; --i) {
        const TColor color =
            RgbColor(channel(i, RedOf(start), RedOf(end)), channel(i, GreenOf(start), GreenOf(end)),
                     channel(i, BlueOf(start), BlueOf(end)));
        bands.push_back({size - MulDiv(i + 1, size, bandCount), size - MulDiv(i, size, bandCount), color});
    }
    return bands;
}

} // namespace mirla
