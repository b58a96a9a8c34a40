// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// A small uniform generator on [0, 1) that is reseeded before every draw. Seeds that lie close
// together, such as two clock readings a few milliseconds apart, give independent draws, since
// every seed goes through a full avalanche mix before it is used.

#include <cstdint>

namespace rt {

class RandomGenerator final {
public:
    void seed(float value);
    float next();

private:
    std::uint64_t state_ = 0;
};

} // namespace rt
