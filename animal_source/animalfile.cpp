// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "animalfile.h"

#include "randomgenerator.h"
#include "textfileinput.h"

#include <cmath>

AnimalFile::AnimalFile(rt::Clock clock, const rt::Path& folder)
    : clock_(std::move(clock))
    , path_(rt::fileIn(folder, "tips.txt"))
{
}

AnimalFile::AnimalFile()
    : AnimalFile(rt::secondsSinceMidnight, rt::programDirectory())
{
}

std::string AnimalFile::randomAnimal() const
{
    return randomLine(0, 48);
}

std::string AnimalFile::randomLine(std::int16_t lower, std::int16_t upper) const
{
    rt::RandomGenerator random;
    random.seed(clock_());
    const float r = random.next();
    const auto k = static_cast<std::int64_t>(std::floor((double(upper) - double(lower) + 1.0) * double(r) + double(lower)));

    std::string line;
    rt::TextFileInput file(path_);
    for (std::int64_t i = 0; i <= k; ++i) {
        auto next = file.readLine();
        if (!next)
            break; // past the end every read fails alike: the last line read stands
        line = std::move(*next);
    }
    return line;
}
