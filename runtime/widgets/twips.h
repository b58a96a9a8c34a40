#pragma once

// Forms and controls are laid out in twips, as they were designed: 1440 to the inch, 15 to a
// pixel at 96 dots per inch. Qt's device-independent pixels then take care of HiDPI screens.

#include <QRect>
#include <QSize>

namespace rt {

inline constexpr int twipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

struct TwipSize final {
    int width = 0;
    int height = 0;

    constexpr QSize toPixels() const { return {pixels(width), pixels(height)}; }
};

struct TwipRect final {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr QRect toPixels() const { return {pixels(left), pixels(top), pixels(width), pixels(height)}; }
};

} // namespace rt
