// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "clock.h"
#include "randomgenerator.h"

#include <QTest>
#include <array>
#include <cmath>

class tst_RandomGenerator : public QObject {
    Q_OBJECT

private slots:
    void clockIsSecondsSinceMidnight();
    void drawsLieInUnitInterval_data();
    void drawsLieInUnitInterval();
    void reseedingRepeatsTheDraw();
    void closeSeedsGiveIndependentUniformDraws_data();
    void closeSeedsGiveIndependentUniformDraws();
};

// guards against a clock in the wrong unit or without its fraction
void tst_RandomGenerator::clockIsSecondsSinceMidnight()
{
    const QTime before = QTime::currentTime();
    const float seconds = rt::secondsSinceMidnight();
    const QTime after = QTime::currentTime();
    QVERIFY(seconds >= 0.0f && seconds < 86400.0f);
    if (after < before)
        QSKIP("midnight passed during the test");
    QVERIFY(seconds >= before.msecsSinceStartOfDay() / 1000.0f - 0.01f);
    QVERIFY(seconds <= after.msecsSinceStartOfDay() / 1000.0f + 0.01f);
    float previous = rt::secondsSinceMidnight();
    QTest::qWait(30);
    QVERIFY(rt::secondsSinceMidnight() - previous >= 0.02f || rt::secondsSinceMidnight() < previous);
}

void tst_RandomGenerator::drawsLieInUnitInterval_data()
{
    QTest::addColumn<float>("seed");
    QTest::newRow("midnight") << 0.0f;
    QTest::newRow("just before midnight") << 86399.999f;
    QTest::newRow("noon") << 43200.0f;
    QTest::newRow("negative") << -1.5f;
    QTest::newRow("huge") << 3.0e38f;
}

// guards against a draw of 1 or more, which would pick a line past the 49th
void tst_RandomGenerator::drawsLieInUnitInterval()
{
    QFETCH(float, seed);
    rt::RandomGenerator random;
    random.seed(seed);
    for (int i = 0; i < 10000; ++i) {
        const float r = random.next();
        QVERIFY2(r >= 0.0f && r < 1.0f, qPrintable(QString::number(r, 'g', 10)));
        QVERIFY(std::floor(49.0 * double(r)) <= 48.0);
    }
}

// guards against a generator that ignores its seed
void tst_RandomGenerator::reseedingRepeatsTheDraw()
{
    rt::RandomGenerator random;
    random.seed(1234.5f);
    const float first = random.next();
    random.next();
    random.seed(1234.5f);
    QCOMPARE(random.next(), first);
    random.seed(1234.5078125f);
    QVERIFY(random.next() != first);
}

void tst_RandomGenerator::closeSeedsGiveIndependentUniformDraws_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<double>("step");
    QTest::newRow("clicks 10 ms apart in the morning") << 30000.0f << 0.010;
    QTest::newRow("clicks 10 ms apart late at night") << 80000.0f << 0.010;
    QTest::newRow("a click a second") << 0.0f << 1.0;
    QTest::newRow("clock readings 1 ms apart after midnight") << 0.0f << 0.001;
    QTest::newRow("neighbouring floats") << 50000.0f << 0.0;
}

// guards against runs of neighbouring animals because the clock moved only a little
void tst_RandomGenerator::closeSeedsGiveIndependentUniformDraws()
{
    QFETCH(float, start);
    QFETCH(double, step);
    constexpr int draws = 49000;
    std::array<int, 49> histogram{};
    rt::RandomGenerator random;
    double sumX = 0, sumY = 0, sumXY = 0, sumXX = 0, sumYY = 0;
    int repeats = 0;
    float seed = start;
    int previousK = -1;
    float previousR = 0;
    for (int i = 0; i < draws; ++i) {
        seed = step > 0 ? float(double(start) + i * step) : std::nextafter(seed, 1e9f);
        random.seed(seed);
        const float r = random.next();
        const int k = int(std::floor(49.0 * double(r)));
        ++histogram[k];
        if (i > 0) {
            sumX += previousR;
            sumY += r;
            sumXY += double(previousR) * r;
            sumXX += double(previousR) * previousR;
            sumYY += double(r) * r;
            repeats += k == previousK;
        }
        previousK = k;
        previousR = r;
    }
    // Chi-square with 48 degrees of freedom: 84 is exceeded by chance once in a thousand.
    const double expected = draws / 49.0;
    double chiSquare = 0;
    for (int count : histogram)
        chiSquare += (count - expected) * (count - expected) / expected;
    QVERIFY2(chiSquare < 84.0, qPrintable(QString("chi-square %1").arg(chiSquare)));

    const double n = draws - 1;
    const double correlation = (n * sumXY - sumX * sumY)
        / std::sqrt((n * sumXX - sumX * sumX) * (n * sumYY - sumY * sumY));
    QVERIFY2(std::abs(correlation) < 0.02, qPrintable(QString("correlation %1").arg(correlation)));
    // Two neighbouring clicks pick the same line about once in 49.
    const double repeatRate = repeats / n;
    QVERIFY2(repeatRate > 0.016 && repeatRate < 0.025, qPrintable(QString("repeat rate %1").arg(repeatRate)));
}

QTEST_GUILESS_MAIN(tst_RandomGenerator)
#include "tst_randomgenerator.moc"
