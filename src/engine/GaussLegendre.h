#pragma once

#include "engine/Extended.h"

#include <array>

namespace mirla {

/// The 10-point Gauss-Legendre rule on [-1, 1] as five symmetric pairs of nodes and weights.
constexpr std::array<Extended, 5> GaussNodes = {0.14887433898163121088L, 0.43339539412924719077L,
                                                0.67940956829902440626L, 0.8650633666889845107L,
                                                0.97390652851717172007L};
constexpr std::array<Extended, 5> GaussWeights = {0.29552422471475287016L, 0.26926671930999635508L,
                                                  0.219086362515982044L, 0.14945134915058059315L,
                                                  0.06667134430868813759L};

} // namespace mirla
