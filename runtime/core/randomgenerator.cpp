// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "randomgenerator.h"

#include <cstring>

namespace rt {

void RandomGenerator::seed(float value)
{
    // The float's bits as they are; what std::bit_cast does, which not every C++20 library has.
    static_assert(sizeof(std::uint32_t) == sizeof value);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    state_ = bits;
}

// SplitMix64: one step of a Weyl sequence, then a finaliser in which every input bit flips
// about half of the output bits.
float RandomGenerator::next()
{
    state_ += 0x9e3779b97f4a7c15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    // The top 24 bits fill a float's mantissa exactly: every value is a multiple of 2^-24 below 1.
    return static_cast<float>(z >> 40) * 0x1p-24f;
}

} // namespace rt
