// SPDX-FileCopyrightText: 2026 The Bargeling developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The geometry every platform shares. Forms and controls are laid out in twips, as they were
// designed: 1440 to the inch, 15 to a pixel at 96 dots per inch. A form grows with its font, in
// proportion, so that its texts fit; an owned form stands beside its owner. Pure functions on
// plain numbers, in the platform's pixels.

#include <vector>

namespace rt {

inline constexpr int twipsPerPixel = 15;

// Rounds to the nearest pixel, a half up; layouts hold no negative twips.
constexpr int pixels(int twips, double scale = 1.0)
{
    return static_cast<int>(twips * scale / twipsPerPixel + 0.5);
}

struct Point final {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(Point, Point) = default;
};

struct Size final {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(Size, Size) = default;
};

struct Rect final {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int right() const { return left + width; } // one past the last column
    constexpr int bottom() const { return top + height; } // one past the last row
    constexpr bool contains(const Rect& other) const
    {
        return other.left >= left && other.top >= top && other.right() <= right() && other.bottom() <= bottom();
    }
    constexpr bool intersects(const Rect& other) const
    {
        return width > 0 && height > 0 && other.width > 0 && other.height > 0 && left < other.right()
            && other.left < right() && top < other.bottom() && other.top < bottom();
    }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// How much larger than designed a form is drawn, across and down.
struct Scale final {
    double x = 1.0;
    double y = 1.0;
    friend constexpr bool operator==(Scale, Scale) = default;
};

struct TwipSize final {
    int width = 0;
    int height = 0;

    constexpr Size toPixels(Scale scale = {}) const { return {pixels(width, scale.x), pixels(height, scale.y)}; }
};

struct TwipRect final {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr Rect toPixels(Scale scale = {}) const
    {
        return {pixels(left, scale.x), pixels(top, scale.y), pixels(width, scale.x), pixels(height, scale.y)};
    }
};

// A font by its average character width and its line height, in pixels.
struct FontMetrics final {
    double averageCharWidth = 0;
    double height = 0;
};

// The font a form's layout was made for.
using DesignFont = FontMetrics;

// With a larger font than designed, a form and its controls grow by the ratio of the two fonts,
// width and height each on their own; with a smaller one they keep their designed size.
Scale growth(FontMetrics actual, DesignFont designed);

// Where an owned window of the given size stands: beside the owner's frame, on the first side
// with room in the work area (right, left, below, above), slid along that side into the work
// area. Where none has room, the place among those four that hides the fewest of the owner's
// controls (given in the same coordinates).
Point placeBeside(const Rect& ownerFrame, Size size, const Rect& workArea, const std::vector<Rect>& ownerControls);

} // namespace rt
