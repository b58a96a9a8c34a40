// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "clock.h"

#include <chrono>
#include <ctime>

namespace rt {

float secondsSinceMidnight()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    // localtime's buffer is shared; the clock is read on the game's one thread, the event loop's.
    const std::tm* local = std::localtime(&seconds);
    if (!local)
        return 0.0f;
    const auto milliseconds = duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const long sinceMidnight = ((local->tm_hour * 60L + local->tm_min) * 60L + local->tm_sec) * 1000L + milliseconds;
    return static_cast<float>(sinceMidnight) / 1000.0f;
}

} // namespace rt
