// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "geometry.h"

#include <QTest>

Q_DECLARE_METATYPE(rt::Rect)
Q_DECLARE_METATYPE(rt::Point)

class tst_Geometry : public QObject {
    Q_OBJECT

private slots:
    void twipsToPixels_data();
    void twipsToPixels();
    void growth_data();
    void growth();
    void placeBeside_data();
    void placeBeside();
};

void tst_Geometry::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("expected");
    QTest::newRow("main window width") << 6735 << 449;
    QTest::newRow("client height") << 3195 << 213;
    QTest::newRow("list width") << 4095 << 273;
    QTest::newRow("credits label width") << 4575 << 305;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("rounds half up") << 8 << 1;
    QTest::newRow("rounds down") << 7 << 0;
}

// guards against a layout drawn at the wrong scale
void tst_Geometry::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(int, expected);
    QCOMPARE(rt::pixels(twips), expected);
}

void tst_Geometry::growth_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::newRow("the design font") << 7.0 << 16.0 << 1.0 << 1.0;
    QTest::newRow("a smaller font keeps the design") << 5.5 << 12.0 << 1.0 << 1.0;
    QTest::newRow("wider and taller") << 10.5 << 24.0 << 1.5 << 1.5;
    QTest::newRow("each direction on its own") << 7.0 << 20.0 << 1.0 << 1.25;
}

// guards against texts cut off at a large font, or windows shrunk below their design
void tst_Geometry::growth()
{
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(double, x);
    QFETCH(double, y);
    QCOMPARE(rt::growth({width, height}, {7.0, 16.0}), (rt::Scale{x, y}));
}

void tst_Geometry::placeBeside_data()
{
    // The about window (312 x 213) beside the main window's frame (453 x 240), gap 8.
    QTest::addColumn<rt::Rect>("owner");
    QTest::addColumn<rt::Rect>("workArea");
    QTest::addColumn<rt::Point>("expected");
    const rt::Rect screen{0, 0, 1280, 960};
    QTest::newRow("room on the right") << rt::Rect{100, 100, 453, 240} << screen << rt::Point{561, 100};
    QTest::newRow("at the right edge: left") << rt::Rect{900, 100, 453, 240} << screen << rt::Point{580, 100};
    QTest::newRow("neither side: below") << rt::Rect{0, 100, 1000, 240} << screen << rt::Point{0, 348};
    QTest::newRow("neither side nor below: above") << rt::Rect{0, 700, 1000, 240} << screen << rt::Point{0, 479};
    QTest::newRow("near the bottom: slid up along the side") << rt::Rect{100, 850, 453, 100} << screen << rt::Point{561, 747};
    QTest::newRow("a work area that does not start at 0") << rt::Rect{1300, 40, 453, 240} << rt::Rect{1280, 30, 1024, 738}
                                                          << rt::Point{1761, 40};
    // No side has room: the place that hides none of the owner's two controls, below them.
    QTest::newRow("no room anywhere") << rt::Rect{0, 0, 600, 500} << rt::Rect{0, 0, 700, 600} << rt::Point{0, 387};
}

// guards against an about window that covers the game it belongs to, or leaves the screen
void tst_Geometry::placeBeside()
{
    QFETCH(rt::Rect, owner);
    QFETCH(rt::Rect, workArea);
    QFETCH(rt::Point, expected);
    const std::vector<rt::Rect> controls{{owner.left + 16, owner.top + 20, 273, 171}, {owner.left + 304, owner.top + 20, 121, 81}};
    const rt::Point placed = rt::placeBeside(owner, {312, 213}, workArea, controls);
    QCOMPARE(placed.x, expected.x);
    QCOMPARE(placed.y, expected.y);
}

QTEST_GUILESS_MAIN(tst_Geometry)
#include "tst_geometry.moc"
