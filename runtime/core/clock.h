// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The clock the animal draw is seeded from. Passed around as a function so that tests can
// hold time still or step it.

#include <functional>

namespace rt {

using Clock = std::function<float()>;

// Seconds since local midnight, with the fraction of the current second.
float secondsSinceMidnight();

} // namespace rt
