// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "animalfile.h"

#include "programdirectory.h"
#include "randomgenerator.h"
#include "textfileinput.h"

#include <QDir>
#include <cmath>

AnimalFile::AnimalFile(rt::Clock clock, QString folder)
    : clock_(std::move(clock))
    , path_(QDir(folder).filePath(QStringLiteral("tips.txt")))
{
}

AnimalFile::AnimalFile()
    : AnimalFile(rt::secondsSinceMidnight, rt::programDirectory())
{
}

QString AnimalFile::randomAnimal() const
{
    return randomLine(0, 48);
}

QString AnimalFile::randomLine(qint16 lower, qint16 upper) const
{
    rt::RandomGenerator random;
    random.seed(clock_());
    const float r = random.next();
    const auto k = static_cast<qint64>(std::floor((double(upper) - double(lower) + 1.0) * double(r) + double(lower)));

    QString line;
    rt::TextFileInput file(path_);
    for (qint64 i = 0; i <= k; ++i) {
        auto next = file.readLine();
        if (!next)
            break; // past the end every read fails alike: the last line read stands
        line = std::move(*next);
    }
    return line;
}
