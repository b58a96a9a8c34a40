#include "module1.h"

#include "program.h"
#include "randomgenerator.h"
#include "textfileinput.h"

#include <QDir>
#include <cmath>

Module1::Module1(rt::Clock clock, QString folder)
    : clock_(std::move(clock))
    , path_(QDir(folder).filePath(QStringLiteral("tips.txt")))
{
}

Module1::Module1()
    : Module1(rt::secondsSinceMidnight, rt::programDirectory())
{
}

QString Module1::RandomAnimal() const
{
    return ReadRandomLine(0, 48);
}

QString Module1::ReadRandomLine(qint16 lower, qint16 upper) const
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
