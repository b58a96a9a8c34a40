// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The animals: a random line among the first 49 lines of "tips.txt" in a folder, read afresh
// from the start of the file on every call. Knows files and randomness, nothing of windows.

#include "clock.h"
#include "system.h"

#include <cstdint>
#include <string>

class AnimalFile final {
public:
    // The clock seeds every draw; the folder is where "tips.txt" lies.
    AnimalFile(rt::Clock clock, const rt::Path& folder);
    // The running program's clock and directory.
    AnimalFile();

    std::string randomAnimal() const;
    // Line k + 1 of the file for a k drawn from lower to upper; the file's last line when it is
    // shorter, the empty text when it is empty or cannot be read. UTF-8.
    std::string randomLine(std::int16_t lower, std::int16_t upper) const;

private:
    rt::Clock clock_;
    rt::Path path_;
};
