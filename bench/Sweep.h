#pragma once

#include "engine/Extended.h"

#include <array>

namespace mirla::bench {

constexpr int SweepPoints = 1024;

/// Arguments spread evenly over 0.001 to 10, the range the evaluation benchmarks sweep.
inline const std::array<Extended, SweepPoints>& Sweep() {
    static const auto points = [] {
        std::array<Extended, SweepPoints> p{};
        for (int i = 0; i < SweepPoints; ++i)
            p[static_cast<std::size_t>(i)] = 0.001L + (10 - 0.001L) * i / (SweepPoints - 1);
        return p;
    }();
    return points;
}

/// The argument of iteration i, cycling through the sweep.
inline Extended SweepPoint(std::size_t i) {
    return Sweep()[i % SweepPoints];
}

} // namespace mirla::bench
